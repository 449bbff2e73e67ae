#ifndef TESSARY_TESTS_KEYFRAMES_H
#define TESSARY_TESTS_KEYFRAMES_H

#include <gtest/gtest.h>

#include "effect/camera.h"

// Checks one camera keyframe (position or rotation) field by field, exactly.
template <typename Key>
void expect_key(const Key& k, effect::Camera::transition_t kind, float start, float duration,
                float x, float y, float z) {
  EXPECT_EQ(k.transition, kind);
  EXPECT_EQ(k.start_time, start);
  EXPECT_EQ(k.duration, duration);
  EXPECT_EQ(k.target.x, x);
  EXPECT_EQ(k.target.y, y);
  EXPECT_EQ(k.target.z, z);
}

#endif
