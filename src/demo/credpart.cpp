#include <SFML/Graphics/Image.hpp>

#include "demo/demo.h"
#include "effect/blockimage.h"

namespace {

// One credit picture: the file, where its top-left block stands, and its beats as offsets from
// the part's first beat (a negative end means the part's end).
struct CreditPicture {
  const char* file;
  float x, y, z;
  int first;
  int end;
};

// Three groups set out diagonally at depths 0, -100 and -200: a caption, then a name.
// clang-format off
const CreditPicture credit_pictures[] = {
    {"data/cred_code.png",     0,   0,    0,  0, 14},
    {"data/cred_gfx.png",     30, -30,    0,  0, 14},
    {"data/cred_alder.png",   60, -60,    0,  0, 14},
    {"data/cred_music.png", -100,   0, -100, 12, -1},
    {"data/cred_birch.png",  -70, -30, -100, 12, -1},
    {"data/cred_gfx.png",     30, -30, -200, 26, -1},
    {"data/cred_cedar.png",   60, -60, -200, 26, -1},
};
// clang-format on

// One camera keyframe of the part: starts `beats` (plus `extra` seconds) into the part and
// lasts `length` beats (less `shorten` seconds).
struct CreditMove {
  bool rotation;  // false: a position keyframe
  effect::Camera::transition_t transition;
  int beats;
  float extra;
  int length;
  float shorten;
  float x, y, z;
};

// Position and rotation keyframes in pairs: a look at each group for 12 beats, a move to
// the next in 2.
const CreditMove credit_moves[] = {
    {false, effect::Camera::CUT, 0, 0.0f, 0, 0.0f, 0, 0, 0},
    {true, effect::Camera::CUT, 0, 0.0f, 0, 0.0f, 0, 0, 0},
    {false, effect::Camera::CUT, 0, 0.1f, 0, 0.0f, 44, -34, 77},
    {true, effect::Camera::CUT, 0, 0.1f, 0, 0.0f, 0, 14, 0},
    {false, effect::Camera::LINEAR, 0, 0.1f, 12, 0.1f, 69, -54, 79},
    {true, effect::Camera::LINEAR, 0, 0.1f, 12, 0.1f, 0, -18, 0},
    {false, effect::Camera::LINEAR, 12, 0.0f, 2, 0.0f, 0, -19, -24},
    {true, effect::Camera::LINEAR, 12, 0.0f, 2, 0.0f, -8, -15, 0},
    {false, effect::Camera::LINEAR, 14, 0.0f, 12, 0.0f, -75, -31, -20},
    {true, effect::Camera::LINEAR, 14, 0.0f, 12, 0.0f, 0, 21, 0},
    {false, effect::Camera::LINEAR, 26, 0.0f, 2, 0.0f, 91, -39, -106},
    {true, effect::Camera::LINEAR, 26, 0.0f, 2, 0.0f, 0, -13, 0},
    {false, effect::Camera::LINEAR, 28, 0.0f, 12, 0.0f, 47, -99, -126},
    {true, effect::Camera::LINEAR, 28, 0.0f, 12, 0.0f, -14, 14, 0},
    {false, effect::Camera::LINEAR, 40, 0.0f, 2, 0.0f, 62, -40, -190},
    {true, effect::Camera::LINEAR, 40, 0.0f, 2, 0.0f, 0, 3, 0},
};

}  // namespace

// The closing credits: captions and names in relief in three groups, each appearing two beats
// before the camera leaves the previous one; the camera looks at each group for 12 beats and
// moves to the next in 2.
Enabler* init_credpart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                       float start_time, int start_beat, int end_beat) {
  sf::Image image;
  for (const CreditPicture& pic : credit_pictures) {
    // A picture that fails to load leaves an empty set (drawing nothing): not reported.
    image.loadFromFile(pic.file);
    effect::BlockImage* credit = new effect::BlockImage();
    credit->SetMaxSize(2.0f);
    credit->EnableColor(true);
    credit->SetDisplayType(effect::BlockImage::DISPLAY_RELIEF);
    credit->LoadImage(image, 0.5f);
    credit->SetShowPosition(omni::Vector3<float>(pic.x, pic.y, pic.z));
    credit->SetType(effect::BlockImage::SCROLLER_STATIC);
    const int end = pic.end < 0 ? end_beat : start_beat + pic.end;
    list = enabler_append(list, credit, start_beat + pic.first, end, seconds_per_beat);
  }

  const double spb = seconds_per_beat;
  for (const CreditMove& move : credit_moves) {
    // Formed in double, stored as float; the two-beat moves last spb + spb.
    const float start = static_cast<float>(start_time + move.beats * spb + double(move.extra));
    const float length = static_cast<float>(move.length * spb - double(move.shorten));
    const omni::Vector3<float> target(move.x, move.y, move.z);
    if (move.rotation) {
      camera.AddRotation(move.transition, start, length, target);
    } else {
      camera.AddPosition(move.transition, start, length, target);
    }
  }
  return list;
}
