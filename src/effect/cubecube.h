#ifndef TESSARY_EFFECT_CUBECUBE_H
#define TESSARY_EFFECT_CUBECUBE_H

#include <vector>

#include "omni/effect.h"
#include "omni/vector3.h"

namespace effect {

// The edges of a big cube built of 56 small unit cubes, spinning at constant angular speeds.
// On the first frame of every even beat (counted from the node's start) the frame bursts out to
// nearly twice its size and contracts linearly back to rest, 0.01 of the burst size per frame.
// Configure with the setters, call Setup once, then put it on the timeline.
class CubeCube : public omni::Effect {
 public:
  omni::Vector3<float> start_pos;  // scene position of the big cube's centre
  omni::Vector3<float> rotation;   // angular speed, degrees per second about X, Y and Z
  float time = 0.0f;               // latest UpdateLogic time (seconds since the node started)
  unsigned int display_list = 0;   // the unit cube
  float burst_factor = 1.0f;       // scale of the burst in progress, from 1 down toward 0.5
  float color[3] = {1.0f, 1.0f, 1.0f};
  std::vector<omni::Vector3<float>> rest_positions;
  std::vector<omni::Vector3<float>> burst_positions;  // the rest positions doubled
  std::vector<omni::Vector3<float>> positions;        // drawn this frame
  float spacing = 3.0f;                               // between neighbouring small cubes at rest
  unsigned int cube_count = 0;
  bool bursting = false;

  // Compiles the unit cube; needs a current GL context.
  CubeCube();
  ~CubeCube() override = default;
  const char* Name() override { return "CubeCube"; }

  void SetStartPos(const omni::Vector3<float>& pos) { start_pos = pos; }
  void SetRotation(const omni::Vector3<float>& rot) { rotation = rot; }
  void SetColor(const float& r, const float& g, const float& b);

  // Lays out the twelve edges of a 6 x 6 x 6 lattice `spacing` apart (56 points): the top
  // face's four edges, the bottom face's, then the four vertical edges between them. The
  // effect starts at rest. Call once; appends, clears nothing.
  void Setup();
  // Starts a burst on the first frame of an even beat when none is running, and advances a
  // running one by one step per call (per frame, not per second).
  void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) override;
  // Draws the frame turned by `rotation` x `time`; the frame loop saves the matrix around it.
  int Draw() override;
  // Compiles the unit cube (-1 to +1) into `display_list`; the constructor's job.
  void DrawCubeCube();
};

}  // namespace effect

#endif
