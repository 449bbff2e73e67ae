#ifndef TESSARY_EFFECT_CAMERA_H
#define TESSARY_EFFECT_CAMERA_H

#include <vector>

#include "omni/vector3.h"

namespace effect {

// The eased progress of a smooth move at linear progress `t` in [0, 1]: t*t*(3-2t), 0 and 1 at
// the ends with zero slope there. The one home of the curve: the camera's smooth keys and the
// sync tracks' smooth keys both use it.
template <typename T>
T smoothstep(T t) {
  return t * t * (T(3) - T(2) * t);
}

// The one camera of the show: two keyframe tracks (position and rotation) with absolute start
// times, filled by the part builders before the first frame and played strictly in order.
// Not an effect: the frame loop advances it and applies it before the timeline is walked.
class Camera {
 public:
  // Stored as an int: any other value halts its track. SMOOTH moves like LINEAR but eases in
  // and out (zero speed at both ends): the progress t of the move becomes smoothstep(t).
  enum transition_t : int { LINEAR = 0, CUT = 1, SMOOTH = 2 };

  // True for the transitions that move over their duration (LINEAR, SMOOTH).
  static bool IsMove(transition_t transition) {
    return transition == LINEAR || transition == SMOOTH;
  }

  struct Place {
    transition_t transition = LINEAR;
    float start_time = 0.0f;
    float duration = 0.0f;
    omni::Vector3<float> target;
  };
  struct Rotation {
    transition_t transition = LINEAR;
    float start_time = 0.0f;
    float duration = 0.0f;
    omni::Vector3<float> target;
  };

  float time = -1.0f;
  omni::Vector3<float> location;
  omni::Vector3<float> location_from;
  std::vector<Place> places;
  unsigned int place_index = 0;
  unsigned int place_count = 0;
  omni::Vector3<float> rotation;
  omni::Vector3<float> rotation_from;
  std::vector<Rotation> rotations;
  unsigned int rotation_index = 0;
  unsigned int rotation_count = 0;

  Camera() = default;

  // Keyframes are appended in play order; start times are absolute demo seconds.
  void AddPosition(transition_t transition, float start_time, float duration,
                   const omni::Vector3<float>& target);
  void AddRotation(transition_t transition, float start_time, float duration,
                   const omni::Vector3<float>& target);

  // Stores the absolute demo time and advances both tracks; each completes at most one
  // keyframe per call. The beat arguments are not used.
  void UpdateLogic(const float& time, const int& beat, const bool& beat_changed);
  // Applies the current transform to the current GL matrix: translate by -location, then
  // rotate about X, Y and Z (each only when non-zero).
  void UpdateLocation();
  void UpdateLoc();
  void UpdateRotation();
  void Increment();
  void RotationIncrement();
  const char* Name() { return "Camera"; }
};

}  // namespace effect

#endif
