#include <gtest/gtest.h>

#include <utility>

#include "demo/demo.h"
#include "demo/show.h"
#include "effect/blockimage.h"
#include "effect/cubecube.h"
#include "gl_context.h"
#include "helpers.h"
#include "keyframes.h"
#include "part_fixture.h"

namespace {

using C = effect::Camera;

// The scroller part as init_demo places it: beats 266 to 330 from 114.0 s.
struct ScrollerPart : BuiltPart {
  ScrollerPart() : BuiltPart(init_scrollerpart, 266, 330) {}
};

}  // namespace

// The cube frame, then a scroller long enough to run through the whole part; the camera
// cuts to z = 100, drifts for 60 beats and closes in on the frame in the last 4.
TEST(ScrollerPart, CubeFrameThenScrollerAndSixKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  ScrollerPart part;
  const std::vector<Enabler*> nodes = list_nodes(part.list);
  ASSERT_EQ(nodes.size(), 2u);
  for (Enabler* node : nodes) {
    EXPECT_EQ(std::make_pair(node->start, node->end), std::make_pair(266, 330));
    EXPECT_NEAR(node->start_time, 114.0f, 1e-4f);
  }
  ASSERT_STREQ(nodes[0]->effect->Name(), "CubeCube");
  ASSERT_STREQ(nodes[1]->effect->Name(), "BlockImage");
  expect_vec(static_cast<effect::CubeCube*>(nodes[0]->effect)->start_pos, 40, -40, 0);
  const auto* scroller = static_cast<effect::BlockImage*>(nodes[1]->effect);
  EXPECT_EQ(scroller->type, effect::BlockImage::SCROLLER_SCROLL);
  ASSERT_EQ(scroller->images.size(), 1u);
  const auto& set = scroller->images[0];
  expect_vec(set.show_position, 60, 30, 0);
  expect_vec(set.hide_position, -70, 30, 0);
  EXPECT_EQ(set.speed, -105.0f);
  ASSERT_FALSE(set.blocks.empty()) << "data/scroll.png missing or black";
  // Its last column reaches the start line no earlier than about the part's end.
  EXPECT_GE(set.blocks.back().position.x / 105.0f, 64 * part.spb - 1.0f);

  const C& cam = part.camera;
  ASSERT_EQ(cam.place_count, 3u);
  ASSERT_EQ(cam.rotation_count, 3u);
  const float drift = static_cast<float>(60.0 * part.spb);
  const float arrive = static_cast<float>(part.start_time + 60.0 * part.spb);
  const float arrive_len = static_cast<float>(4.0 * part.spb);
  expect_key(cam.places[0], C::CUT, part.start_time, 0, 0, 0, 100);
  expect_key(cam.rotations[0], C::CUT, part.start_time, 0, 0, 0, 0);
  expect_key(cam.places[1], C::LINEAR, part.start_time, drift, -30, -10, 100);
  expect_key(cam.rotations[1], C::LINEAR, part.start_time, drift, 5, 10, 0);
  expect_key(cam.places[2], C::LINEAR, arrive, arrive_len, 40, -40, 50);
  expect_key(cam.rotations[2], C::LINEAR, arrive, arrive_len, 0, 0, 0);
  EXPECT_NEAR(arrive + arrive_len, 141.4286, 1e-3);
}

// Played at 120 frames a second, as the player and the renderer do: the cube frame bursts on
// the part's first frame and on every even beat after it, 32 times, never skipping one; in
// 10 s it turns 500, 300 and 900 degrees.
TEST(ScrollerPart, ThirtyTwoBurstsAt120Fps) {
  ASSERT_NE(test_gl_context(), nullptr);
  ScrollerPart part;
  Show show(part.list, &part.camera, nullptr, part.spb);
  const auto* frame = static_cast<effect::CubeCube*>(part.list->effect);
  int bursts = 0;
  for (long n = 0;; ++n) {
    const float t = n / 120.0f;
    show.Frame(t, FreeView(), false);
    if (show.clock.beat >= 330) break;
    if (show.clock.beat < 266) continue;
    if (frame->bursting && frame->burst_factor == 0.99f) {
      EXPECT_EQ((show.clock.beat - 266) % 2, 0) << "burst on beat " << show.clock.beat;
      EXPECT_TRUE(bursts++ > 0 || frame->time < 1.0f / 120) << "not on the part's first frame";
    }
  }
  EXPECT_EQ(bursts, 32);
  expect_vec(frame->rotation * 10.0f, 500, 300, 900);  // degrees turned in the first 10 s
}
