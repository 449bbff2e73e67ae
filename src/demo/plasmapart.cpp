#include "demo/script.h"
#include "effect/humppa.h"
#include "tunables.h"

using namespace script;

// The pillar field seen from 120 units straight above its centre; the walk starts on the part's
// pillar beat, where the show also flashes.
Enabler* init_plasmapart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                         float start_time, int start_beat, int end_beat) {
  PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
  effect::Humppa* humppa = new effect::Humppa();
  humppa->EnablePillarsAt(plasma_pillar_beat);
  part.add(humppa);
  const CameraKey above[] = {
      {PLACE, C::CUT, {0}, {0}, {0, 0, 120}},
      {TURN, C::CUT, {0}, {0}, {0, 0, 0}},
  };
  part.add_keys(above);
  return part.list;
}
