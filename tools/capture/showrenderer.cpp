#include "showrenderer.h"

#include <algorithm>

#include "demo/demo.h"
#include "demo/startup.h"
#include "gl/glcheck.h"
#include "helpers.h"
#include "moments.h"
#include "singleeffects.h"

ShowRenderer::~ShowRenderer() {
  // Effects and programs release GL objects: both go while the context is still current.
  show_.reset();
  enabler_cleanup(timeline_);
  timeline_ = nullptr;
  manager_.reset();
}

bool ShowRenderer::Create(int width, int height, const std::string& effect_name,
                          std::string& error) {
  const SingleEffect* single = nullptr;
  if (!effect_name.empty()) {
    single = find_single_effect(effect_name);
    if (single == nullptr) {
      error = "unknown effect '" + effect_name + "' (known: " + single_effect_names() + ")";
      return false;
    }
  }
  if (!context.Create(width, height, error)) {
    error = "no headless GL context: " + error;
    return false;
  }
  init_gl();
  manager_ = std::make_unique<omni::ShaderManager>();
  init_shaders(*manager_);
  const float seconds_per_beat = beat2seconds(140, 4);
  if (single != nullptr) {
    omni::Effect* effect = single->make(camera_, seconds_per_beat);
    timeline_ = enabler_append(nullptr, effect, 0, show_flash_end, seconds_per_beat);
  } else {
    timeline_ = init_demo(camera_, seconds_per_beat);
  }
  omni::ShaderObject* program = (*manager_)[0];
  if (single != nullptr && !single->toon) program = nullptr;
  show_ = std::make_unique<Show>(timeline_, &camera_, program, seconds_per_beat);

  const ShowFrames frames;
  for (const Enabler* node = timeline_; node != nullptr; node = node->next) {
    if (node->end <= node->start || node->end <= 0) continue;
    const size_t end = static_cast<size_t>(node->end);
    last_frames_.push_back(end < frames.first_frame_of_beat.size()
                               ? frames.first_frame_of_beat[end] - 1
                               : frames.end_frame - 1);
  }
  std::sort(last_frames_.begin(), last_frames_.end());
  last_frames_.erase(std::unique(last_frames_.begin(), last_frames_.end()), last_frames_.end());
  return true;
}

void ShowRenderer::Step(FrameUse use) {
  const FreeView view;
  if (use == FrameUse::carry) {
    // Only the state the frame leaves matters: draw it into one pixel to spare the rasteriser.
    glCheck(glViewport(0, 0, 1, 1));
    show_->Frame(frame_time(next_frame), view, true);
    glCheck(glViewport(0, 0, context.width, context.height));
  } else {
    show_->Frame(frame_time(next_frame), view, use == FrameUse::keep);
  }
  ++next_frame;
}

void ShowRenderer::StepTo(int frame) {
  while (next_frame < frame - 1) {
    const bool last = std::binary_search(last_frames_.begin(), last_frames_.end(), next_frame);
    Step(last ? FrameUse::carry : FrameUse::skip);
  }
  if (next_frame == frame - 1) Step(FrameUse::carry);
  if (next_frame == frame) Step(FrameUse::keep);
}
