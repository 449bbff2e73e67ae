#ifndef TESSARY_CAPTURE_SINGLEEFFECTS_H
#define TESSARY_CAPTURE_SINGLEEFFECTS_H

#include <string>
#include <vector>

#include "effect/camera.h"
#include "omni/effect.h"

// An effect that `tessary-capture --effect NAME` can show alone: the maker creates and configures
// it as a part builder would (setters, then Setup) and may give the camera keyframes to frame it.
// The capture puts it on an otherwise empty timeline over the whole show's beats.
struct SingleEffect {
  const char* name = "";
  const char* what = "";  // one line for --help
  omni::Effect* (*make)(effect::Camera& camera, float seconds_per_beat) = nullptr;
  // Draw through the toon program as the show does. False: fixed-function lighting and
  // texturing, for an effect whose texture would not show through the toon program.
  bool toon = true;
};

// Every effect that can be shown alone.
const std::vector<SingleEffect>& single_effects();
// The entry called `name`, or null.
const SingleEffect* find_single_effect(const std::string& name);
// Their names, comma separated, for messages.
std::string single_effect_names();

#endif
