#ifndef TESSARY_TESTS_PART_FIXTURE_H
#define TESSARY_TESTS_PART_FIXTURE_H

#include <gtest/gtest.h>

#include <vector>

#include "demo/demo.h"
#include "omni/vector3.h"
#include "tunables.h"

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

// One part built on its own as init_demo places it: beats first to last, its clock starting
// at first x seconds per beat. Owns the nodes; needs the test GL context.
struct BuiltPart {
  effect::Camera camera;
  float start_time = 0.0f;
  Enabler* list = nullptr;
  std::vector<Enabler*> nodes;
  BuiltPart(part_builder_t build, int first, int last)
      : start_time(static_cast<float>(first * static_cast<double>(show_seconds_per_beat))) {
    list = build(nullptr, camera, show_seconds_per_beat, start_time, first, last);
    nodes = list_nodes(list);
  }
  ~BuiltPart() { enabler_cleanup(list); }
};

#endif
