#include "effect/cubecube.h"

#include <gtest/gtest.h>

#include <memory>

#include "gl_context.h"
#include "part_fixture.h"

// A burst starts only on the frame that brings an even beat, at 0.99 of the burst positions,
// ignores beats while it runs, and ends exactly at rest after 51 calls.
TEST(CubeCube, BurstFromEvenBeatBackToRest) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto frame = std::make_unique<effect::CubeCube>();
  frame->Setup();
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
