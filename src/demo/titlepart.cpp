#include <SFML/Graphics/Image.hpp>

#include "demo/demo.h"
#include "effect/blockimage.h"

namespace {

// a + b, formed in double and stored as a float (keyframe times are single precision).
float sum(double a, double b) {
  return static_cast<float>(a + b);
}

}  // namespace

// The opening: the title standing as a flat field of coloured cubes with its top-left corner at
// the origin, and below it two relief bands scrolling from right to left at different depths
// and speeds. The camera waits three beats, takes up a front view, drifts, moves nearer at beat
// 24, drifts again and settles in one more second just past the part's end.
Enabler* init_titlepart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                        float start_time, int start_beat, int end_beat) {
  typedef effect::BlockImage BI;
  typedef omni::Vector3<float> V;
  const double spb = seconds_per_beat;
  const double t0 = start_time;

  // One picture buffer for all three loads; a failed load leaves what it held (empty at first).
  sf::Image image;
  image.loadFromFile("data/title_wide.png");

  BI* title = new BI();
  title->SetMaxSize(2.0f);
  title->EnableColor(true);
  title->SetDisplayType(BI::DISPLAY_FLAT);
  title->LoadImage(image, static_cast<float>(16 * spb));
  title->SetType(BI::SCROLLER_STATIC);
  list = enabler_append(list, title, start_beat, end_beat, seconds_per_beat);

  image.loadFromFile("data/stripe_cyan.png");
  BI* cyan = new BI();
  cyan->SetMaxSize(2.0f);
  cyan->EnableColor(true);
  cyan->SetDisplayType(BI::DISPLAY_RELIEF);
  cyan->LoadImage(image, 0.5f);
  cyan->SetShowPosition(V(50, -30, -10));
  cyan->SetHidePosition(V(-50, -30, -10));
  cyan->SetSpeed(-25.0f);
  cyan->SetType(BI::SCROLLER_SCROLL);
  list = enabler_append(list, cyan, start_beat, end_beat, seconds_per_beat);

  image.loadFromFile("data/stripe_magenta.png");
  BI* magenta = new BI();
  magenta->SetMaxSize(2.0f);
  magenta->EnableColor(true);
  magenta->SetDisplayType(BI::DISPLAY_RELIEF);
  magenta->LoadImage(image, 0.5f);
  magenta->SetShowPosition(V(50, -30, -30));
  magenta->SetHidePosition(V(-50, -30, -30));
  magenta->SetSpeed(-15.0f);
  magenta->SetType(BI::SCROLLER_SCROLL);
  list = enabler_append(list, magenta, start_beat, end_beat, seconds_per_beat);

  const double step = 0.1f;  // single-precision constants, widened for the sums
  const double settle = 1.0f;
  typedef effect::Camera C;
  camera.AddRotation(C::CUT, start_time, 0, V(0, 0, 0));
  camera.AddPosition(C::CUT, start_time, 0, V(0, 0, 0));
  camera.AddPosition(C::CUT, sum(t0, 3 * spb), 0, V(-125, 362, 478));
  camera.AddPosition(C::LINEAR, sum(t0, 3 * spb), static_cast<float>(step), V(179, -87, 222));
  camera.AddRotation(C::LINEAR, sum(t0, 3 * spb), static_cast<float>(step), V(0, -35, 0));
  camera.AddPosition(C::LINEAR, sum(t0 + 3 * spb, step), sum(21 * spb, -step), V(150, -87, 210));
  camera.AddRotation(C::LINEAR, sum(t0, 24 * spb), static_cast<float>(step), V(0, 0, 0));
  camera.AddPosition(C::LINEAR, sum(t0, 24 * spb), static_cast<float>(step), V(233, -45, 13));
  camera.AddPosition(C::LINEAR, sum(t0 + 24 * spb, step), sum(24 * spb, -step), V(200, -40, 10));
  camera.AddPosition(C::LINEAR, sum(t0, 48 * spb), static_cast<float>(settle), V(200, -40, 0));
  return list;
}
