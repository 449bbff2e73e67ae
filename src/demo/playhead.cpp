#include "demo/playhead.h"

#include "demo/moments.h"
#include "render/layer.h"

Playhead::Playhead(Builder build, omni::ShaderObject* program)
    : build_(std::move(build)), program_(program) {
  render::layer().GetClearColor(start_clear_color_);
  Build();
}

Playhead::~Playhead() {
  Release();
}

void Playhead::Build() {
  camera_ = std::make_unique<effect::Camera>();
  timeline_ = build_(*camera_);
  show_ = std::make_unique<Show>(timeline_, camera_.get(), program_, show_seconds_per_beat);
  show_->camera_override = camera_override_;
  next_step_ = 0;
}

void Playhead::Release() {
  show_.reset();
  enabler_cleanup(timeline_);
  timeline_ = nullptr;
  camera_.reset();
}

void Playhead::SeekTo(int step) {
  if (step < next_step_) Restart();
  while (next_step_ < step) {
    show_->Step(step_time(next_step_), FreeView(), false);
    ++next_step_;
  }
}

void Playhead::Restart() {
  Release();
  Build();
  const float* c = start_clear_color_;
  render::layer().ClearColor(c[0], c[1], c[2], c[3]);
}

bool Playhead::CatchUp(int step, int limit) {
  for (int n = 0; n < limit && next_step_ < step; ++n) {
    show_->Step(step_time(next_step_), FreeView(), false);
    ++next_step_;
  }
  return next_step_ >= step;
}

void Playhead::DrawNext(const FreeView& view) {
  show_->Step(step_time(next_step_), view, true);
  ++next_step_;
}

void Playhead::Redraw(const FreeView& view) {
  if (next_step_ > 0) show_->Redraw(view);
}

void Playhead::SetProgram(omni::ShaderObject* program) {
  program_ = program;
  show_->program = program;
}

void Playhead::SetCameraOverride(const CameraOverride* camera_override) {
  camera_override_ = camera_override;
  show_->camera_override = camera_override;
}
