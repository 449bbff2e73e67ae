#ifndef TESSARY_PLAYER_FREECAMERA_H
#define TESSARY_PLAYER_FREECAMERA_H

// The developer's free camera: held keys move and turn it by its speed once every 1/120 s of
// clock time, whatever the frame rate; it replaces the keyframed camera while it is on.
//
// How to use:
//   FreeCamera free;
//   free.Hold(Action::MoveUp, true);      // key pressed (false: released)
//   free.Tick(elapsed);                   // each frame, with the clock's seconds
//   FreeView view = free.View(mushroom_mode);
//   free.ReleaseAll();                    // the window lost focus: no key is held any more

#include "demo/show.h"
#include "player/keys.h"

namespace effect {
class Camera;
}

class FreeCamera {
 public:
  bool on = false;                         // free_camera: the keyframed camera is not applied
  omni::Vector3<float> position{0, 0, 0};  // free_position
  omni::Vector3<float> rotation{0, 0, 0};  // free_rotation, degrees; z is never used
  float speed = 1.0f;                      // free_speed: units or degrees a step

  // Marks a held action's key down or up (other actions are ignored).
  void Hold(Action action, bool down);
  // r, t, g: resets the rotation, or makes the camera faster or slower. False for any other
  // action.
  bool Adjust(Action action);
  // Releases every held key, as if each had come up.
  void ReleaseAll();
  // Applies the held keys once for every 1/120 s of clock time since the last call (at most a
  // second's worth, so a stall does not fling the camera away).
  void Tick(float elapsed);
  // Takes the pose of the keyframed camera's shot: its position, and its turns about X and Y
  // (the free camera has no roll, so a shot with roll loses it).
  void StartFrom(const effect::Camera& camera);
  // The view the frame applies.
  FreeView View(bool magic) const;
  bool Moving() const;

 private:
  bool held_[held_action_count] = {};
  long ticks_ = -1;  // 1/120 s of clock time the camera has moved for; -1 before the first Tick
};

#endif
