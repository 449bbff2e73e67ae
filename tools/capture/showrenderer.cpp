#include "showrenderer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "demo/demo.h"
#include "demo/startup.h"
#include "gl/glcheck.h"
#include "singleeffects.h"
#include "tunables.h"

ShowRenderer::~ShowRenderer() {
  // Effects and programs release GL objects: both go while the context is still current.
  if (layer_) Activate();
  head_.reset();
  manager_.reset();
  layer_.reset();
  render::set_current(nullptr);
}

void ShowRenderer::Activate() {
  context.MakeCurrent();
  render::set_current(layer_.get());
}

bool ShowRenderer::Create(int width, int height, const std::string& effect_name, std::string& error,
                          const DrawSettings& settings) {
  const SingleEffect* single = nullptr;
  if (!effect_name.empty()) {
    single = find_single_effect(effect_name);
    if (single == nullptr) {
      error = "unknown effect '" + effect_name + "' (known: " + single_effect_names() + ")";
      return false;
    }
  }
  supersample_ = settings.supersample;
  gl::Profile profile = settings.gles ? gl::Profile::es : gl::Profile::core;
  if (settings.renderer == render::Kind::classic) profile = gl::Profile::compatibility;
  if (!context.Create(width * supersample_, height * supersample_, error, profile, settings.msaa)) {
    error = "no headless GL context: " + error;
    return false;
  }
  if (settings.msaa > 1 && context.samples < settings.msaa) {
    std::fprintf(stderr, "tessary-capture: --msaa %d: the driver offers %d samples a pixel%s\n",
                 settings.msaa, context.samples, context.samples > 0 ? "; using those" : "");
  }
  layer_ = render::make_layer(settings.renderer, error);
  if (!layer_) {
    error = std::string("the ") + render::kind_name(settings.renderer) + " renderer: " + error;
    return false;
  }
  render::set_current(layer_.get());
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

void ShowRenderer::ReadRgb(std::vector<unsigned char>& rgb) {
  if (supersample_ == 1) {
    context.ReadRgb(rgb);
    return;
  }
  context.ReadRgb(drawn_);
  shrink_box(drawn_, context.width / supersample_, context.height / supersample_, 3, supersample_,
             rgb);
}

void ShowRenderer::ReadRgba(std::vector<unsigned char>& rgba) {
  std::vector<unsigned char>& target = supersample_ == 1 ? rgba : drawn_;
  context.ReadRgba(target);
  if (supersample_ != 1) {
    shrink_box(drawn_, context.width / supersample_, context.height / supersample_, 4, supersample_,
               rgba);
  }
}

void shrink_box(const std::vector<unsigned char>& big, int width, int height, int channels,
                int factor, std::vector<unsigned char>& small) {
  const size_t row = static_cast<size_t>(width) * static_cast<size_t>(channels);
  const size_t big_row = row * static_cast<size_t>(factor);
  const uint32_t count = static_cast<uint32_t>(factor * factor);
  small.resize(row * static_cast<size_t>(height));
  std::vector<uint32_t> sums(big_row);
  for (int y = 0; y < height; ++y) {
    // The block's rows summed column by column, then each run of `factor` pixels.
    std::fill(sums.begin(), sums.end(), 0u);
    for (int k = 0; k < factor; ++k) {
      const unsigned char* in = big.data() + (static_cast<size_t>(y) * factor + k) * big_row;
      for (size_t i = 0; i < big_row; ++i) sums[i] += in[i];
    }
    unsigned char* out = small.data() + static_cast<size_t>(y) * row;
    for (size_t x = 0; x < static_cast<size_t>(width); ++x) {
      for (int c = 0; c < channels; ++c) {
        uint32_t sum = 0;
        const size_t first = x * static_cast<size_t>(factor * channels) + static_cast<size_t>(c);
        for (int j = 0; j < factor; ++j) sum += sums[first + static_cast<size_t>(j * channels)];
        out[x * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
            static_cast<unsigned char>((sum + count / 2) / count);
      }
    }
  }
}
