#ifndef TESSARY_EFFECT_PLACEDCUBES_H
#define TESSARY_EFFECT_PLACEDCUBES_H

#include "omni/effect.h"
#include "omni/vector3.h"

namespace effect {

// What the cube frame and the long rows share: the unit cube (-1 to +1) compiled into one
// shape at construction (display_list: a display list in the classic renderer), a base colour, and
// where the whole stands and how it is turned.
//
// How to use: derive an effect from it, set it up with SetStartPos, SetRotation and SetColor,
// and begin its Draw with Place, which moves the matrix to start_pos and turns it.
class PlacedCubes : public omni::Effect {
 public:
  omni::Vector3<float> start_pos;  // scene position of the whole
  omni::Vector3<float> rotation;   // degrees about X, Y and Z (or degrees per second: see Draw)
  float time = 0.0f;               // latest UpdateLogic time (seconds since the node started)
  unsigned int display_list = 0;   // the unit cube
  float color[3] = {1.0f, 1.0f, 1.0f};  // base colour r, g, b (white until SetColor)

  // Makes the unit cube shape; needs a current renderer (render/layer.h).
  PlacedCubes();
  // Releases the shape: destroy it while the renderer is current.
  ~PlacedCubes() override;
  PlacedCubes(const PlacedCubes&) = delete;
  PlacedCubes& operator=(const PlacedCubes&) = delete;

  void SetStartPos(const omni::Vector3<float>& pos) { start_pos = pos; }
  void SetRotation(const omni::Vector3<float>& rot) { rotation = rot; }
  void SetColor(const float& r, const float& g, const float& b) {
    color[0] = r;
    color[1] = g;
    color[2] = b;
  }

 protected:
  // Translates the current matrix to start_pos, then rotates it by `turn` degrees about X, then
  // Y, then Z; the frame loop saves and restores the matrix around Draw.
  void Place(const omni::Vector3<float>& turn);
};

}  // namespace effect

#endif
