#include "demo/demo.h"
#include "effect/humppa.h"

// The pillar field seen from 120 units straight above its centre; the walk starts on the part's
// tenth beat, where the show also flashes.
Enabler* init_plasmapart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                         float start_time, int start_beat, int end_beat) {
  effect::Humppa* humppa = new effect::Humppa();
  humppa->EnablePillarsAt(10);
  list = enabler_append(list, humppa, start_beat, end_beat, seconds_per_beat);
  camera.AddPosition(effect::Camera::CUT, start_time + 0.0f, 0, omni::Vector3<float>(0, 0, 120));
  camera.AddRotation(effect::Camera::CUT, start_time + 0.0f, 0, omni::Vector3<float>(0, 0, 0));
  return list;
}
