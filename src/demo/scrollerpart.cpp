#include "demo/script.h"
#include "effect/cubecube.h"

using namespace script;

// The scroller part: a spinning cube frame that bursts on every even beat beside a scrolling
// text in relief.
Enabler* init_scrollerpart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                           float start_time, int start_beat, int end_beat) {
  PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
  effect::CubeCube* frame = new effect::CubeCube();
  frame->SetStartPos(V(40, -40, 0));
  frame->SetRotation(V(50, 30, 90));
  frame->SetColor(0.3f, 0.8f, 0.7f);
  frame->Setup();
  part.add(frame);
  part.add(scrolling_picture(load_picture("data/scroll.png"), BI::DISPLAY_RELIEF, V(60, 30, 0),
                             V(-70, 30, 0), -105.0f));
  return part.list;
}
