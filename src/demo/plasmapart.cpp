#include "demo/script.h"
#include "effect/humppa.h"
#include "tunables.h"

using namespace script;

// The pillar field (the camera looks down on it from above); the walk starts on the part's
// pillar beat, where the show also flashes.
Enabler* init_plasmapart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                         float start_time, int start_beat, int end_beat) {
  PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
  effect::Humppa* humppa = new effect::Humppa();
  humppa->EnablePillarsAt(plasma_pillar_beat);
  part.add(humppa);
  return part.list;
}
