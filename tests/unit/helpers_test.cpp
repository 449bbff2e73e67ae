#include "helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "gl/glcheck.h"
#include "gl_context.h"
#include "omni/vector3.h"

TEST(Helpers, PiIsTheShowsOwnValue) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &omni::PI, sizeof bits);
  EXPECT_EQ(bits, 0x400921FB54442D1AULL);
  EXPECT_GT(omni::PI, M_PI);
}

TEST(Helpers, BeatToSeconds) {
  EXPECT_FLOAT_EQ(beat2seconds(140, 4), 60.0f / 140.0f);
  EXPECT_EQ(beat2seconds(140, 4), 0.42857143f);
  EXPECT_FLOAT_EQ(beat2seconds(120, 1), 0.125f);
  EXPECT_EQ(beat2seconds(140, 0), 0.0f);
  // The show's start times rest on this product rounding to exactly 96.
  EXPECT_EQ(static_cast<float>(224.0 * beat2seconds(140, 4)), 96.0f);
}

TEST(Helpers, VectorArithmetic) {
  omni::Vector3<float> a(1, 2, 3), b(4, 6, 3);
  omni::Vector3<float> c = b - a;
  EXPECT_EQ(c.x, 3);
  EXPECT_EQ(c.y, 4);
  EXPECT_EQ(c.z, 0);
  EXPECT_EQ(c.length(), 5.0f);
  EXPECT_EQ(a.distance(b), 5.0f);
  c *= 2.0f;
  c += a;
  EXPECT_EQ(c.x, 7);
  EXPECT_EQ((a * 3.0f).z, 9);
  EXPECT_EQ(omni::Vector3<float>(50, -30, -10).length(), std::sqrt(3500.0f));
}

TEST(Helpers, SetPerspectiveBuildsTheFrustum) {
  ASSERT_NE(test_gl_context(), nullptr);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  setPerspective(90.0, 1.0, 1.0, 500.0);
  GLfloat m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  glMatrixMode(GL_MODELVIEW);
  // tan(45 degrees) = 1: w = h = 1 at the near plane.
  EXPECT_NEAR(m[0], 1.0f, 1e-6f);
  EXPECT_NEAR(m[5], 1.0f, 1e-6f);
  EXPECT_NEAR(m[10], -501.0f / 499.0f, 1e-6f);
  EXPECT_NEAR(m[11], -1.0f, 1e-6f);
  EXPECT_NEAR(m[14], -1000.0f / 499.0f, 1e-5f);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  setPerspective(60.0, 2.0, 2.0, 100.0);
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  const double h = std::tan(60.0 * omni::PI / 360.0) * 2.0;
  EXPECT_NEAR(m[5], 2.0 / h, 1e-5);
  EXPECT_NEAR(m[0], 2.0 / (2.0 * h), 1e-5);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

TEST(Helpers, ErrorLineFormat) {
  testing::internal::CaptureStdout();
  print_error("main", 51, "music_init", "Couldn't open music from file data/melody5.ogg");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "E: main:51, music_init() Couldn't open music from file data/melody5.ogg\n");
}
