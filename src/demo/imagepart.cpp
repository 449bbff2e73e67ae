#include <SFML/Graphics/Image.hpp>

#include "demo/demo.h"
#include "effect/blockimage.h"

namespace {

typedef effect::BlockImage BI;
typedef omni::Vector3<float> V;

// a + b, formed in double and stored as a float (keyframe times are single precision).
float sum(double a, double b) {
  return static_cast<float>(a + b);
}

// A static block image with the part's common settings, showing its one picture at `place`.
BI* new_picture(const sf::Image& image, BI::display_type_t display, const V& place) {
  BI* picture = new BI();
  picture->SetMaxSize(2.0f);
  picture->EnableColor(true);
  picture->SetDisplayType(display);
  picture->LoadImage(image, 0.5f);
  picture->SetShowPosition(place);
  picture->SetType(BI::SCROLLER_STATIC);
  return picture;
}

}  // namespace

// A gallery the camera flies through: an octopus in relief, then a large invader flipping
// between two frames every beat, joined later by an alien in relief far down the path. The
// camera glides forward for 40 beats and rushes on, rolling, in the last two.
Enabler* init_imagepart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                        float start_time, int start_beat, int end_beat) {
  const double spb = seconds_per_beat;
  sf::Image image;

  image.loadFromFile("data/gfx_octopus.png");
  list = enabler_append(list, new_picture(image, BI::DISPLAY_RELIEF, V(0, 0, 200)), start_beat,
                        start_beat + 12, seconds_per_beat);

  // Both frames at one place; left with the second active, which the first beat shows.
  BI* invader = new BI();
  invader->SetMaxSize(2.0f);
  invader->EnableColor(true);
  invader->SetDisplayType(BI::DISPLAY_FLAT);
  image.loadFromFile("data/invader1.png");
  invader->LoadImage(image, seconds_per_beat);
  invader->SetActiveImage(0);
  invader->SetShowPosition(V(65, -56, 0));
  image.loadFromFile("data/invader2.png");
  invader->LoadImage(image, seconds_per_beat);
  invader->SetActiveImage(1);
  invader->SetShowPosition(V(65, -56, 0));
  invader->SetType(BI::SCROLLER_STATIC);
  list = enabler_append(list, invader, start_beat + 12, end_beat, seconds_per_beat);

  image.loadFromFile("data/gfx_alien.png");
  list = enabler_append(list, new_picture(image, BI::DISPLAY_RELIEF, V(-20, 20, -300)),
                        start_beat + 26, start_beat + 42, seconds_per_beat);

  typedef effect::Camera C;
  const float glide = static_cast<float>(40 * spb);
  const float rush_start = sum(start_time, 40 * spb);
  const float rush = static_cast<float>(spb + spb);
  camera.AddPosition(C::CUT, start_time, 0, V(65, -80, 400));
  camera.AddRotation(C::CUT, start_time, 0, V(0, 0, 0));
  camera.AddPosition(C::LINEAR, start_time, glide, V(65, -60, -200));
  camera.AddRotation(C::LINEAR, start_time, glide, V(0, 0, -5));
  camera.AddPosition(C::LINEAR, rush_start, rush, V(65, -60, -320));
  camera.AddRotation(C::LINEAR, rush_start, rush, V(0, 0, 20));
  return list;
}
