#include "demo/script.h"

using namespace script;

// The opening: the title standing as a flat field of coloured cubes with its top-left corner at
// the origin, and below it two relief bands scrolling from right to left at different depths
// and speeds.
Enabler* init_titlepart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                        float start_time, int start_beat, int end_beat) {
  PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
  part.add(still_picture(load_picture("data/title_wide.png"), BI::DISPLAY_FLAT, V(0, 0, 0),
                         part.seconds({16})));
  part.add(scrolling_picture(load_picture("data/stripe_cyan.png"), BI::DISPLAY_RELIEF,
                             V(50, -30, -10), V(-50, -30, -10), -25.0f));
  part.add(scrolling_picture(load_picture("data/stripe_magenta.png"), BI::DISPLAY_RELIEF,
                             V(50, -30, -30), V(-50, -30, -30), -15.0f));
  return part.list;
}
