#include <SFML/Graphics/Image.hpp>

#include "demo/demo.h"
#include "effect/blockimage.h"

namespace {

typedef effect::BlockImage BI;
typedef effect::Camera C;
typedef omni::Vector3<float> V;

// A block image with the part's common settings: larger blocks allowed, pixel colours, flat.
BI* new_sprite() {
  BI* sprite = new BI();
  sprite->SetMaxSize(2.0f);
  sprite->EnableColor(true);
  sprite->SetDisplayType(BI::DISPLAY_FLAT);
  return sprite;
}

// A sprite that scrolls along y = -250 from `show` to `hide` at 25 units a second, its blocks
// popping up four times as fast as the default.
BI* new_scroller(const sf::Image& image, float seconds_per_beat, float show, float hide,
                 bool upright) {
  BI* sprite = new_sprite();
  sprite->SetFactor(20.0f);
  sprite->LoadImage(image, seconds_per_beat);
  sprite->SetShowPosition(V(show, -250, 0));
  sprite->SetHidePosition(V(hide, -250, 0));
  if (upright) sprite->SetRotation(V(0, 0, -90));
  sprite->SetSpeed(-25.0f);
  sprite->SetType(BI::SCROLLER_SCROLL);
  return sprite;
}

// Camera keyframes in beats from the part's start, as the flight table lists them.
struct Key {
  bool rotation;
  C::transition_t transition;
  int start;     // beats after the part's start time
  int duration;  // beats
  float x, y, z;
};

const Key invader_keys[] = {
    {true, C::CUT, 0, 0, 0, 0, 0},
    {false, C::CUT, 0, 0, 130, -130, 200},
    {true, C::LINEAR, 0, 12, 0, 0, 2},
    {false, C::LINEAR, 0, 9, 130, -130, 180},
    {false, C::LINEAR, 9, 1, 211, -251, 39},
    {false, C::LINEAR, 12, 4, -207, 41, 56},
    {true, C::LINEAR, 12, 4, -224, -178, 0},
    {false, C::LINEAR, 16, 10, -217, 51, 66},
    {false, C::LINEAR, 26, 4, 130, -130, 180},
    {true, C::LINEAR, 26, 4, 0, 0, 0},
    {false, C::LINEAR, 30, 4, 130, -150, 190},
    {true, C::LINEAR, 30, 4, 0, 0, -2},
    {false, C::LINEAR, 34, 6, 82, -55, 101},
    {true, C::LINEAR, 34, 6, -51, 0, 0},
    {false, C::LINEAR, 40, 16, 82, 0, 101},
    {true, C::LINEAR, 40, 16, -52, 4, -4},
};

}  // namespace

// The invader tableau: four rows of invaders flipping between two frames every beat, a shield
// below them, a ship scrolling along the bottom and two bullets rising toward the rows, while
// the camera sweeps around it.
Enabler* init_invaderpart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                          float start_time, int start_beat, int end_beat) {
  sf::Image a, b;
  a.loadFromFile("data/invader_row1.png");
  b.loadFromFile("data/invader_row2.png");

  // Rows 18 units apart, alternately one unit left and right. Each ends with its second frame
  // active, which the first beat shows.
  float side = -1.0f;
  for (int n = 0; n < 8; n += 2) {
    BI* row = new_sprite();
    const V place(side, -9.0f * n, 0);
    row->LoadImage(a, seconds_per_beat);
    row->SetActiveImage(0);
    row->SetShowPosition(place);
    row->LoadImage(b, seconds_per_beat);
    row->SetActiveImage(1);
    row->SetShowPosition(place);
    row->SetType(BI::SCROLLER_STATIC);
    list = enabler_append(list, row, start_beat, end_beat, seconds_per_beat);
    side = -side;
  }

  a.loadFromFile("data/invader_block.png");
  BI* shield = new_sprite();
  shield->LoadImage(a, seconds_per_beat);
  shield->SetShowPosition(V(10, -200, 0));
  shield->SetType(BI::SCROLLER_STATIC);
  list = enabler_append(list, shield, start_beat, end_beat, seconds_per_beat);

  a.loadFromFile("data/invader_ship.png");
  list = enabler_append(list, new_scroller(a, seconds_per_beat, 300, -10, false), start_beat,
                        end_beat, seconds_per_beat);

  // Turned by -90 degrees, the bullets' leftward scroll carries them up toward the rows. The
  // second is built from the same picture.
  a.loadFromFile("data/invader_bullet.png");
  list = enabler_append(list, new_scroller(a, seconds_per_beat, 200, -10, true), start_beat + 10,
                        end_beat, seconds_per_beat);
  list = enabler_append(list, new_scroller(a, seconds_per_beat, 66, -210, true), start_beat + 23,
                        end_beat, seconds_per_beat);

  // Times are whole beats after the start, formed in double and stored as float.
  const double spb = seconds_per_beat;
  for (const Key& k : invader_keys) {
    const float start = static_cast<float>(k.start * spb + start_time);
    const float duration = static_cast<float>(k.duration * spb);
    if (k.rotation) {
      camera.AddRotation(k.transition, start, duration, V(k.x, k.y, k.z));
    } else {
      camera.AddPosition(k.transition, start, duration, V(k.x, k.y, k.z));
    }
  }
  return list;
}
