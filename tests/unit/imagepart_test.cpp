#include <gtest/gtest.h>

#include "gl_context.h"
#include "keyframes.h"
#include "part_fixture.h"

using BI = effect::BlockImage;
using C = effect::Camera;

TEST(ImagePart, OctopusInvaderAndAlien) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_imagepart, 224, 266);
  ASSERT_EQ(part.nodes.size(), 3u);
  const int starts[3] = {224, 236, 250};
  const int ends[3] = {236, 266, 266};
  const size_t sets[3] = {1, 2, 1};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(part.nodes[i]->start, starts[i]) << i;
    EXPECT_EQ(part.nodes[i]->end, ends[i]) << i;
    ASSERT_EQ(part.image(i)->images.size(), sets[i]) << i;
    for (const BI::BlockSet& set : part.image(i)->images) {
      EXPECT_FALSE(set.blocks.empty()) << "picture of node " << i << " did not load";
      for (const BI::Block& block : set.blocks) ASSERT_EQ(block.state, BI::BLOCK_SHOWN);
    }
  }
}

TEST(ImagePart, InvaderShowsTheSecondFrameFirst) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_imagepart, 224, 266);
  expect_two_frames(part.image(1), "data/invader1.png", "data/invader2.png");
}

TEST(ImagePart, SixKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_imagepart, 224, 266);
  const std::vector<C::Place>& p = part.camera.places;
  const std::vector<C::Rotation>& r = part.camera.rotations;
  ASSERT_EQ(p.size(), 3u);
  ASSERT_EQ(r.size(), 3u);
  const float glide = static_cast<float>(40.0 * test_spb);
  const float last = static_cast<float>(96.0 + 40.0 * test_spb);
  const float dart = static_cast<float>(2.0 * test_spb);
  expect_key(p[0], C::CUT, 96.0f, 0, 65, -80, 400);
  expect_key(r[0], C::CUT, 96.0f, 0, 0, 0, 0);
  expect_key(p[1], C::LINEAR, 96.0f, glide, 65, -60, -200);
  expect_key(r[1], C::LINEAR, 96.0f, glide, 0, 0, -5);
  expect_key(p[2], C::LINEAR, last, dart, 65, -60, -320);
  expect_key(r[2], C::LINEAR, last, dart, 0, 0, 20);
  EXPECT_NEAR(last, 113.14286f, 1e-4f);
}
