#include "effect/longline.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

// A set-up row of `length` with the show's defaults (scale 1, pulse 2, gap 4).
std::unique_ptr<effect::LongLine> make_row(float length, bool forward) {
  auto row = std::make_unique<effect::LongLine>();
  row->SetLength(length);
  row->SetDirection(forward);
  row->Setup();
  return row;
}

}  // namespace

// One cube every 4 units from x = 0; a row shorter than that has none and a step touches
// nothing.
TEST(LongLine, DefaultsAndCubeCounts) {
  ASSERT_NE(test_gl_context(), nullptr);
  const float cases[][2] = {{390, 97}, {400, 100}, {3.9f, 0}};  // length, cubes
  for (const auto& c : cases) {
    auto row = make_row(c[0], true);
    ASSERT_EQ(row->cube_count, c[1]) << c[0];
    ASSERT_EQ(row->sizes.size(), c[1]);
    for (unsigned int i = 0; i < row->cube_count; ++i) {
      EXPECT_EQ(row->positions[i].x, 4.0f * i);
      EXPECT_EQ(row->sizes[i], 1.0f);
    }
    row->UpdateLogic(0.1f, 0, false);  // with no cubes, must touch none
  }
}

// The pulse steps every 0.1 s, one cube per call however late the call, forward from cube 0
// or backward onto the last cube, wrapping at both ends; the stepped cube is already decayed
// to 1.99 in the call that made the step.
TEST(LongLine, PulseSteps) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto fwd = make_row(12, true);  // 3 cubes
  auto back = make_row(12, false);
  fwd->UpdateLogic(0.099f, 0, false);
  back->UpdateLogic(0.099f, 0, false);
  EXPECT_EQ(fwd->sizes, std::vector<float>(3, 1.0f)) << "stepped before 0.1 s";
  EXPECT_EQ(back->sizes, std::vector<float>(3, 1.0f)) << "stepped before 0.1 s";
  // Time, then the cube the forward and the backward row pulse on.
  const float steps[][3] = {{0.1f, 1, 2}, {0.25f, 2, 1}, {0.4f, 0, 0},
                            {1.4f, 1, 2}, {1.45f, 1, 2}, {1.51f, 2, 1}};
  for (const auto& s : steps) {
    fwd->UpdateLogic(s[0], 0, false);
    back->UpdateLogic(s[0], 0, false);
    EXPECT_EQ(fwd->current_cube, s[1]) << "at " << s[0];
    EXPECT_EQ(back->current_cube, s[2]) << "at " << s[0];
    if (s[0] == 0.1f) {
      EXPECT_FLOAT_EQ(fwd->sizes[1], 1.99f);
      EXPECT_FLOAT_EQ(back->sizes[2], 1.99f);
    }
  }
}

// Every call decays, even without a step: a pulse is back at or below rest after 101 calls.
TEST(LongLine, DecayPerCallBackToRestAfter101Calls) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto row = make_row(40, true);
  row->UpdateLogic(0.1f, 0, false);
  int calls = 1;
  for (; row->sizes[1] > 1.0f && calls < 200; ++calls) row->UpdateLogic(0.15f, 0, false);
  EXPECT_EQ(calls, 101);
  const float rest = row->sizes[1];
  EXPECT_NEAR(rest, 0.99f, 1e-4f);
  row->UpdateLogic(0.15f, 0, false);
  EXPECT_EQ(row->sizes[1], rest) << "below rest: no longer shrinks";
}

// The pulse brightens channels above 0.1 by half its extra scale, unclamped, and reaches GL:
// a backward row's first step lands on its last cube, the last one drawn. Black stays black.
TEST(LongLine, PulseColourReachesGlUnclamped) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto row = make_row(12, false);
  row->UpdateLogic(0.1f, 0, false);
  // Row colour, then the colour drawn (alpha 0.5) for the fresh pulse.
  const float cases[][6] = {
      {0.7f, 0, 0.7f, 1.195f, 0, 1.195f}, {0, 0.1f, 0.2f, 0, 0.1f, 0.695f}, {0, 0, 0, 0, 0, 0}};
  for (const auto& c : cases) {
    row->SetColor(c[0], c[1], c[2]);
    row->Draw();
    float got[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, got);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], c[i + 3], 1e-5f) << c[0] << ", " << c[1];
    EXPECT_EQ(got[3], 0.5f);
  }
}
