#include "gl_context.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "demo/startup.h"
#include "gl/glcheck.h"
#include "render/layer.h"

namespace {
// Lives until the process ends and is never destroyed: tearing EGL down at exit unloads Mesa's
// driver, whose remaining allocations would then show up as leaks of an unknown module.
gl::HeadlessContext* context = nullptr;
render::Layer* layer = nullptr;  // the classic renderer, current for the whole process
}  // namespace

gl::HeadlessContext* test_gl_context() {
  static bool tried = false;
  if (!tried) {
    tried = true;
    auto made = std::make_unique<gl::HeadlessContext>();
    std::string error;
    if (made->Create(64, 48, error)) {
      context = made.release();
      layer = render::make_layer(render::Kind::classic, error).release();
      new render::Current(*layer);  // never ends, as the context
    } else {
      ADD_FAILURE() << "no headless GL context: " << error;
    }
  }
  if (context) {
    init_gl();
    glClearColor(0, 0, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glUseProgram(0);
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  return context;
}

std::vector<unsigned char> read_test_pixels() {
  std::vector<unsigned char> rgb;
  if (context) context->ReadRgb(rgb);
  return rgb;
}
