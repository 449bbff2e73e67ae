#ifndef TESSARY_EFFECT_FLASH_H
#define TESSARY_EFFECT_FLASH_H

#include <vector>

#include "omni/effect.h"

namespace effect {

// Flashes the background on listed beats: the clear colour jumps to white and fades linearly
// to black over `duration` seconds. Draws nothing; the next frame's glClear shows it, so it is
// placed last on the timeline. Its Draw sets GL state that the next frame relies on.
class Flash : public omni::Effect {
 public:
  float time = 0.0f;
  int beat = -1;
  bool triggered = false;
  bool active = false;
  float flash_start = 0.0f;
  float duration = 2.0f;
  float brightness = 0.0f;
  float peak = 1.0f;
  unsigned int next_flash = 0;
  std::vector<int> beats;

  Flash() = default;
  // Beats must be added in ascending order; one out of order blocks every later one.
  void AddFlash(const int& beat);
  const char* Name() override { return "Flash"; }
  int Draw() override;
  bool DrawSetsStateOnly() const override { return true; }
  void UpdateLogic(const float& time, const int& beat, const bool& beat_changed) override;
};

}  // namespace effect

#endif
