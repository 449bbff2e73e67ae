#include "demo/script.h"

using namespace script;

// A gallery the camera flies through: an octopus in relief, then a large invader flipping
// between two frames every beat, joined later by an alien in relief far down the path.
Enabler* init_imagepart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                        float start_time, int start_beat, int end_beat) {
  PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
  part.add(still_picture(load_picture("data/gfx_octopus.png"), BI::DISPLAY_RELIEF, V(0, 0, 200)), 0,
           12);
  part.add(flipping_picture(load_picture("data/invader1.png"), load_picture("data/invader2.png"),
                            seconds_per_beat, V(65, -56, 0)),
           12);
  part.add(still_picture(load_picture("data/gfx_alien.png"), BI::DISPLAY_RELIEF, V(-20, 20, -300)),
           26, 42);
  return part.list;
}
