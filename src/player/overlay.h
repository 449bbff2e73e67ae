#ifndef TESSARY_PLAYER_OVERLAY_H
#define TESSARY_PLAYER_OVERLAY_H

// The developer overlay: a few lines of text over the show's frame, drawn with stb_easy_font's
// quads in immediate GL, every GL state it touches saved before and restored after.
//
// How to use (after the show's frame, before the window shows it):
//   Overlay overlay;                      // allocates its vertex buffer once
//   overlay.Draw(text, viewport_width, viewport_height);
//   overlay.Draw(error, viewport_width, viewport_height, Overlay::ERROR);  // at the bottom, red

#include <string>
#include <vector>

class Overlay {
 public:
  // INFO: yellow on dark grey, in the top-left corner; ERROR: pale red on dark red, in the
  // bottom-left corner, where it stays clear of the information.
  enum Kind { INFO, ERROR };

  Overlay();
  // Draws `text` (lines separated by '\n') in a corner of the current viewport of `width` x
  // `height` pixels, on a dark panel.
  void Draw(const std::string& text, int width, int height, Kind kind = INFO);

 private:
  std::vector<char> vertices_;  // stb_easy_font's quads: x, y, z floats and 4 colour bytes
};

#endif
