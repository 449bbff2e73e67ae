#include <gtest/gtest.h>

#include "demo/demo.h"
#include "demo/show.h"
#include "effect/blockimage.h"
#include "effect/cubecube.h"
#include "gl_context.h"
#include "helpers.h"
#include "keyframes.h"

namespace {

using C = effect::Camera;

// The scroller part as init_demo places it: beats 266 to 330 from 114.0 s.
struct ScrollerPart {
  C camera;
  Enabler* list = nullptr;
  float spb = beat2seconds(140, 4);
  float start_time = static_cast<float>(266.0 * spb);
  ScrollerPart() { list = init_scrollerpart(nullptr, camera, spb, start_time, 266, 330); }
  ~ScrollerPart() { enabler_cleanup(list); }
  effect::CubeCube* frame() { return static_cast<effect::CubeCube*>(list->effect); }
  effect::BlockImage* scroller() { return static_cast<effect::BlockImage*>(list->next->effect); }
};

void expect_vec(const omni::Vector3<float>& v, float x, float y, float z) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
}

}  // namespace

TEST(ScrollerPart, CubeFrameThenScroller) {
  ASSERT_NE(test_gl_context(), nullptr);
  ScrollerPart part;
  ASSERT_NE(part.list, nullptr);
  ASSERT_NE(part.list->next, nullptr);
  EXPECT_EQ(part.list->next->next, nullptr);
  for (Enabler* node = part.list; node != nullptr; node = node->next) {
    EXPECT_EQ(node->start, 266);
    EXPECT_EQ(node->end, 330);
  }
  EXPECT_NEAR(part.list->start_time, 114.0f, 1e-4f);
  ASSERT_STREQ(part.list->effect->Name(), "CubeCube");
  ASSERT_STREQ(part.list->next->effect->Name(), "BlockImage");

  effect::CubeCube* frame = part.frame();
  expect_vec(frame->start_pos, 40, -40, 0);
  expect_vec(frame->rotation, 50, 30, 90);
  EXPECT_EQ(frame->color[0], 0.3f);
  EXPECT_EQ(frame->color[1], 0.8f);
  EXPECT_EQ(frame->color[2], 0.7f);
  EXPECT_EQ(frame->cube_count, 56u);

  effect::BlockImage* scroller = part.scroller();
  EXPECT_EQ(scroller->type, effect::BlockImage::SCROLLER_SCROLL);
  EXPECT_EQ(scroller->display_type, effect::BlockImage::DISPLAY_RELIEF);
  EXPECT_TRUE(scroller->color_enabled);
  EXPECT_EQ(scroller->max_size, 2.0f);
  ASSERT_EQ(scroller->images.size(), 1u);
  const auto& set = scroller->images[0];
  expect_vec(set.show_position, 60, 30, 0);
  expect_vec(set.hide_position, -70, 30, 0);
  EXPECT_EQ(set.speed, -105.0f);
  EXPECT_EQ(set.distance, 130.0f);
  EXPECT_EQ(set.duration, 0.5f);
  ASSERT_FALSE(set.blocks.empty()) << "data/scroll.png missing or black";
  // Long enough to scroll for the whole part: its last column reaches the start line no
  // earlier than about the part's end (27.4 s at 105 units a second).
  EXPECT_GE(set.blocks.back().position.x / 105.0f, 64 * part.spb - 1.0f);
}

TEST(ScrollerPart, CameraKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  ScrollerPart part;
  const C& cam = part.camera;
  ASSERT_EQ(cam.place_count, 3u);
  ASSERT_EQ(cam.rotation_count, 3u);
  const double spb = part.spb;
  const float drift = static_cast<float>(60 * spb);
  const float arrive = static_cast<float>(part.start_time + 60 * spb);
  const float arrive_len = static_cast<float>(4 * spb);

  expect_key(cam.places[0], C::CUT, part.start_time, 0, 0, 0, 100);
  expect_key(cam.rotations[0], C::CUT, part.start_time, 0, 0, 0, 0);
  expect_key(cam.places[1], C::LINEAR, part.start_time, drift, -30, -10, 100);
  expect_key(cam.rotations[1], C::LINEAR, part.start_time, drift, 5, 10, 0);
  expect_key(cam.places[2], C::LINEAR, arrive, arrive_len, 40, -40, 50);
  expect_key(cam.rotations[2], C::LINEAR, arrive, arrive_len, 0, 0, 0);
  EXPECT_NEAR(arrive, 139.714, 1e-3);
  EXPECT_NEAR(arrive + arrive_len, 141.4286, 1e-3);
}

// Played frame by frame at 120 frames a second, as the player and the renderer do: the cube
// frame bursts on the part's first frame and on every even beat after it, 32 times, never
// skipping one; after 10 s it has turned 500, 300 and 900 degrees.
TEST(ScrollerPart, ThirtyTwoBurstsAt120Fps) {
  ASSERT_NE(test_gl_context(), nullptr);
  ScrollerPart part;
  Show show(part.list, &part.camera, nullptr, part.spb);
  effect::CubeCube* frame = part.frame();
  int bursts = 0;
  int first_burst_beat = -1;
  bool checked_angles = false;
  for (long n = 0;; ++n) {
    const float t = n / 120.0f;
    show.Frame(t, FreeView(), false);
    if (show.clock.beat >= 330) break;
    if (show.clock.beat < 266) continue;
    if (frame->bursting && frame->burst_factor == 0.99f) {
      ++bursts;
      EXPECT_EQ((show.clock.beat - 266) % 2, 0) << "burst on beat " << show.clock.beat;
      if (first_burst_beat < 0) {
        first_burst_beat = show.clock.beat;
        EXPECT_EQ(frame->time, t - part.list->start_time) << "not on the part's first frame";
        EXPECT_LT(frame->time, 1.0f / 120);
      }
    }
    if (!checked_angles && frame->time >= 10.0f) {
      checked_angles = true;
      // The first frame at or after 10 s of the part.
      EXPECT_NEAR(frame->rotation.x * frame->time, 500.0f, 50.0f / 120);
      EXPECT_NEAR(frame->rotation.y * frame->time, 300.0f, 30.0f / 120);
      EXPECT_NEAR(frame->rotation.z * frame->time, 900.0f, 90.0f / 120);
    }
  }
  EXPECT_EQ(first_burst_beat, 266);
  EXPECT_EQ(bursts, 32);
  EXPECT_TRUE(checked_angles);
}
