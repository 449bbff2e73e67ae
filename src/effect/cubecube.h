#ifndef TESSARY_EFFECT_CUBECUBE_H
#define TESSARY_EFFECT_CUBECUBE_H

#include <vector>

#include "effect/placedcubes.h"
#include "omni/vector3.h"

namespace effect {

// The edges of a big cube built of 56 small unit cubes, spinning at constant angular speeds.
// On the first frame of every even beat (counted from the node's start) the frame bursts out to
// nearly twice its size and contracts linearly back to rest, 0.01 of the burst size per frame.
// start_pos is the big cube's centre; rotation its angular speed, degrees per second about X, Y
// and Z. Configure with the setters, call Setup once, then put it on the timeline.
class CubeCube : public PlacedCubes {
 public:
  float burst_factor = 1.0f;  // scale of the burst in progress, from 1 down toward 0.5
  std::vector<omni::Vector3<float>> rest_positions;
  std::vector<omni::Vector3<float>> burst_positions;  // the rest positions doubled
  std::vector<omni::Vector3<float>> positions;        // drawn this frame
  float spacing = 3.0f;                               // between neighbouring small cubes at rest
  unsigned int cube_count = 0;
  bool bursting = false;

  // Needs a current renderer (render/layer.h).
  CubeCube() = default;
  const char* Name() override { return "CubeCube"; }

  // Lays out the twelve edges of a 6 x 6 x 6 lattice `spacing` apart (56 points): the top
  // face's four edges, the bottom face's, then the four vertical edges between them. The
  // effect starts at rest. Call once; appends, clears nothing.
  void Setup();
  // Starts a burst on the first frame of an even beat when none is running, and advances a
  // running one by one step per call (per frame, not per second).
  void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) override;
  // Draws the frame turned by `rotation` x `time`; the frame loop saves the matrix around it.
  int Draw() override;
};

}  // namespace effect

#endif
