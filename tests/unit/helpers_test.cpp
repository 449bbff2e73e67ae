#include "helpers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gl/glcheck.h"
#include "gl_context.h"
#include "omni/vector3.h"
#include "tunables.h"

// The show's start times rest on 224 of its beats rounding to exactly 96 s.
TEST(Helpers, BeatToSeconds) {
  EXPECT_EQ(beat2seconds(show_bpm, 4), show_seconds_per_beat);
  EXPECT_EQ(beat2seconds(60, 1), 0.25f);
  EXPECT_EQ(static_cast<float>(224.0 * show_seconds_per_beat), 96.0f);
}

// tan(45 degrees) = 1: w = h = 1 at the near plane; at 60 degrees and aspect 2, w = 2 h.
TEST(Helpers, SetPerspectiveBuildsTheFrustum) {
  ASSERT_NE(test_gl_context(), nullptr);
  GLfloat m[16];
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  setPerspective(90.0, 1.0, 1.0, 500.0);
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_NEAR(m[0], 1.0f, 1e-6f);
  EXPECT_NEAR(m[5], 1.0f, 1e-6f);
  EXPECT_NEAR(m[10], -501.0f / 499.0f, 1e-6f);
  EXPECT_NEAR(m[14], -1000.0f / 499.0f, 1e-5f);
  glLoadIdentity();
  setPerspective(60.0, 2.0, 2.0, 100.0);
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  const double h = std::tan(60.0 * omni::PI / 360.0) * 2.0;
  EXPECT_NEAR(m[5], 2.0 / h, 1e-5);
  EXPECT_NEAR(m[0], 2.0 / (2.0 * h), 1e-5);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}
