#include "effect/camera.h"

#include <gtest/gtest.h>

namespace {

using V = omni::Vector3<float>;
using C = effect::Camera;

}  // namespace

TEST(Camera, LinearMovesFromThePreviousTargetAndHolds) {
  C camera;
  camera.AddPosition(C::LINEAR, 10, 4, V(0, 0, 100));
  const float times[] = {9, 11, 14, 30};
  const float z[] = {0, 25, 100, 100};
  for (int i = 0; i < 4; ++i) {
    camera.UpdateLogic(times[i], 0, false);
    EXPECT_FLOAT_EQ(camera.location.z, z[i]) << times[i];
  }
  // The next LINEAR starts from this target, not from where the camera stands at its start.
  camera.AddPosition(C::LINEAR, 40, 10, V(0, 0, 0));
  camera.location = V(5, 5, 5);
  camera.UpdateLogic(45.0f, 0, false);
  EXPECT_FLOAT_EQ(camera.location.z, 50);
  EXPECT_FLOAT_EQ(camera.location.x, 0);
  // Rotations are interpolated without wrapping: 350 to 10 turns back through 180.
  camera.AddRotation(C::CUT, 0, 0, V(350, 0, 0));
  camera.AddRotation(C::LINEAR, 50, 2, V(10, 0, 0));
  camera.UpdateLogic(50, 0, false);
  camera.UpdateLogic(51, 0, false);
  EXPECT_FLOAT_EQ(camera.rotation.x, 180);
}

TEST(Camera, OneKeyframePerTrackPerFrameAndUnknownKindsHalt) {
  C camera;
  camera.AddPosition(C::CUT, 1, 0, V(1, 0, 0));
  camera.AddPosition(C::LINEAR, 1, 0, V(2, 0, 0));  // zero duration: no division
  camera.AddPosition(C::CUT, 1, 0, V(3, 0, 0));
  camera.AddPosition(static_cast<C::transition_t>(7), 0, 0, V(9, 9, 9));
  camera.AddPosition(C::CUT, 0, 0, V(4, 4, 4));
  for (float x : {1.0f, 2.0f, 3.0f, 3.0f, 3.0f}) {
    camera.UpdateLogic(5, 0, false);
    EXPECT_EQ(camera.location.x, x);
  }
  EXPECT_EQ(camera.place_index, 3u);  // stuck on the unknown kind for good
}

// A smooth move eases in and out: hand-worked at quarters of a move from z = 0 to z = 100 over
// 4 s from 10 s (p*p*(3-2p): 0.15625, 0.5, 0.84375), at rest at both ends, on to the target at
// its end; a smooth rotation after a cut starts from the cut's target.
TEST(Camera, SmoothEasesInAndOutBetweenTargets) {
  C camera;
  camera.AddPosition(C::SMOOTH, 10, 4, V(0, 0, 100));
  camera.AddRotation(C::CUT, 0, 0, V(0, 40, 0));
  camera.AddRotation(C::SMOOTH, 2, 2, V(0, 80, -20));
  const float times[] = {0, 3, 9, 10, 11, 12, 13, 14, 20};
  const float z[] = {0, 0, 0, 0, 15.625f, 50, 84.375f, 100, 100};
  const float yaw[] = {40, 60, 80, 80, 80, 80, 80, 80, 80};
  for (int i = 0; i < 9; ++i) {
    camera.UpdateLogic(times[i], 0, false);
    EXPECT_FLOAT_EQ(camera.location.z, z[i]) << times[i];
    EXPECT_FLOAT_EQ(camera.rotation.y, yaw[i]) << times[i];
  }
  EXPECT_FLOAT_EQ(camera.rotation.z, -20);

  // At rest at both ends: over the first and the last 1/120 s of the move it covers far less
  // than a linear move's even 100 / 480 a step, and in the middle half as much again.
  C a, b, c;
  for (C* cam : {&a, &b, &c}) cam->AddPosition(C::SMOOTH, 10, 4, V(0, 0, 100));
  const float step = 1.0f / 120;
  a.UpdateLogic(10 + step, 0, false);
  b.UpdateLogic(14 - step, 0, false);
  c.UpdateLogic(12 + step, 0, false);
  EXPECT_LT(a.location.z, 0.01f);
  EXPECT_GT(b.location.z, 99.99f);
  EXPECT_NEAR(c.location.z - 50, 1.5f * 100 / 480, 0.01f);
}
