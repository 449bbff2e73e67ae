#ifndef TESSARY_DEMO_DEMO_H
#define TESSARY_DEMO_DEMO_H

#include "effect/camera.h"
#include "omni/effect.h"
#include "tunables.h"

// One timeline node: switches `effect` on for the beats start <= beat < end. The list owns the
// node and its effect.
struct Enabler {
  omni::Effect* effect = nullptr;
  int start = 0;
  int end = 0;
  float start_time = 0.0f;  // start x seconds per beat: the demo time the node's clock starts at
  Enabler* prev = nullptr;
  Enabler* next = nullptr;
};

// Appends a node for `effect` after the last node and returns the head (the new node when
// `list` was null). The list takes ownership of the effect.
Enabler* enabler_append(Enabler* list, omni::Effect* effect, int start, int end,
                        float seconds_per_beat);
// Destroys every node and its effect. Call while the GL context still exists.
void enabler_cleanup(Enabler* list);

struct CameraFile;

// Builds the whole show: the seven parts end to end on the beat axis, each part's camera keys
// from `keys` (added after the part's builder, in file order), and the flash over beats 0 to 384
// as the last node. Needs a current GL context.
Enabler* init_demo(effect::Camera& camera, float seconds_per_beat, const CameraFile& keys);
// The same with the show's camera file (demo/camerafile.h), read once per process on the first
// call, its errors printed then; for callers that do not hold a loaded file.
Enabler* init_demo(effect::Camera& camera, float seconds_per_beat);

// A part builder: appends its effects to `list` for the beats start_beat to end_beat (the part
// starts at start_time), returning the new head. Its camera keys are data (data/camera.txt).
typedef Enabler* part_builder(Enabler* list, effect::Camera& camera, float seconds_per_beat,
                              float start_time, int start_beat, int end_beat);
typedef part_builder* part_builder_t;
// The seven parts, one file each in src/demo/.
part_builder init_titlepart, init_linepart, init_invaderpart, init_plasmapart, init_imagepart,
    init_scrollerpart, init_credpart;

// The show's script at the top level: the parts in show order with their lengths in beats and
// the flash beats each brings, as offsets from its first beat.
struct ShowPart {
  const char* name = "";
  part_builder_t build = nullptr;
  int length = 0;
  int flash_offsets[3] = {-1, -1, -1};  // -1 ends the list
};
inline constexpr ShowPart show_parts[] = {
    {"title", init_titlepart, 50, {-1, -1, -1}},
    {"lines", init_linepart, 44, {0, 14, 30}},
    {"invaders", init_invaderpart, 56, {50, -1, -1}},
    {"plasma", init_plasmapart, 74, {plasma_pillar_beat, -1, -1}},
    {"images", init_imagepart, 42, {0, 12, 26}},
    {"scroller", init_scrollerpart, 64, {0, -1, -1}},
    {"credits", init_credpart, 42, {0, 42, -1}},
};
constexpr int show_part_count = static_cast<int>(sizeof(show_parts) / sizeof(show_parts[0]));

// Beats the flash is given, in show order, and the flash node's range.
constexpr int show_flash_end = 385;
// The frame loop ends after the frame on which the beat counter passes this beat.
constexpr int show_last_beat = 389;

// Name of the part playing at a global beat ("tail" after the last part, "" before the first).
const char* part_name_at(int beat);
// The first flash beat after `beat` (the flash offsets of show_parts), or -1 after the last.
int next_flash_beat(int beat);

#endif
