#ifndef TESSARY_PLAYER_OVERLAY_H
#define TESSARY_PLAYER_OVERLAY_H

// The developer overlay: a few lines of text over the show's frame, drawn with stb_easy_font's
// quads in immediate GL, every GL state it touches saved before and restored after.
//
// How to use (after the show's frame, before the window shows it):
//   Overlay overlay;                      // allocates its vertex buffer once
//   overlay.Draw(text, viewport_width, viewport_height);
//   int below = overlay.Draw(text, viewport_width, viewport_height);
//   overlay.Draw(error, viewport_width, viewport_height, Overlay::ERROR, below);  // red

#include <string>
#include <vector>

// How many of the overlay's characters fit a viewport `width` pixels wide (the widest glyphs).
size_t overlay_columns(int width);
// `text` with each line longer than `columns` broken: between two fields (two spaces) where
// the line has them, else at a space, else inside the word; lines already short stay.
std::string wrap_overlay_text(const std::string& text, size_t columns);

class Overlay {
 public:
  // INFO: yellow on dark grey; ERROR: pale red on dark red.
  enum Kind { INFO, ERROR };

  Overlay();
  // Draws `text` (lines separated by '\n', long ones wrapped to the viewport) on a dark panel
  // at the left of the current viewport of `width` x `height` pixels, `top` pixels down.
  // Returns where the panel ends, in pixels from the top: the `top` of a panel below it.
  int Draw(const std::string& text, int width, int height, Kind kind = INFO, int top = 0);

 private:
  // Breaks the lines of `text` that would not fit `width` pixels into wrapped_.
  void Wrap(const std::string& text, int width);

  std::vector<char> vertices_;
  std::string wrapped_;  // the text with its long lines broken  // stb_easy_font's quads: x, y, z
                         // floats and 4 colour bytes
};

#endif
