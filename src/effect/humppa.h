#ifndef TESSARY_EFFECT_HUMPPA_H
#define TESSARY_EFFECT_HUMPPA_H

#include "effect/seededrandom.h"
#include "effect/texture.h"
#include "omni/effect.h"
#include "omni/vector3.h"

namespace effect {

// A tumbling 64 x 64 field of pillars, each coloured by one texel of a 64 x 64 plasma. From the
// pillar beat on, a seeded random walk raises the pillar it lands on by 7, and every raised
// pillar sinks 0.1 a frame. Large: create it on the heap.
class Humppa : public omni::Effect {
 public:
  static constexpr int pillar_count = 64 * 64;

  float time = 0.0f;              // latest time given to UpdateLogic
  unsigned int display_list = 0;  // the unit pillar, a cube from -1 to 1
  // Pillar j = (i + 32) x 64 + (k + 32), for i and k from -32 to 31, stands at (3i, 3k, 0).
  omni::Vector3<float> positions[pillar_count];
  float heights[pillar_count] = {};  // z scale of each pillar
  float step_interval = 0.01f;       // least time between two walk steps
  float last_step_time = 0.0f;       // time of the latest walk step
  int walker = 1234;                 // pillar the walk is on
  int pillar_beat = -1;              // local beat on which the walk starts; -1: never
  bool pillars_enabled = false;      // the walk has started (never reset)
  PlasmaTexture plasma;              // per-pillar colours, never uploaded
  SeededRandom walk_random{715517};  // the walk's steps: glibc's rand() after srand(715517)

  // Compiles the pillar, lays out the grid and makes the plasma.
  // Needs a current renderer (render/layer.h).
  Humppa();
  // Releases the pillar shape (the plasma its texture name): destroy it while the renderer is
  // current.
  ~Humppa() override;
  Humppa(const Humppa&) = delete;
  Humppa& operator=(const Humppa&) = delete;

  const char* Name() override { return "Humppa"; }
  // Tumbles the field and draws every pillar in its plasma colour. Only draws.
  int Draw() override;
  // Renders the plasma for `time`, starts the walk on the frame that brings the pillar beat,
  // then takes at most one walk step and decays every raised pillar.
  void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) override;

  // The local beat on which the walk starts.
  void EnablePillarsAt(int beat);
  // Makes the unit pillar shape, display_list.
  void DrawHumppa();
};

}  // namespace effect

#endif
