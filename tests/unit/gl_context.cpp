#include "gl_context.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "demo/startup.h"
#include "gl/glcheck.h"

namespace {
std::unique_ptr<gl::HeadlessContext> context;
}

gl::HeadlessContext* test_gl_context() {
  static bool tried = false;
  if (!tried) {
    tried = true;
    auto made = std::make_unique<gl::HeadlessContext>();
    std::string error;
    if (made->Create(64, 48, error)) {
      context = std::move(made);
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
  return context.get();
}

std::vector<unsigned char> read_test_pixels() {
  std::vector<unsigned char> rgb;
  if (context) context->ReadRgb(rgb);
  return rgb;
}
