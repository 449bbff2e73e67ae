#ifndef TESSARY_TESTS_KEYFRAMES_H
#define TESSARY_TESTS_KEYFRAMES_H

#include <gtest/gtest.h>

#include <vector>

#include "demo/demo.h"
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

// Checks a vector exactly.
inline void expect_vec(const omni::Vector3<float>& v, float x, float y, float z) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
}

// The nodes of a timeline list, in order.
inline std::vector<Enabler*> list_nodes(Enabler* head) {
  std::vector<Enabler*> nodes;
  for (Enabler* node = head; node != nullptr; node = node->next) nodes.push_back(node);
  return nodes;
}

#endif
