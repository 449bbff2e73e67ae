#include <SFML/Graphics/Image.hpp>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "effect/cubecube.h"

// The scroller part: a spinning cube frame that bursts on every even beat beside a scrolling
// text in relief, and a slow camera drift that ends, in the last 4 beats, squarely in front
// of the cube frame.
Enabler* init_scrollerpart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                           float start_time, int start_beat, int end_beat) {
  sf::Image image;

  effect::CubeCube* frame = new effect::CubeCube();
  frame->SetStartPos(omni::Vector3<float>(40, -40, 0));
  frame->SetRotation(omni::Vector3<float>(50, 30, 90));
  frame->SetColor(0.3f, 0.8f, 0.7f);
  frame->Setup();
  list = enabler_append(list, frame, start_beat, end_beat, seconds_per_beat);

  // A missing picture leaves the image empty: the scroller then has no blocks.
  image.loadFromFile("data/scroll.png");
  effect::BlockImage* scroller = new effect::BlockImage();
  scroller->SetMaxSize(2.0f);
  scroller->EnableColor(true);
  scroller->SetDisplayType(effect::BlockImage::DISPLAY_RELIEF);
  scroller->LoadImage(image, 0.5f);
  scroller->SetShowPosition(omni::Vector3<float>(60, 30, 0));
  scroller->SetHidePosition(omni::Vector3<float>(-70, 30, 0));
  scroller->SetSpeed(-105.0f);
  scroller->SetType(effect::BlockImage::SCROLLER_SCROLL);
  list = enabler_append(list, scroller, start_beat, end_beat, seconds_per_beat);

  const double spb = seconds_per_beat;
  const float drift_length = static_cast<float>(60.0 * spb);
  const float arrive_start = static_cast<float>(start_time + 60.0 * spb);
  const float arrive_length = static_cast<float>(4.0 * spb);
  camera.AddPosition(effect::Camera::CUT, start_time, 0, omni::Vector3<float>(0, 0, 100));
  camera.AddRotation(effect::Camera::CUT, start_time, 0, omni::Vector3<float>(0, 0, 0));
  camera.AddPosition(effect::Camera::LINEAR, start_time, drift_length,
                     omni::Vector3<float>(-30, -10, 100));
  camera.AddRotation(effect::Camera::LINEAR, start_time, drift_length,
                     omni::Vector3<float>(5, 10, 0));
  camera.AddPosition(effect::Camera::LINEAR, arrive_start, arrive_length,
                     omni::Vector3<float>(40, -40, 50));
  camera.AddRotation(effect::Camera::LINEAR, arrive_start, arrive_length,
                     omni::Vector3<float>(0, 0, 0));
  return list;
}
