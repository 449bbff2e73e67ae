#include "check.h"

#include <memory>
#include <string>

#include "demo/camerafile.h"
#include "demo/demo.h"
#include "demo/script.h"
#include "demo/startup.h"
#include "gl/headless.h"
#include "render/layer.h"
#include "shadermanager.h"
#include "tunables.h"

namespace {

// Builds the show: each picture that fails to load is one line.
std::vector<std::string> picture_errors(const CameraFile& camera_file) {
  script::take_picture_errors();
  effect::Camera camera;
  enabler_cleanup(init_demo(camera, show_seconds_per_beat, camera_file));
  return script::take_picture_errors();
}

// Compiles the instanced renderer's toon pair on a small 3.3 core context of its own; 1 when it
// does not build (the shader manager printed why), else 0.
int instanced_shader_errors(std::FILE* out) {
  gl::HeadlessContext context;
  std::string error;
  if (!context.Create(16, 16, error, gl::Profile::core)) {
    std::fprintf(out, "no 3.3 core context (the instanced shaders not checked): %s\n",
                 error.c_str());
    return 1;
  }
  std::unique_ptr<render::Layer> layer = render::make_layer(render::Kind::instanced, error);
  if (!layer) {
    std::fprintf(out, "the instanced renderer: %s\n", error.c_str());
    return 1;
  }
  render::Current current(*layer);
  omni::ShaderManager manager;  // prints its own error line
  init_shaders(manager);
  return manager[0] == nullptr ? 1 : 0;
}

}  // namespace

int check_show_files(std::FILE* out) {
  int errors = 0;
  CameraFile camera_file;
  load_camera_file(camera_file_path, camera_file);
  for (const std::string& line : camera_file.errors) std::fprintf(out, "%s\n", line.c_str());
  errors += static_cast<int>(camera_file.errors.size());
  const std::vector<std::string>& warnings = camera_file.warnings;
  for (const std::string& line : warnings) std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);

  gl::HeadlessContext context;
  std::string error;
  if (!context.Create(16, 16, error)) {
    std::fprintf(out, "no headless GL context (shaders and pictures not checked): %s\n",
                 error.c_str());
    errors += 1;
  } else {
    std::unique_ptr<render::Layer> layer = render::make_layer(render::Kind::classic, error);
    render::Current current(*layer);
    init_gl();
    {
      omni::ShaderManager manager;  // prints its own error line
      init_shaders(manager);
      errors += manager[0] == nullptr ? 1 : 0;
    }
    for (const std::string& line : picture_errors(camera_file)) {
      std::fprintf(out, "%s\n", line.c_str());
      errors += 1;
    }
  }
  errors += instanced_shader_errors(out);
  std::fprintf(out,
               "checked the camera file, the shaders and the pictures: %d error%s, %d warning%s\n",
               errors, errors == 1 ? "" : "s", static_cast<int>(warnings.size()),
               warnings.size() == 1 ? "" : "s");
  return errors;
}
