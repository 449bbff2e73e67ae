#include "effect/humppa.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

using effect::Humppa;

// The next value rand() would give after a fresh srand(715517) and `skip` draws.
int seeded_rand(int skip) {
  std::srand(715517);
  for (int i = 0; i < skip; ++i) std::rand();
  return std::rand();
}

// True when the generator stands `draws` values after srand(715517). Consumes one value.
bool rand_position_is(int draws) {
  const int next = std::rand();
  return next == seeded_rand(draws);
}

// Seeds rand() so that its next value mod 5 is r.
void seed_for_step(int r) {
  for (unsigned int seed = 1;; ++seed) {
    std::srand(seed);
    if (std::rand() % 5 == r) {
      std::srand(seed);
      return;
    }
  }
}

std::unique_ptr<Humppa> make_humppa() {
  if (test_gl_context() == nullptr) return nullptr;
  return std::make_unique<Humppa>();
}

// Number of pillars above their resting height.
int raised(const Humppa& h) {
  int n = 0;
  for (float height : h.heights) n += height > 1.0f;
  return n;
}

}  // namespace

TEST(Humppa, BuildsTheGrid) {
  auto h = make_humppa();
  ASSERT_NE(h, nullptr);
  // j / 64 is the x column, j mod 64 the y row; every pillar starts at height 1.
  const struct {
    int j;
    float x, y;
  } cases[] = {{0, -96, -96}, {1, -96, -93}, {64, -93, -96}, {4095, 93, 93}};
  for (const auto& c : cases) {
    EXPECT_EQ(h->positions[c.j].x, c.x) << c.j;
    EXPECT_EQ(h->positions[c.j].y, c.y) << c.j;
  }
  EXPECT_EQ(raised(*h), 0);
  EXPECT_EQ(h->heights[4095], 1.0f);
}

TEST(Humppa, WaitsForThePillarBeatWithoutDrawingRandomNumbers) {
  auto h = make_humppa();
  ASSERT_NE(h, nullptr);
  h->EnablePillarsAt(10);
  effect::PlasmaTexture reference;
  ASSERT_TRUE(reference.Init(64, 64));
  float time = 0.0f;
  for (int beat = 0; beat < 10; ++beat) {
    for (int frame = 0; frame < 3; ++frame, time += 1.0f / 120) {
      h->UpdateLogic(time, beat, frame == 0);
    }
  }
  // The frame that brings beat 10 without the beat_changed flag, and a changed beat 11, do not
  // start the walk either.
  h->UpdateLogic(time, 10, false);
  h->UpdateLogic(time, 11, true);
  EXPECT_FALSE(h->pillars_enabled);
  EXPECT_EQ(raised(*h), 0);
  EXPECT_EQ(h->walker, 1234);
  EXPECT_TRUE(rand_position_is(0));

  // The plasma still moves with time.
  reference.RenderTexture(effect::texture_ms(time));
  EXPECT_EQ(0, std::memcmp(h->plasma.pixels, reference.pixels, reference.byte_count));
}

TEST(Humppa, WalkStartsOnTheFrameThatBringsThePillarBeat) {
  auto h = make_humppa();
  ASSERT_NE(h, nullptr);
  h->EnablePillarsAt(10);
  h->UpdateLogic(4.2f, 9, true);
  EXPECT_FALSE(h->pillars_enabled);
  h->UpdateLogic(4.3f, 10, true);
  ASSERT_TRUE(h->pillars_enabled);

  // The first walking frame steps at once (last_step_time starts at 0) with the first draw.
  EXPECT_TRUE(rand_position_is(1));
  const int steps[5] = {64, -64, 1, -1, -1};
  EXPECT_EQ(h->walker, 1234 + steps[seeded_rand(0) % 5]);
  EXPECT_EQ(h->last_step_time, 4.3f);
  EXPECT_EQ(h->heights[h->walker], 7.9f);
  EXPECT_EQ(raised(*h), 1);

  // At most one step per 0.01 s: a frame 5 ms later decays but does not step.
  std::srand(715517);
  std::rand();
  const int walker = h->walker;
  h->UpdateLogic(4.305f, 10, false);
  EXPECT_EQ(h->walker, walker);
  EXPECT_TRUE(rand_position_is(1));

  // Walking never stops, whatever the beat.
  h->UpdateLogic(4.4f, 0, true);
  EXPECT_TRUE(h->pillars_enabled);
}

TEST(Humppa, WalkJumpsToTheFarEndOfTheRange) {
  auto h = make_humppa();
  ASSERT_NE(h, nullptr);
  h->pillars_enabled = true;
  const struct {
    int from, r, to;
  } cases[] = {
      {4090, 0, 0},     // +64 past the end
      {10, 1, 4095},    // -64 below zero
      {4095, 2, 0},     // +1 past the end
      {0, 3, 4095},     // -1 below zero
      {0, 4, 4095},     // the other -1
      {1234, 0, 1298},  // no wrap
      {1234, 1, 1170}, {1234, 2, 1235},
  };
  float time = 0.0f;
  for (const auto& c : cases) {
    h->walker = c.from;
    time += 1.0f;
    seed_for_step(c.r);
    h->UpdateLogic(time, 20, false);
    EXPECT_EQ(h->walker, c.to) << c.from << " with r = " << c.r;
    EXPECT_EQ(h->heights[c.to], 7.9f) << c.from << " with r = " << c.r;
    for (float& height : h->heights) height = 1.0f;
  }
}

TEST(Humppa, RaisedPillarSinksEveryFrameAndSettlesBelowOne) {
  auto h = make_humppa();
  ASSERT_NE(h, nullptr);
  h->EnablePillarsAt(10);
  h->UpdateLogic(1.0f, 10, true);  // raising frame: the first decay included
  const int pillar = h->walker;
  EXPECT_EQ(h->heights[pillar], 7.9f);
  h->step_interval = 1e9f;  // no further steps
  for (int decays = 2; decays <= 70; ++decays) h->UpdateLogic(1.0f + decays, 10, false);
  EXPECT_GT(h->heights[pillar], 1.0f);
  h->UpdateLogic(72.0f, 10, false);  // the 71st decay
  EXPECT_FLOAT_EQ(h->heights[pillar], 0.9000055f);
  EXPECT_NEAR(h->heights[pillar], 0.9000055, 1e-7);
  const float settled = h->heights[pillar];
  h->UpdateLogic(73.0f, 10, false);
  EXPECT_EQ(h->heights[pillar], settled);
  EXPECT_EQ(raised(*h), 0);
}

TEST(Humppa, SecondHitAddsSevenToTheCurrentHeight) {
  auto h = make_humppa();
  ASSERT_NE(h, nullptr);
  h->pillars_enabled = true;
  h->walker = 1001;
  seed_for_step(3);  // -1: onto pillar 1000
  h->UpdateLogic(1.0f, 0, false);
  ASSERT_EQ(h->walker, 1000);
  h->step_interval = 1e9f;
  for (int frame = 0; frame < 5; ++frame) h->UpdateLogic(1.1f, 0, false);
  const float before = h->heights[1000];
  EXPECT_NEAR(before, 7.4, 1e-5);
  h->step_interval = 0.01f;
  h->walker = 999;
  seed_for_step(2);  // +1: back onto pillar 1000
  h->UpdateLogic(2.0f, 0, false);
  ASSERT_EQ(h->walker, 1000);
  const float added = static_cast<float>(before + 7.0);
  EXPECT_EQ(h->heights[1000], static_cast<float>(static_cast<double>(added) - 0.1));
  EXPECT_NEAR(h->heights[1000], 14.3, 1e-4);  // 7.4 + 7.0, less this frame's decay
}

// Each pillar's top shows its texel's colour: straight down on the unrotated field (time 0)
// with lighting off, the centre pillar (i = k = 0, texel 2080) is in the middle of the picture,
// pillar i = 1 (texel 2144) to its right and pillar k = 1 (texel 2081) above it.
TEST(Humppa, PillarsTakeTheirTexelColours) {
  auto h = make_humppa();
  ASSERT_NE(h, nullptr);
  h->UpdateLogic(0.0f, 0, false);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDisable(GL_LIGHTING);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glTranslatef(0, 0, -5);
  EXPECT_EQ(h->Draw(), 0);
  glEnable(GL_LIGHTING);
  const std::vector<unsigned char> rgb = read_test_pixels();
  auto expect_texel_at = [&](int x, int row_from_top, int texel) {
    const unsigned char* pixel = &rgb[(row_from_top * 64 + x) * 3];
    const unsigned char* want = &h->plasma.pixels[texel * 3];
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(pixel[c], want[c], 1) << "texel " << texel << " channel " << c;
    }
  };
  expect_texel_at(32, 24, 2080);
  expect_texel_at(56, 24, 2144);
  expect_texel_at(32, 4, 2081);
}
