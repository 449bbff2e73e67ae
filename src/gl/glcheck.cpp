#include "gl/glcheck.h"

#include <cstdio>

namespace gl {

namespace {
unsigned long g_errors = 0;

const char* error_name(GLenum error) {
  switch (error) {
    case GL_INVALID_ENUM:
      return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE:
      return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION:
      return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW:
      return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW:
      return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY:
      return "GL_OUT_OF_MEMORY";
    case GL_INVALID_FRAMEBUFFER_OPERATION:
      return "GL_INVALID_FRAMEBUFFER_OPERATION";
    default:
      return "unknown GL error";
  }
}
}  // namespace

void check_error(const char* file, int line, const char* expression) {
  // Bounded: a context that went away answers every call with an error.
  for (int i = 0; i < 8; ++i) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) return;
    ++g_errors;
    std::fprintf(stderr, "gl: %s at %s:%d in %s\n", error_name(error), file, line, expression);
  }
}

unsigned long error_count() {
  return g_errors;
}

}  // namespace gl
