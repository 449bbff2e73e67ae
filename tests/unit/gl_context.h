#ifndef TESSARY_TESTS_GL_CONTEXT_H
#define TESSARY_TESTS_GL_CONTEXT_H

#include <vector>

#include "gl/headless.h"

// The test process's one real GL context (EGL surfaceless, llvmpipe), created on first use
// with a small framebuffer and the show's fixed GL state. Each call resets the matrices and
// the clear colour so tests do not leak state into each other. Fails the test (and returns
// null) when no context can be made.
gl::HeadlessContext* test_gl_context();

// Reads the framebuffer (top row first, RGB).
std::vector<unsigned char> read_test_pixels();

#endif
