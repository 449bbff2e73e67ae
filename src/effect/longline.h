#ifndef TESSARY_EFFECT_LONGLINE_H
#define TESSARY_EFFECT_LONGLINE_H

#include <vector>

#include "effect/placedcubes.h"
#include "omni/vector3.h"

namespace effect {

// A straight row of cubes along its local X axis, placed and turned freely, along which a pulse
// runs: every `step_interval` seconds the next cube jumps to `large_size` and a brighter colour,
// then shrinks by 0.01 on every frame, so a bright bead travels the row and wraps at its end.
// start_pos is the centre of cube 0; rotation is in degrees about X, then Y, then Z. Configure
// with the setters, call Setup once, then put it on the timeline.
class LongLine : public PlacedCubes {
 public:
  float length = 0.0f;         // along the local X axis, in scene units
  float step_interval = 0.1f;  // seconds between two pulse steps
  float last_step_time = 0.0f;
  int current_cube = 0;                         // the cube the pulse last landed on
  std::vector<omni::Vector3<float>> positions;  // cube centres, row-local
  std::vector<float> sizes;                     // current scale of each cube
  float size = 1.0f;                            // rest scale
  float large_size = 2.0f;                      // scale a cube takes when the pulse lands on it
  bool direction = true;  // true: the pulse moves toward higher indices (forward)
  float gap = 3.0f;       // space between neighbouring centres on top of `size`
  unsigned int cube_count = 0;

  // Needs a current renderer (render/layer.h).
  LongLine() = default;
  const char* Name() override { return "LongLine"; }

  void SetLength(const float& l) { length = l; }
  void SetSize(const float& s) { size = s; }
  void SetLargeSize(const float& s) { large_size = s; }
  void SetDirection(bool forward) { direction = forward; }

  // Lays out trunc(length / (size + gap)) cubes from the origin along X, all at rest scale.
  // Call once, after SetLength and SetSize. Appends; clears nothing.
  void Setup();
  // Makes at most one pulse step (when `step_interval` has passed since the last one), then
  // shrinks every enlarged cube by 0.01: the decay is per call, i.e. per frame.
  void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) override;
  // Draws the row; the frame loop saves and restores the matrix around it.
  int Draw() override;
};

}  // namespace effect

#endif
