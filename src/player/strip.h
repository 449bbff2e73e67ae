#ifndef TESSARY_PLAYER_STRIP_H
#define TESSARY_PLAYER_STRIP_H

// The timeline strip along the bottom of the overlay: the show's parts as coloured segments
// with their names, the bars, the flash beats, the camera keys (place and turn on two rows),
// the loop range and the frame on screen, as rectangles and labels in the viewport's pixels; and
// which frame lies under a point of it, for clicks and drags. No GL: the overlay draws it.
//
// How to use:
//   TimelineStrip strip;
//   strip.SetShow(steps, camera_file);             // at start and after the camera file changes
//   strip.Layout(view_width, view_height, text_width);  // when the viewport's size changes
//   overlay.DrawShapes(strip.Shapes(current, loop_first, loop_last, looping), strip.Labels(), ...);
//   if (strip.Contains(x, y)) transport.Seek(strip.StepAt(x), elapsed);

#include <vector>

#include "demo/camerafile.h"
#include "demo/moments.h"
#include "player/overlay.h"

class TimelineStrip {
 public:
  // The width in pixels the overlay gives a label's text.
  using TextWidth = float (*)(const char* text);

  // Takes the show's parts, bars and flash beats and the camera keys of `file`.
  void SetShow(const ShowSteps& steps, const CameraFile& file);
  // Lays the strip out along the bottom of a viewport of `width` x `height` pixels; a part's
  // name is shown where the part is wider than its text.
  void Layout(int width, int height, TextWidth text_width);

  // True when the point (pixels from the viewport's top-left corner) lies on the strip.
  bool Contains(int x, int y) const;
  // The frame under column `x`: the first step drawn in that column, kept within the show.
  int StepAt(int x) const;
  // The column the frame `step` is drawn in.
  int ColumnOf(int step) const;

  // Everything to draw this frame: the laid-out shapes, then the loop range (-1: a mark not
  // set; brighter while `looping`) and the frame on screen. The vector is kept between calls.
  const std::vector<OverlayRect>& Shapes(int current, int loop_first, int loop_last, bool looping);
  const std::vector<OverlayLabel>& Labels() const { return labels_; }

 private:
  // A row of the strip, as a share of its height from its top.
  struct Row {
    float top, height;
  };
  float RowTop(const Row& row) const { return top_ + row.top * height_; }
  float RowHeight(const Row& row) const { return row.height * height_; }
  // A tick one pixel wide (two where the strip is wide) at `step` in `row`.
  void Tick(int step, const Row& row, const float color[3]);

  struct Key {
    int step, end_step;  // where it starts and, for a move, ends
    bool turn;
  };
  std::vector<int> part_first_;  // and the end of the last part, last
  std::vector<int> bars_;        // the first step of every fourth beat
  std::vector<int> flashes_;
  std::vector<Key> keys_;
  int end_step_ = 1;

  int width_ = 0;
  float top_ = 0, height_ = 0;  // the strip's place in the viewport, pixels
  std::vector<OverlayRect> shapes_;
  size_t laid_out_ = 0;  // shapes_ up to here are the layout's; the rest is this frame's
  std::vector<OverlayLabel> labels_;
};

#endif
