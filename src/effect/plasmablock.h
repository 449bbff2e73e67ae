#ifndef TESSARY_EFFECT_PLASMABLOCK_H
#define TESSARY_EFFECT_PLASMABLOCK_H

#include "effect/texture.h"
#include "omni/effect.h"

namespace effect {

// One tumbling cube, four units on a side, centred at (0, 0, -3), with a 128 x 128 plasma on
// every face, rendered on the CPU and uploaded anew each frame. The texture shows with
// fixed-function rendering (the toon program ignores textures).
class PlasmaBlock : public omni::Effect {
 public:
  PlasmaTexture plasma;                 // the face image
  float time = 0.0f;                    // latest time given to UpdateLogic
  float color[3] = {0.0f, 0.0f, 1.0f};  // r, g, b given before the faces

  // Makes the 128 x 128 plasma (and its texture name): needs a current GL context.
  PlasmaBlock();
  ~PlasmaBlock() override = default;

  const char* Name() override { return "PlasmaBlock"; }
  // Moves to the cube's centre, tumbles, uploads the plasma with linear filtering and draws
  // the six textured faces. Leaves the matrix moved (the caller saves it) and the texture bound.
  int Draw() override;
  // Renders the plasma for `time`; the beat arguments are not used.
  void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) override;
};

}  // namespace effect

#endif
