#ifndef TESSARY_DEMO_SCRIPT_H
#define TESSARY_DEMO_SCRIPT_H

// The part builders' shared vocabulary: a part's place on the timeline, its camera keyframes in
// beats (as data/camera.txt holds them), and block images set up as the parts show pictures.
//
// How to use, in a part builder:
//   PartScript part(list, camera, seconds_per_beat, start_time, start_beat, end_beat);
//   part.add(still_picture(load_picture("data/earth.png"), BI::DISPLAY_RELIEF, V(-25, 25, -150)));
//   part.add(effect, 12);          // from the part's beat 12 to its end
//   return part.list;

#include <cstddef>
#include <string>
#include <vector>

#include "demo/demo.h"
#include "demo/moments.h"
#include "effect/blockimage.h"

namespace sf {
class Image;
}

namespace script {

typedef effect::BlockImage BI;
typedef effect::Camera C;
typedef omni::Vector3<float> V;

// Which camera track a keyframe belongs to.
enum Track { PLACE, TURN };

// One camera keyframe: reached `length` after it starts, `start` after the part's start.
struct CameraKey {
  Track track;
  C::transition_t transition;
  Beats start;
  Beats length;
  V target;
};

// One part being written: appends its effects to the show's list and its keyframes to the
// camera, counting beats from the part's first beat.
struct PartScript {
  Enabler* list;
  effect::Camera& camera;
  float seconds_per_beat;
  float start_time;
  int start_beat;
  int end_beat;

  PartScript(Enabler* list_, effect::Camera& camera_, float seconds_per_beat_, float start_time_,
             int start_beat_, int end_beat_)
      : list(list_),
        camera(camera_),
        seconds_per_beat(seconds_per_beat_),
        start_time(start_time_),
        start_beat(start_beat_),
        end_beat(end_beat_) {}

  // Puts `effect` on the timeline from the part's beat `first` to its beat `end` (a negative
  // end: the part's end).
  void add(omni::Effect* effect, int first = 0, int end = -1);
  // The absolute time of a moment in the part, and the seconds of a length.
  float at(const Beats& moment) const;
  float seconds(const Beats& length) const;
  // Adds the keyframes to their tracks in the order given (play order per track).
  void add_keys(const CameraKey* keys, size_t count);
  void add_keys(const std::vector<CameraKey>& keys) { add_keys(keys.data(), keys.size()); }
  template <size_t N>
  void add_keys(const CameraKey (&keys)[N]) {
    add_keys(keys, N);
  }
};

// The picture in `file` as it last decoded cleanly: decoded on first use; one that never did is
// empty (it loads no blocks; the image library says why on its error stream).
sf::Image load_picture(const char* file);
// Decodes `file` again. On success load_picture hands out the new picture from now on; on
// failure (one line in `error`: the file and why) it goes on handing out the last good one.
bool reload_picture(const std::string& file, std::string& error);

// The image-cycle turn of a picture that is the only set of its block image: it never gives way.
constexpr float single_set_duration = 0.5f;

// A picture standing whole and still with its top-left block at `place`.
BI* still_picture(const sf::Image& image, BI::display_type_t display, const V& place,
                  float duration = single_set_duration);
// A picture scrolling along its local x at `speed` units a second: each column grows in as it
// crosses `show` and shrinks away after travelling as far as `hide`; `grow` is the grow factor.
BI* scrolling_picture(const sf::Image& image, BI::display_type_t display, const V& show,
                      const V& hide, float speed, float duration = single_set_duration,
                      float grow = BI::default_factor);
// Two flat pictures at `place` flipping every `beat` seconds, the second shown first.
BI* flipping_picture(const sf::Image& first, const sf::Image& second, float beat, const V& place);

}  // namespace script

#endif
