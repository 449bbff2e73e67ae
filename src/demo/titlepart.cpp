#include <SFML/Graphics/Image.hpp>

#include "demo/script.h"

using namespace script;

namespace {

// The camera waits three beats at the origin, takes up a front view (jumping out and sweeping
// there within 0.1 s), drifts for 21 beats, moves nearer within 0.1 s, drifts for 24 more and
// settles in one more second, which runs a little past the part's end.
const CameraKey title_flight[] = {
    {TURN, C::CUT, {0}, {0}, {0, 0, 0}},
    {PLACE, C::CUT, {0}, {0}, {0, 0, 0}},
    {PLACE, C::CUT, {3}, {0}, {-125, 362, 478}},
    {PLACE, C::LINEAR, {3}, {0, 0.1f}, {179, -87, 222}},
    {TURN, C::LINEAR, {3}, {0, 0.1f}, {0, -35, 0}},
    {PLACE, C::LINEAR, {3, 0.1f}, {21, -0.1f}, {150, -87, 210}},
    {TURN, C::LINEAR, {24}, {0, 0.1f}, {0, 0, 0}},
    {PLACE, C::LINEAR, {24}, {0, 0.1f}, {233, -45, 13}},
    {PLACE, C::LINEAR, {24, 0.1f}, {24, -0.1f}, {200, -40, 10}},
    {PLACE, C::LINEAR, {48}, {0, 1.0f}, {200, -40, 0}},
};

}  // namespace

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
  part.add_keys(title_flight);
  return part.list;
}
