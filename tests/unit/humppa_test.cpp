#include "effect/humppa.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "gl_context.h"

namespace {

using effect::Humppa;

// Seeds the walk so that its next value mod 5 is r (the walk's step choice).
void seed_for_step(Humppa& h, int r) {
  for (unsigned int seed = 1;; ++seed) {
    if (effect::SeededRandom(seed).Next() % 5 == r) {
      h.walk_random = effect::SeededRandom(seed);
      return;
    }
  }
}

// Number of pillars above their resting height.
int raised(const Humppa& h) {
  int n = 0;
  for (float height : h.heights) n += height > 1.0f;
  return n;
}

}  // namespace

// Before the frame that brings the pillar beat with beat_changed, the walk neither starts nor
// draws a number; that frame takes the first step at once.
TEST(Humppa, WalkStartsOnlyOnTheFrameThatBringsThePillarBeat) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto h = std::make_unique<Humppa>();
  h->EnablePillarsAt(10);
  for (int beat = 0; beat < 10; ++beat) h->UpdateLogic(beat * 0.4f, beat, true);
  h->UpdateLogic(4.0f, 10, false);
  h->UpdateLogic(4.2f, 11, true);
  EXPECT_FALSE(h->pillars_enabled);
  EXPECT_EQ(raised(*h), 0);

  h->UpdateLogic(4.3f, 10, true);
  ASSERT_TRUE(h->pillars_enabled);
  const int steps[5] = {64, -64, 1, -1, -1};
  EXPECT_EQ(h->walker, 1234 + steps[effect::SeededRandom(715517).Next() % 5])
      << "not the seed's first step (a number drawn before the pillar beat?)";
  EXPECT_EQ(h->heights[h->walker], 7.9f);
  EXPECT_EQ(raised(*h), 1);
  // At most one step per 0.01 s.
  const int walker = h->walker;
  h->UpdateLogic(4.305f, 0, false);
  EXPECT_EQ(h->walker, walker);
}

// A step past either end of 0..4095 jumps to the other end.
TEST(Humppa, WalkWrapsToTheFarEnd) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto h = std::make_unique<Humppa>();
  h->pillars_enabled = true;
  // From, step choice (+64, -64, +1, -1, -1), to.
  const int cases[][3] = {{4090, 0, 0}, {10, 1, 4095}, {4095, 2, 0}, {0, 3, 4095}, {0, 4, 4095}};
  float time = 0.0f;
  for (const auto& c : cases) {
    h->walker = c[0];
    seed_for_step(*h, c[1]);
    h->UpdateLogic(time += 1.0f, 20, false);
    EXPECT_EQ(h->walker, c[2]) << c[0] << " with r = " << c[1];
  }
}

// A hit raises the pillar by 7 and every frame, the hit's own included, sinks it by 0.1 until
// it is at or below 1; a second hit adds 7 to the height it has sunk to.
TEST(Humppa, HitsRaiseBySevenAndSinkEveryFrame) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto h = std::make_unique<Humppa>();
  h->pillars_enabled = true;
  auto hit = [&](int from, int r, float time) {
    h->walker = from;
    seed_for_step(*h, r);
    h->step_interval = 0.01f;
    h->UpdateLogic(time, 0, false);
    h->step_interval = 1e9f;  // no further steps
  };
  hit(1001, 3, 1.0f);  // -1: onto pillar 1000
  ASSERT_EQ(h->walker, 1000);
  EXPECT_EQ(h->heights[1000], 7.9f);
  for (int decays = 2; decays <= 70; ++decays) h->UpdateLogic(2.0f, 0, false);
  EXPECT_GT(h->heights[1000], 1.0f);
  h->UpdateLogic(2.0f, 0, false);
  EXPECT_NEAR(h->heights[1000], 0.9000055, 1e-7);
  h->UpdateLogic(2.0f, 0, false);
  EXPECT_NEAR(h->heights[1000], 0.9000055, 1e-7) << "a settled pillar sinks no further";

  hit(2001, 3, 3.0f);  // onto pillar 2000 at 7.9
  for (int frame = 0; frame < 5; ++frame) h->UpdateLogic(3.0f, 0, false);
  hit(1999, 2, 4.0f);  // +1: back onto pillar 2000, at 7.4 before the hit
  ASSERT_EQ(h->walker, 2000);
  EXPECT_NEAR(h->heights[2000], 14.3, 1e-4);  // 7.4 + 7.0, less this frame's sinking
}

// The walk draws glibc's rand() sequence on every platform (the show was made with it): against
// this C library's own rand() where that is glibc, for the show's seed and the edge seeds.
TEST(SeededRandom, IsGlibcRandAfterSrand) {
#ifdef __GLIBC__
  for (unsigned int seed : {715517u, 0u, 1u, 2147483647u, 4000000000u}) {
    std::srand(seed);
    effect::SeededRandom random(seed);
    for (int draw = 0; draw < 5000; ++draw) {
      ASSERT_EQ(random.Next(), std::rand()) << "seed " << seed << ", draw " << draw;
    }
  }
#else
  GTEST_SKIP() << "not glibc";
#endif
}
