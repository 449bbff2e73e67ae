#include "effect/camera.h"

#include <gtest/gtest.h>

#include <array>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

using V = omni::Vector3<float>;

void step(effect::Camera& camera, float time) {
  camera.UpdateLogic(time, 0, false);
}

// The modelview matrix UpdateLocation leaves on an identity matrix.
std::array<float, 16> view_of(effect::Camera& camera) {
  std::array<float, 16> m{};
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  camera.UpdateLocation();
  glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
  glLoadIdentity();
  return m;
}

}  // namespace

TEST(Camera, WithoutKeyframesStaysAtTheOrigin) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::Camera camera;
  EXPECT_STREQ(camera.Name(), "Camera");
  step(camera, 12.0f);
  const auto m = view_of(camera);
  const std::array<float, 16> identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_EQ(m, identity);
}

TEST(Camera, CutLandsOnTheFirstFrameAtItsTime) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::Camera camera;
  camera.AddPosition(effect::Camera::CUT, 64.28571f, 0, V(0, 0, 120));
  step(camera, 64.2857f);
  EXPECT_EQ(camera.location.z, 0);
  step(camera, 64.28571f);
  EXPECT_EQ(camera.location.z, 120);
  EXPECT_EQ(camera.place_index, 1u);
  const auto m = view_of(camera);
  EXPECT_EQ(m[12], 0);
  EXPECT_EQ(m[14], -120);
}

TEST(Camera, LinearMovesFromThePreviousTargetAndHolds) {
  effect::Camera camera;
  camera.AddPosition(effect::Camera::LINEAR, 10, 4, V(0, 0, 100));
  step(camera, 9.0f);
  EXPECT_EQ(camera.location.z, 0);
  step(camera, 11.0f);
  EXPECT_FLOAT_EQ(camera.location.z, 25);
  step(camera, 14.0f);
  EXPECT_EQ(camera.location.z, 100);
  step(camera, 30.0f);
  EXPECT_EQ(camera.location.z, 100);
  // A later LINEAR starts from this target, not from where the camera stands at its start.
  camera.AddPosition(effect::Camera::LINEAR, 40, 10, V(0, 0, 0));
  camera.location = V(5, 5, 5);
  step(camera, 45.0f);
  EXPECT_FLOAT_EQ(camera.location.z, 50);
  EXPECT_FLOAT_EQ(camera.location.x, 0);
}

TEST(Camera, OneKeyframePerTrackPerFrame) {
  effect::Camera camera;
  camera.AddPosition(effect::Camera::CUT, 1, 0, V(1, 0, 0));
  camera.AddPosition(effect::Camera::LINEAR, 1, 0, V(2, 0, 0));  // zero duration: no division
  camera.AddPosition(effect::Camera::CUT, 1, 0, V(3, 0, 0));
  camera.AddRotation(effect::Camera::CUT, 1, 0, V(0, 90, 0));
  step(camera, 5);
  EXPECT_EQ(camera.location.x, 1);
  EXPECT_EQ(camera.rotation.y, 90);
  step(camera, 5);
  EXPECT_EQ(camera.location.x, 2);
  step(camera, 5);
  EXPECT_EQ(camera.location.x, 3);
  EXPECT_EQ(camera.place_index, camera.place_count);
  step(camera, 6);
  EXPECT_EQ(camera.location.x, 3);
}

TEST(Camera, UnknownTransitionHaltsItsTrackForGood) {
  effect::Camera camera;
  camera.AddPosition(static_cast<effect::Camera::transition_t>(7), 0, 0, V(9, 9, 9));
  camera.AddPosition(effect::Camera::CUT, 0, 0, V(1, 1, 1));
  for (int i = 0; i < 5; ++i) step(camera, 100.0f + i);
  EXPECT_EQ(camera.place_index, 0u);
  EXPECT_EQ(camera.location.x, 0);
}

TEST(Camera, RotationInterpolatesWithoutWrapping) {
  effect::Camera camera;
  camera.AddRotation(effect::Camera::CUT, 0, 0, V(350, 0, 0));
  camera.AddRotation(effect::Camera::LINEAR, 1, 2, V(10, 0, 0));
  step(camera, 0);
  step(camera, 2);
  EXPECT_FLOAT_EQ(camera.rotation.x, 180);
}

TEST(Camera, TransformTranslatesThenRotatesOnlyNonZeroAxes) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::Camera camera;
  camera.AddRotation(effect::Camera::CUT, 0, 0, V(0, 90, 0));
  camera.AddPosition(effect::Camera::CUT, 0, 0, V(1, 2, 3));
  step(camera, 0);
  const auto m = view_of(camera);
  // T(-1, -2, -3) * Ry(90): world +x goes to eye -z, world +z to eye +x.
  EXPECT_NEAR(m[0], 0, 1e-6);
  EXPECT_NEAR(m[2], -1, 1e-6);
  EXPECT_NEAR(m[8], 1, 1e-6);
  EXPECT_NEAR(m[5], 1, 1e-6);
  EXPECT_EQ(m[12], -1);
  EXPECT_EQ(m[13], -2);
  EXPECT_EQ(m[14], -3);
}
