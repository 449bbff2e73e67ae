#include "singleeffects.h"

#include "demo/demo.h"
#include "effect/flash.h"
#include "effect/humppa.h"
#include "effect/plasmablock.h"
#include "tunables.h"

// The registry. To add an effect: include its header above and add one entry here, whose maker
// returns the configured effect (the camera starts at the origin looking down -z).
const std::vector<SingleEffect>& single_effects() {
  static const std::vector<SingleEffect> effects = {
      {"Flash", "the background flashes white every 8 beats and fades to black over 2 s",
       [](effect::Camera&, float) -> omni::Effect* {
         effect::Flash* flash = new effect::Flash();
         for (int beat = 0; beat < show_flash_end; beat += 8) flash->AddFlash(beat);
         return flash;
       }},
      {"Humppa",
       "the plasma part's pillar field from 120 units above, its walk starting on the part's "
       "pillar beat (as in the show, less the flash)",
       [](effect::Camera& camera, float) -> omni::Effect* {
         camera.AddPosition(effect::Camera::CUT, 0, 0, omni::Vector3<float>(0, 0, 120));
         effect::Humppa* humppa = new effect::Humppa();
         humppa->EnablePillarsAt(plasma_pillar_beat);
         return humppa;
       }},
      {"PlasmaBlock",
       "a cube with a blue plasma on its faces, tumbling slowly; fixed-function, so the texture "
       "shows",
       [](effect::Camera& camera, float) -> omni::Effect* {
         // Back 3 units: the block's corners then stay clear of the near plane as it turns.
         camera.AddPosition(effect::Camera::CUT, 0, 0, omni::Vector3<float>(0, 0, 3));
         return new effect::PlasmaBlock();
       },
       false},
  };
  return effects;
}

const SingleEffect* find_single_effect(const std::string& name) {
  for (const SingleEffect& effect : single_effects()) {
    if (name == effect.name) return &effect;
  }
  return nullptr;
}

std::string single_effect_names() {
  std::string names;
  for (const SingleEffect& effect : single_effects()) {
    if (!names.empty()) names += ", ";
    names += effect.name;
  }
  return names;
}
