#include "effect/camera.h"

#include "render/layer.h"

namespace effect {

namespace {

// One track step, shared by the position and rotation tracks: completes the current keyframe
// when it is due, or moves `value` along a LINEAR keyframe in progress. Returns true when the
// keyframe is complete (the caller then calls its Increment).
template <typename Key>
bool track_due(const Key& k, float time, const omni::Vector3<float>& from,
               omni::Vector3<float>& value) {
  if (k.transition == Camera::CUT) return time >= k.start_time;
  if (k.transition != Camera::LINEAR) return false;  // an unknown kind halts its track
  if (time >= k.start_time + k.duration) return true;
  if (time >= k.start_time) {
    const float t = (time - k.start_time) / k.duration;
    value = from + (k.target - from) * t;
  }
  return false;
}

}  // namespace

void Camera::AddPosition(transition_t transition, float start_time, float duration,
                         const omni::Vector3<float>& target) {
  places.push_back(Place{transition, start_time, duration, target});
  place_count = static_cast<unsigned int>(places.size());
}

void Camera::AddRotation(transition_t transition, float start_time, float duration,
                         const omni::Vector3<float>& target) {
  rotations.push_back(Rotation{transition, start_time, duration, target});
  rotation_count = static_cast<unsigned int>(rotations.size());
}

void Camera::UpdateLogic(const float& time_, const int&, const bool&) {
  time = time_;
  UpdateLoc();
  UpdateRotation();
}

void Camera::UpdateLoc() {
  if (place_index >= place_count) return;
  if (track_due(places[place_index], time, location_from, location)) Increment();
}

void Camera::UpdateRotation() {
  if (rotation_index >= rotation_count) return;
  if (track_due(rotations[rotation_index], time, rotation_from, rotation)) RotationIncrement();
}

void Camera::Increment() {
  location = location_from = places[place_index].target;
  place_index += 1;
}

void Camera::RotationIncrement() {
  rotation = rotation_from = rotations[rotation_index].target;
  rotation_index += 1;
}

void Camera::UpdateLocation() {
  render::Layer& gfx = render::layer();
  gfx.Translate(-location.x, -location.y, -location.z);
  if (rotation.x != 0) gfx.Rotate(rotation.x, 1, 0, 0);
  if (rotation.y != 0) gfx.Rotate(rotation.y, 0, 1, 0);
  if (rotation.z != 0) gfx.Rotate(rotation.z, 0, 0, 1);
}

}  // namespace effect
