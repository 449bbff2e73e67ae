#ifndef TESSARY_CAPTURE_MOMENTS_H
#define TESSARY_CAPTURE_MOMENTS_H

#include <string>
#include <vector>

#include "tunables.h"

// Frames of the show simulated at a steady 120 frames per second (show_fps) with no pause: frame
// n is shown at demo time n / 120 s, as the player shows it on a machine that holds its frame cap.

// Demo time of frame n, computed in float as the player's clock gives it.
inline float frame_time(int frame) {
  return static_cast<float>(frame) / 120.0f;
}

// Where each beat begins and where the show ends, in frames, as the show's own beat clock
// counts them (float rounding of the running beat time included).
class ShowFrames {
 public:
  // Runs the beat clock over every frame of the show (no GL needed).
  ShowFrames();

  // One past the last frame the player draws (the first frame of the beat after the last).
  int end_frame = 0;
  // first_frame_of_beat[b]: the frame on which the beat counter becomes b.
  std::vector<int> first_frame_of_beat;

  // Turns a moment into a frame: "12.5" is seconds (the first frame at or after it), "224b" is
  // the first frame of beat 224. Returns false with a one-line reason when the text is not a
  // moment or lies past the end of the show.
  bool Parse(const std::string& text, int& frame, std::string& error) const;
  // Time of the end of the show in seconds, for messages.
  float EndSeconds() const { return frame_time(end_frame - 1); }
};

#endif
