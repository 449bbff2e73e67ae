#include "effect/flash.h"

#include "render/layer.h"

namespace effect {

void Flash::AddFlash(const int& beat_) {
  beats.push_back(beat_);
}

void Flash::UpdateLogic(const float& time_, const int& beat_, const bool&) {
  time = time_;
  beat = beat_;
  if (next_flash < beats.size() && beats[next_flash] == beat) {
    triggered = true;
    next_flash += 1;
  }
  if (triggered) {
    triggered = false;
    active = true;
    flash_start = time;
  }
  if (active) {
    const float dt = time - flash_start;
    // No lower bound: GL clamps the clear colour, so a negative level is black.
    brightness = dt <= 0 ? peak : peak - (peak / duration) * dt;
  }
}

int Flash::Draw() {
  render::layer().ClearColor(brightness, brightness, brightness, 0);
  return 0;
}

}  // namespace effect
