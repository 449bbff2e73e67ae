#ifndef TESSARY_PLAYER_SCREEN_H
#define TESSARY_PLAYER_SCREEN_H

// Where on the window the show is drawn: the show is made for a 4:3 frame, so a window or
// screen of another shape gets the largest centred 4:3 viewport, with black bars around it.
//
// How to use:
//   Screen screen;
//   screen.Resize(width, height);   // at start and on every resize of the window
//   screen.BeginFrame();            // each frame, before the show's frame

// A rectangle of the window in GL's convention: (x, y) is its bottom-left corner.
struct Viewport {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The largest 4:3 rectangle centred in a window of that size.
Viewport letterbox(int window_width, int window_height);

class Screen {
 public:
  // Sets the viewport for a window of this size; with bars, the show's own clear is kept
  // inside the viewport (scissor).
  void Resize(int window_width, int window_height);
  // With bars, clears them black; the show's clear colour is left as it was. Without bars it
  // makes no GL call.
  void BeginFrame() const;

  Viewport view;
  bool bars = false;
};

#endif
