#ifndef TESSARY_DEMO_PLAYHEAD_H
#define TESSARY_DEMO_PLAYHEAD_H

// The show as a sequence of fixed steps: step n is the show at demo time step_time(n), and
// every step runs, drawn or not, so the show is the same whatever the frame rate. The one home
// of the stepping rules, shared by the player and the offline renderer.
//
// How to use (with a current GL context and the programs loaded):
//   Playhead head(init_whole_show, program);
//   head.SeekTo(n);              // steps 0..n-1 without drawing (back: rebuilds from the start)
//   head.DrawNext(view);         // runs step n and draws it into the current framebuffer
//   head.CatchUp(target, 240);   // at most 240 undrawn steps towards `target`
//   head.Redraw(view);           // the last step again, no state change (paused)
// Destroy it while the context is current: the effects release GL objects.

#include <functional>
#include <memory>

#include "demo/show.h"
#include "effect/camera.h"

class Playhead {
 public:
  // Builds the timeline into a fresh camera and returns its head (init_demo, or one effect).
  using Builder = std::function<Enabler*(effect::Camera& camera)>;

  Playhead(Builder build, omni::ShaderObject* program);
  ~Playhead();
  Playhead(const Playhead&) = delete;
  Playhead& operator=(const Playhead&) = delete;

  // Runs undrawn steps until `step` is the next to run. A step already run lies behind: the
  // show is rebuilt from its start and stepped forward again.
  void SeekTo(int step);
  // Runs at most `limit` undrawn steps towards `step` (exclusive); returns true when `step`
  // is then the next to run.
  bool CatchUp(int step, int limit);
  // Runs the next step and draws it.
  void DrawNext(const FreeView& view);
  // Draws the last step again without changing any state (nothing when no step has run).
  void Redraw(const FreeView& view);
  // Builds the show afresh (its builder may now read other keys or files), back at its start
  // with the start-up clear colour; SeekTo then brings it to a step.
  void Restart();
  // The program bound around every effect (null: fixed-function).
  void SetProgram(omni::ShaderObject* program);
  // What replaces parts of the keyframed camera in every drawn frame, rebuilds included (not
  // owned; null: the keyframed camera alone). Changes no state: the next draw shows it.
  void SetCameraOverride(const CameraOverride* camera_override);

  // The next step to run, and the last one run (-1 before the first).
  int NextStep() const { return next_step_; }
  int LastStep() const { return next_step_ - 1; }
  // The global beat after the last step (-1 before the first).
  int Beat() const { return show_->clock.beat; }
  bool Over() const { return show_->Over(); }
  const effect::Camera& Camera() const { return *camera_; }
  // What SetCameraOverride gave (null: none).
  const CameraOverride* Override() const { return camera_override_; }

 private:
  void Build();
  void Release();

  Builder build_;
  float start_clear_color_[4] = {0, 0, 0, 0};  // the fixed start-up state a rebuild restores
  omni::ShaderObject* program_ = nullptr;
  const CameraOverride* camera_override_ = nullptr;
  std::unique_ptr<effect::Camera> camera_;
  Enabler* timeline_ = nullptr;
  std::unique_ptr<Show> show_;
  int next_step_ = 0;
};

#endif
