#ifndef TESSARY_DEMO_SHOW_H
#define TESSARY_DEMO_SHOW_H

#include <vector>

#include "demo/demo.h"
#include "omni/vector3.h"
#include "render/layer.h"

namespace omni {
class ShaderObject;
}

// The beat counter: turns demo time into beats of `seconds_per_beat`, at most one beat a frame,
// so a late frame catches up one beat per frame and every beat is seen with beat_changed.
struct BeatClock {
  float seconds_per_beat = 0.0f;
  int beat = -1;
  float beat_time = 0.0f;  // demo time at which the current beat began
  bool beat_changed = false;

  explicit BeatClock(float seconds_per_beat_)
      : seconds_per_beat(seconds_per_beat_), beat_time(-seconds_per_beat_) {}
  // Advances by one beat when `demo_time` has reached the next beat boundary.
  void Advance(float demo_time);
};

// The developer pause and the seek: demo time is clock time less every pause, plus the offset
// seeks and a late start add. While paused, demo time stands at the moment the pause began; on
// resume it goes on from there.
struct PauseClock {
  bool paused = false;
  float pause_start = 0.0f;   // clock time at which the current pause began
  float pause_length = 0.0f;  // length of the current pause so far
  float paused_total = 0.0f;  // sum of the finished pauses
  double offset = 0.0;        // added to demo time: where the show was started or sought to
  double speed = 1.0;         // demo seconds a second of clock time

  // Pauses or resumes at clock time `elapsed`; returns true when now paused.
  bool Toggle(float elapsed);
  // Demo time for this frame's clock time; call once a frame.
  float DemoTime(float elapsed);
  // Makes the demo time at clock time `elapsed` equal `demo_time`, paused or not.
  void SeekTo(float elapsed, float demo_time);
  // From clock time `elapsed` on, demo time runs at `rate` (1: real time); it goes on from
  // where it stands.
  void SetSpeed(float elapsed, double rate);
};

// The free camera of the developer controls, as the frame sees it.
struct FreeView {
  bool apply = false;        // developer mode and free camera: apply position and rotation
  bool free_camera = false;  // free camera on: the keyframed camera is not applied
  omni::Vector3<float> position;
  omni::Vector3<float> rotation;  // x: pitch about X, y: yaw about Y, degrees
};

// Replaces components of the keyframed camera where a frame applies it (the sync tracks). The
// camera's own keyframed state is not changed, so taking the override away restores it.
class CameraOverride {
 public:
  virtual ~CameraOverride() = default;
  // Overwrites the components it drives of the camera's position and rotation at `demo_time`
  // (the time of the step on screen); leaves the others as they are.
  virtual void Apply(float demo_time, omni::Vector3<float>& position,
                     omni::Vector3<float>& rotation) const = 0;
};

// One step of the show, shared by the player and the offline renderer. It draws through the
// current renderer (render::layer()).
// In: the demo time (clock time less paused time) and the free-camera view. Carried between
// steps: the beat clock, the camera's tracks, every effect's own state and the clear colour
// the flash leaves. Out: the frame drawn into the current GL framebuffer (not shown), or, when
// `draw` is false, only the state advanced with no GL call at all. The next drawn step first
// replays the last Draw of every effect whose Draw only sets state (the flash), so a frame
// after undrawn steps is the frame of the loop that draws every step.
class Show {
 public:
  Enabler* timeline = nullptr;            // not owned
  effect::Camera* camera = nullptr;       // not owned
  omni::ShaderObject* program = nullptr;  // bound around every effect when not null
  // Applied over the camera in every drawn frame (not owned; null: the keyframed camera alone).
  const CameraOverride* camera_override = nullptr;
  BeatClock clock;
  // The clear colour the last drawn frame began with, for drawing it again.
  float clear_color[4] = {0, 0, 0, 0};

  Show(Enabler* timeline_, effect::Camera* camera_, omni::ShaderObject* program_,
       float seconds_per_beat)
      : timeline(timeline_), camera(camera_), program(program_), clock(seconds_per_beat) {}

  void Step(float demo_time, const FreeView& view, bool draw = true);
  // Draws the last step again, changing no state: a paused frame, or one shown before the next
  // step is due. The picture is the step's own, but for the free camera.
  void Redraw(const FreeView& view);
  // True once the beat counter has passed the show's last beat: leave the loop.
  bool Over() const { return clock.beat > show_last_beat; }

 private:
  // Clears, sets up the view and walks the active nodes; `update` also runs their UpdateLogic.
  void Walk(float demo_time, const FreeView& view, bool update, bool draw);
  // Applies the camera to the GL matrix, with the override's components in place of its own.
  void PlaceCamera();
  // Replays the Draw of the state-only effects that ran undrawn since the last drawn step.
  void ReplayCarried();
  // The show's time and beat (with its fraction) at `demo_time`, for the toon program.
  render::NodeTime TimeOf(float demo_time) const;

  float drawn_time_ = 0.0f;  // demo time of the last step run

  // State-only nodes run in undrawn steps since the last drawn one (at most a few).
  std::vector<const Enabler*> carried_;
};

#endif
