#include "demo/script.h"

using namespace script;

namespace {

// A flat sprite scrolling along y = -250 from x = `show` to x = `hide` at 25 units a second, its
// blocks popping up four times as fast as the default; an upright one is turned by -90 degrees,
// so that its leftward scroll carries it up toward the rows.
BI* new_scroller(const platform::Picture& image, float seconds_per_beat, float show, float hide,
                 bool upright) {
  BI* sprite = scrolling_picture(image, BI::DISPLAY_FLAT, V(show, -250, 0), V(hide, -250, 0),
                                 -25.0f, seconds_per_beat, 20.0f);
  if (upright) sprite->SetRotation(V(0, 0, -90));
  return sprite;
}

}  // namespace

// The invader tableau: four rows of invaders flipping between two frames every beat, a shield
// below them, a ship scrolling along the bottom and two bullets rising toward the rows, while
// the camera sweeps around it.
Enabler* init_invaderpart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                          float start_time, int start_beat, int end_beat) {
  PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
  const float beat = seconds_per_beat;

  // Rows 18 units apart, alternately one unit left and right.
  const platform::Picture row1 = load_picture("data/invader_row1.png");
  const platform::Picture row2 = load_picture("data/invader_row2.png");
  for (int row = 0; row < 4; ++row) {
    part.add(flipping_picture(row1, row2, beat, V(row % 2 == 0 ? -1 : 1, -18.0f * row, 0)));
  }
  part.add(still_picture(load_picture("data/invader_block.png"), BI::DISPLAY_FLAT, V(10, -200, 0),
                         beat));
  part.add(new_scroller(load_picture("data/invader_ship.png"), beat, 300, -10, false));
  // Both bullets from the one picture.
  const platform::Picture bullet = load_picture("data/invader_bullet.png");
  part.add(new_scroller(bullet, beat, 200, -10, true), 10);
  part.add(new_scroller(bullet, beat, 66, -210, true), 23);
  return part.list;
}
