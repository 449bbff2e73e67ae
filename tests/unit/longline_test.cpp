#include "effect/longline.h"

#include <gtest/gtest.h>

#include <vector>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

// A set-up row of `length` with the show's defaults (scale 1, pulse 2, gap 3).
effect::LongLine* make_row(float length, bool forward) {
  effect::LongLine* row = new effect::LongLine();
  row->SetLength(length);
  row->SetDirection(forward);
  row->Setup();
  return row;
}

int enlarged_cube(const effect::LongLine& row) {
  int found = -1;
  for (unsigned int i = 0; i < row.cube_count; ++i) {
    if (row.sizes[i] > row.size) {
      EXPECT_EQ(found, -1) << "more than one enlarged cube";
      found = static_cast<int>(i);
    }
  }
  return found;
}

}  // namespace

TEST(LongLine, DefaultsBeforeSetters) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::LongLine row;
  EXPECT_STREQ(row.Name(), "LongLine");
  EXPECT_NE(row.display_list, 0u);
  EXPECT_EQ(row.color[0], 1.0f);
  EXPECT_EQ(row.color[1], 1.0f);
  EXPECT_EQ(row.color[2], 1.0f);
  EXPECT_TRUE(row.direction);
  EXPECT_EQ(row.cube_count, 0u);
  EXPECT_EQ(row.Draw(), 0);  // nothing set up: draws nothing
  EXPECT_EQ(gl::error_count(), 0);
}

TEST(LongLine, CubeCountsAndPositions) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::LongLine* row = make_row(390, true);
  ASSERT_EQ(row->cube_count, 97u);
  ASSERT_EQ(row->positions.size(), 97u);
  ASSERT_EQ(row->sizes.size(), 97u);
  for (unsigned int i = 0; i < row->cube_count; ++i) {
    EXPECT_EQ(row->positions[i].x, 4.0f * i);
    EXPECT_EQ(row->positions[i].y, 0.0f);
    EXPECT_EQ(row->positions[i].z, 0.0f);
    EXPECT_EQ(row->sizes[i], 1.0f);
  }
  EXPECT_EQ(row->positions.back().x, 384.0f);
  delete row;

  row = make_row(400, true);
  EXPECT_EQ(row->cube_count, 100u);
  delete row;

  // Shorter than one spacing: no cubes; a step records its time and touches nothing.
  row = make_row(3.9f, true);
  EXPECT_EQ(row->cube_count, 0u);
  row->UpdateLogic(0.1f, 0, false);
  EXPECT_EQ(row->last_step_time, 0.1f);
  EXPECT_TRUE(row->sizes.empty());
  EXPECT_EQ(row->Draw(), 0);
  delete row;
}

TEST(LongLine, FirstStepLandsAt100Milliseconds) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::LongLine* fwd = make_row(40, true);
  effect::LongLine* back = make_row(40, false);
  for (effect::LongLine* row : {fwd, back}) {
    row->UpdateLogic(0.0f, 0, true);
    row->UpdateLogic(0.099f, 0, false);
    EXPECT_EQ(enlarged_cube(*row), -1);
    row->UpdateLogic(0.1f, 0, false);
  }
  EXPECT_EQ(enlarged_cube(*fwd), 1);
  EXPECT_EQ(fwd->current_cube, 1);
  EXPECT_EQ(enlarged_cube(*back), 9);
  EXPECT_EQ(back->current_cube, 9);
  // Decayed already in the call that made the step.
  EXPECT_FLOAT_EQ(fwd->sizes[1], 1.99f);
  EXPECT_FLOAT_EQ(back->sizes[9], 1.99f);
  delete fwd;
  delete back;
}

TEST(LongLine, PulseWrapsBothWays) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::LongLine* fwd = make_row(12, true);  // 3 cubes
  effect::LongLine* back = make_row(12, false);
  const int fwd_expect[] = {1, 2, 0, 1};
  const int back_expect[] = {2, 1, 0, 2};
  for (int step = 0; step < 4; ++step) {
    const float t = 0.15f * (step + 1);
    fwd->UpdateLogic(t, 0, false);
    back->UpdateLogic(t, 0, false);
    EXPECT_EQ(fwd->current_cube, fwd_expect[step]) << "step " << step;
    EXPECT_EQ(back->current_cube, back_expect[step]) << "step " << step;
  }
  delete fwd;
  delete back;
}

TEST(LongLine, OneStepPerCallHoweverLate) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::LongLine* row = make_row(40, true);
  row->UpdateLogic(1.0f, 0, false);  // ten intervals late
  EXPECT_EQ(row->current_cube, 1);
  EXPECT_EQ(row->last_step_time, 1.0f);
  row->UpdateLogic(1.05f, 0, false);  // measured from the late step: no step yet
  EXPECT_EQ(row->current_cube, 1);
  row->UpdateLogic(1.11f, 0, false);
  EXPECT_EQ(row->current_cube, 2);
  delete row;
}

TEST(LongLine, DecayPerCallBackToRestAfter101Calls) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::LongLine* row = make_row(40, true);
  row->UpdateLogic(0.1f, 0, false);
  ASSERT_EQ(row->current_cube, 1);
  int calls = 1;
  // Same time on every further call: no step, yet the decay goes on.
  while (row->sizes[1] > 1.0f && calls < 200) {
    row->UpdateLogic(0.15f, 0, false);
    ++calls;
  }
  EXPECT_EQ(calls, 101);
  EXPECT_NEAR(row->sizes[1], 0.99f, 1e-4f);
  const float rest = row->sizes[1];
  row->UpdateLogic(0.15f, 0, false);
  EXPECT_EQ(row->sizes[1], rest);  // below rest: no longer shrinks
  delete row;
}

// The pulse colour is what reaches GL: a backward row's first step lands on its last cube,
// the last one drawn, so the current colour after Draw is the pulse's.
TEST(LongLine, PulseColourReachesGlUnclamped) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::LongLine* row = make_row(12, false);
  row->SetColor(0.7f, 0.0f, 0.7f);
  row->UpdateLogic(0.1f, 0, false);
  ASSERT_EQ(row->current_cube, 2);
  row->Draw();
  float c[4] = {0, 0, 0, 0};
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_NEAR(c[0], 1.195f, 1e-5f);
  EXPECT_EQ(c[1], 0.0f);
  EXPECT_NEAR(c[2], 1.195f, 1e-5f);
  EXPECT_EQ(c[3], 0.5f);

  // Channels of 0.1 or less never brighten; the others do.
  row->SetColor(0.0f, 0.1f, 0.2f);
  row->Draw();
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_EQ(c[0], 0.0f);
  EXPECT_EQ(c[1], 0.1f);
  EXPECT_NEAR(c[2], 0.2f + 0.99f * 0.5f, 1e-5f);
  EXPECT_EQ(gl::error_count(), 0);
  delete row;
}

// Seen on screen: a black row pulsing in front of a white background stays black, and the
// pulsing cube covers more pixels than a resting one.
TEST(LongLine, BlackRowStaysBlackOnScreen) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::LongLine* row = make_row(12, false);  // 3 cubes at x = 0, 4, 8
  row->SetColor(0.0f, 0.0f, 0.0f);
  row->SetStartPos(omni::Vector3<float>(-4.0f, 0.0f, -12.0f));
  row->UpdateLogic(0.1f, 0, false);  // pulse on cube 2 at scale 1.99

  auto dark_pixels = [] {
    std::vector<unsigned char> rgb = read_test_pixels();
    int dark = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
      const int sum = rgb[i] + rgb[i + 1] + rgb[i + 2];
      EXPECT_TRUE(sum == 0 || sum == 3 * 255) << "pixel " << i / 3 << " is neither black nor white";
      if (sum == 0) ++dark;
    }
    return dark;
  };

  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  row->Draw();
  glPopMatrix();
  const int pulsing = dark_pixels();

  while (row->sizes[2] > row->size) row->UpdateLogic(0.15f, 0, false);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  row->Draw();
  glPopMatrix();
  const int resting = dark_pixels();

  EXPECT_GT(resting, 0);
  EXPECT_GT(pulsing, resting);
  EXPECT_EQ(gl::error_count(), 0);
  delete row;
}
