#include "showrenderer.h"

#include <cstdio>

#include "demo/demo.h"
#include "demo/startup.h"
#include "singleeffects.h"
#include "tunables.h"

ShowRenderer::~ShowRenderer() {
  // Effects and programs release GL objects: both go while the context is still current.
  head_.reset();
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
  omni::ShaderObject* program = (*manager_)[0];
  if (single != nullptr && !single->toon) program = nullptr;
  if (single == nullptr && !load_camera_file(camera_file_path, camera_file_)) {
    print_camera_errors(camera_file_);
  }
  Playhead::Builder build = [this](effect::Camera& camera) {
    return init_demo(camera, show_seconds_per_beat, camera_file_);
  };
  if (single != nullptr) {
    build = [single](effect::Camera& camera) {
      omni::Effect* effect = single->make(camera, show_seconds_per_beat);
      return enabler_append(nullptr, effect, 0, show_flash_end, show_seconds_per_beat);
    };
  }
  head_ = std::make_unique<Playhead>(build, program);
  if (single == nullptr) {
    std::vector<std::string> problems;
    tracks_.Load(track_dir, problems);
    for (const std::string& line : problems)
      std::fprintf(stderr, "tessary-capture: %s\n", line.c_str());
    head_->SetCameraOverride(&tracks_);
  }
  return true;
}
