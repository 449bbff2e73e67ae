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
  return part.list;
}
