#include <SFML/Graphics/Image.hpp>

#include "demo/script.h"

using namespace script;

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

// Position and rotation keyframes in pairs: a cut to the first group a tenth of a second in, a
// look at each group for 12 beats, a move to the next in 2.
const CameraKey credit_flight[] = {
    {PLACE, C::CUT, {0}, {0}, {0, 0, 0}},
    {TURN, C::CUT, {0}, {0}, {0, 0, 0}},
    {PLACE, C::CUT, {0, 0.1f}, {0}, {44, -34, 77}},
    {TURN, C::CUT, {0, 0.1f}, {0}, {0, 14, 0}},
    {PLACE, C::LINEAR, {0, 0.1f}, {12, -0.1f}, {69, -54, 79}},
    {TURN, C::LINEAR, {0, 0.1f}, {12, -0.1f}, {0, -18, 0}},
    {PLACE, C::LINEAR, {12}, {2}, {0, -19, -24}},
    {TURN, C::LINEAR, {12}, {2}, {-8, -15, 0}},
    {PLACE, C::LINEAR, {14}, {12}, {-75, -31, -20}},
    {TURN, C::LINEAR, {14}, {12}, {0, 21, 0}},
    {PLACE, C::LINEAR, {26}, {2}, {91, -39, -106}},
    {TURN, C::LINEAR, {26}, {2}, {0, -13, 0}},
    {PLACE, C::LINEAR, {28}, {12}, {47, -99, -126}},
    {TURN, C::LINEAR, {28}, {12}, {-14, 14, 0}},
    {PLACE, C::LINEAR, {40}, {2}, {62, -40, -190}},
    {TURN, C::LINEAR, {40}, {2}, {0, 3, 0}},
};

}  // namespace

// The closing credits: captions and names in relief in three groups, each appearing two beats
// before the camera leaves the previous one.
Enabler* init_credpart(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                       float start_time, int start_beat, int end_beat) {
  PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
  for (const CreditPicture& pic : credit_pictures) {
    part.add(still_picture(load_picture(pic.file), BI::DISPLAY_RELIEF, V(pic.x, pic.y, pic.z)),
             pic.first, pic.end);
  }
  part.add_keys(credit_flight);
  return part.list;
}
