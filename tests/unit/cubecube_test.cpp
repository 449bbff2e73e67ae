#include "effect/cubecube.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

effect::CubeCube* make_frame() {
  effect::CubeCube* frame = new effect::CubeCube();
  frame->Setup();
  return frame;
}

bool at(const omni::Vector3<float>& v, float x, float y, float z) {
  return v.x == x && v.y == y && v.z == z;
}

}  // namespace

TEST(CubeCube, EdgePositions) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::CubeCube* frame = make_frame();
  EXPECT_STREQ(frame->Name(), "CubeCube");
  ASSERT_EQ(frame->cube_count, 56u);
  ASSERT_EQ(frame->rest_positions.size(), 56u);
  ASSERT_EQ(frame->burst_positions.size(), 56u);
  ASSERT_EQ(frame->positions.size(), 56u);

  std::set<std::tuple<float, float, float>> distinct;
  for (unsigned int i = 0; i < 56; ++i) {
    const auto& p = frame->rest_positions[i];
    distinct.insert({p.x, p.y, p.z});
    int extremes = 0;
    for (float c : {p.x, p.y, p.z}) {
      EXPECT_LE(std::fabs(c), 7.5f);
      // Lattice points only: odd multiples of 1.5.
      EXPECT_EQ(std::fmod(std::fabs(c) / 1.5f, 2.0f), 1.0f) << "cube " << i;
      if (std::fabs(c) == 7.5f) ++extremes;
    }
    EXPECT_GE(extremes, 2) << "cube " << i << " is not on an edge";
    const auto& b = frame->burst_positions[i];
    EXPECT_TRUE(at(b, 2 * p.x, 2 * p.y, 2 * p.z));
    EXPECT_LE(std::fabs(b.x), 15.0f);
    EXPECT_TRUE(at(frame->positions[i], p.x, p.y, p.z)) << "starts at rest";
  }
  EXPECT_EQ(distinct.size(), 56u);

  // The order: top face's edges, bottom face's, then the verticals from the top down.
  const auto& r = frame->rest_positions;
  EXPECT_TRUE(at(r[0], -7.5f, 7.5f, -7.5f));
  EXPECT_TRUE(at(r[5], -7.5f, 7.5f, 7.5f));
  EXPECT_TRUE(at(r[6], 7.5f, 7.5f, -7.5f));
  EXPECT_TRUE(at(r[12], -4.5f, 7.5f, -7.5f));
  EXPECT_TRUE(at(r[19], 4.5f, 7.5f, 7.5f));
  EXPECT_TRUE(at(r[20], -7.5f, -7.5f, -7.5f));
  EXPECT_TRUE(at(r[40], -7.5f, 4.5f, -7.5f));
  EXPECT_TRUE(at(r[43], -7.5f, -4.5f, -7.5f));
  EXPECT_TRUE(at(r[44], 7.5f, 4.5f, -7.5f));
  EXPECT_TRUE(at(r[48], 7.5f, 4.5f, 7.5f));
  EXPECT_TRUE(at(r[55], -7.5f, -4.5f, 7.5f));
  delete frame;
}

TEST(CubeCube, BurstFromEvenBeatBackToRest) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::CubeCube* frame = make_frame();

  // Odd beats and frames inside a beat never start a burst.
  frame->UpdateLogic(0.0f, 1, true);
  frame->UpdateLogic(0.01f, 2, false);
  EXPECT_FALSE(frame->bursting);
  EXPECT_TRUE(at(frame->positions[0], -7.5f, 7.5f, -7.5f));

  frame->UpdateLogic(0.02f, 2, true);
  ASSERT_TRUE(frame->bursting);
  EXPECT_EQ(frame->burst_factor, 0.99f);
  EXPECT_TRUE(at(frame->positions[0], -15.0f * 0.99f, 15.0f * 0.99f, -15.0f * 0.99f));

  // A beat change during the burst does not restart it.
  frame->UpdateLogic(0.03f, 4, true);
  EXPECT_EQ(frame->burst_factor, 0.99f - 0.01f);

  int calls = 2;
  while (frame->bursting && calls < 100) {
    frame->UpdateLogic(0.04f, 4, false);
    ++calls;
  }
  EXPECT_EQ(calls, 51);
  for (unsigned int i = 0; i < frame->cube_count; ++i) {
    const auto& r = frame->rest_positions[i];
    EXPECT_TRUE(at(frame->positions[i], r.x, r.y, r.z)) << "cube " << i << " not exactly at rest";
  }
  delete frame;
}

// Drawn, the frame turns by `rotation` x `time`: a quarter turn about Z after one second at
// 90 degrees a second takes the cube at (7.5, -7.5, z) to (7.5, 7.5, z).
TEST(CubeCube, SpinAngleGrowsWithTime) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::CubeCube* frame = make_frame();
  frame->SetRotation(omni::Vector3<float>(0, 0, 90));
  frame->SetStartPos(omni::Vector3<float>(1, 2, 3));
  frame->UpdateLogic(1.0f, 1, false);

  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  frame->Draw();
  float m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  glPopMatrix();
  // Column-major: x axis goes to +y, y axis to -x; translation kept.
  EXPECT_NEAR(m[0], 0.0f, 1e-6f);
  EXPECT_NEAR(m[1], 1.0f, 1e-6f);
  EXPECT_NEAR(m[4], -1.0f, 1e-6f);
  EXPECT_NEAR(m[5], 0.0f, 1e-6f);
  EXPECT_EQ(m[12], 1.0f);
  EXPECT_EQ(m[13], 2.0f);
  EXPECT_EQ(m[14], 3.0f);
  float c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_EQ(c[0], 1.0f);  // white until SetColor
  EXPECT_EQ(gl::error_count(), 0);
  delete frame;
}
