#ifndef TESSARY_PLAYER_OVERLAY_H
#define TESSARY_PLAYER_OVERLAY_H

// The developer overlay: a few lines of text over the show's frame, drawn with stb_easy_font's
// quads in immediate GL, every GL state it touches saved before and restored after.
//
// How to use (after the show's frame, before the window shows it):
//   Overlay overlay;                      // allocates its vertex buffer once
//   overlay.Draw(text, viewport_width, viewport_height);

#include <string>
#include <vector>

class Overlay {
 public:
  Overlay();
  // Draws `text` (lines separated by '\n') in the top-left corner of the current viewport of
  // `width` x `height` pixels, on a dark panel.
  void Draw(const std::string& text, int width, int height);

 private:
  std::vector<char> vertices_;  // stb_easy_font's quads: x, y, z floats and 4 colour bytes
};

#endif
