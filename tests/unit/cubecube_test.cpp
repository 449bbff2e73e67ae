#include "effect/cubecube.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <tuple>

#include "gl_context.h"
#include "part_fixture.h"

namespace {

std::unique_ptr<effect::CubeCube> make_frame() {
  auto frame = std::make_unique<effect::CubeCube>();
  frame->Setup();
  return frame;
}

}  // namespace

// 56 distinct lattice points (odd multiples of 1.5) on the edges of the 15-unit cube, in order
// top face, bottom face, verticals from the top down; bursts go twice as far; all start at rest.
TEST(CubeCube, EdgePositions) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto frame = make_frame();
  ASSERT_EQ(frame->cube_count, 56u);
  ASSERT_EQ(frame->burst_positions.size(), 56u);
  ASSERT_EQ(frame->positions.size(), 56u);
  std::set<std::tuple<float, float, float>> distinct;
  for (unsigned int i = 0; i < 56; ++i) {
    const auto& p = frame->rest_positions[i];
    distinct.insert({p.x, p.y, p.z});
    int extremes = 0;
    for (float c : {p.x, p.y, p.z}) {
      EXPECT_EQ(std::fmod(std::fabs(c) / 1.5f, 2.0f), 1.0f) << "cube " << i;
      EXPECT_LE(std::fabs(c), 7.5f) << "cube " << i;
      extremes += std::fabs(c) == 7.5f;
    }
    EXPECT_GE(extremes, 2) << "cube " << i << " is not on an edge";
    const auto& b = frame->burst_positions[i];
    expect_vec(b, 2 * p.x, 2 * p.y, 2 * p.z);
    expect_vec(frame->positions[i], p.x, p.y, p.z);
  }
  EXPECT_EQ(distinct.size(), 56u);
}

// A burst starts only on the frame that brings an even beat, at 0.99 of the burst positions,
// ignores beats while it runs, and ends exactly at rest after 51 calls.
TEST(CubeCube, BurstFromEvenBeatBackToRest) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto frame = make_frame();
  frame->UpdateLogic(0.0f, 1, true);
  frame->UpdateLogic(0.01f, 2, false);
  EXPECT_FALSE(frame->bursting) << "burst on an odd beat or inside a beat";
  frame->UpdateLogic(0.02f, 2, true);
  ASSERT_TRUE(frame->bursting);
  expect_vec(frame->positions[0], -15.0f * 0.99f, 15.0f * 0.99f, -15.0f * 0.99f);
  frame->UpdateLogic(0.03f, 4, true);
  EXPECT_EQ(frame->burst_factor, 0.99f - 0.01f);
  int calls = 2;
  for (; frame->bursting && calls < 100; ++calls) frame->UpdateLogic(0.04f, 4, false);
  EXPECT_EQ(calls, 51);
  for (unsigned int i = 0; i < frame->cube_count; ++i) {
    const auto& r = frame->rest_positions[i];
    expect_vec(frame->positions[i], r.x, r.y, r.z);
  }
}
