#include "player/freecamera.h"

#include <algorithm>

#include "effect/camera.h"
#include "tunables.h"

namespace {
// What t and g add to and take from the speed, in units or degrees a step.
constexpr float speed_step = 10.0f;

// A turn pushed past a full turn jumps to the opposite full turn.
void turn_up(float& angle, float step) {
  angle += step;
  if (angle > 360) angle = -360;
}
void turn_down(float& angle, float step) {
  angle -= step;
  if (angle < -360) angle = 360;
}
}  // namespace

void FreeCamera::Hold(Action action, bool down) {
  if (is_held(action)) held_[static_cast<int>(action)] = down;
}

bool FreeCamera::Adjust(Action action) {
  if (action == Action::ResetRotation) {
    rotation = omni::Vector3<float>(0, 0, 0);
  } else if (action == Action::Faster) {
    speed += speed_step;
  } else if (action == Action::Slower) {
    speed -= speed_step;
  } else {
    return false;
  }
  return true;
}

void FreeCamera::ReleaseAll() {
  std::fill(std::begin(held_), std::end(held_), false);
}

bool FreeCamera::Moving() const {
  return std::any_of(std::begin(held_), std::end(held_), [](bool h) { return h; });
}

void FreeCamera::Tick(float elapsed) {
  const long ticks = static_cast<long>(elapsed * show_fps);
  if (ticks_ < 0) ticks_ = ticks;
  auto held = [this](Action a) { return held_[static_cast<int>(a)]; };
  for (long n = std::max(ticks_, ticks - show_fps); n < ticks; ++n) {
    if (held(Action::MoveBack)) position.z += speed;
    if (held(Action::MoveForward)) position.z -= speed;
    if (held(Action::MoveUp)) position.y += speed;
    if (held(Action::MoveDown)) position.y -= speed;
    if (held(Action::MoveRight)) position.x += speed;
    if (held(Action::MoveLeft)) position.x -= speed;
    if (held(Action::YawLeft)) turn_up(rotation.y, speed);
    if (held(Action::YawRight)) turn_down(rotation.y, speed);
    if (held(Action::PitchUp)) turn_up(rotation.x, speed);
    if (held(Action::PitchDown)) turn_down(rotation.x, speed);
  }
  ticks_ = std::max(ticks_, ticks);
}

void FreeCamera::StartFrom(const effect::Camera& camera) {
  position = camera.location;
  rotation = omni::Vector3<float>(camera.rotation.x, camera.rotation.y, 0);
}

FreeView FreeCamera::View(bool magic) const {
  FreeView view;
  view.apply = magic && on;
  view.free_camera = on;
  view.position = position;
  view.rotation = rotation;
  return view;
}
