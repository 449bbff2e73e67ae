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
