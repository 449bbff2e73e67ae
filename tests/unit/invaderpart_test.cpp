#include <gtest/gtest.h>

#include "gl_context.h"
#include "keyframes.h"
#include "part_fixture.h"

using BI = effect::BlockImage;
using C = effect::Camera;

// Four rows, the shield, the ship, two bullets; all end with the part (150), so six are on at
// beat 103, seven at 104, eight at 117 and none at 150.
TEST(InvaderPart, EightNodesInOrderWithTheirBeats) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_invaderpart, 94, 150);
  ASSERT_EQ(part.nodes.size(), 8u);
  const int starts[8] = {94, 94, 94, 94, 94, 94, 104, 117};
  const size_t sets[8] = {2, 2, 2, 2, 1, 1, 1, 1};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(part.nodes[i]->start, starts[i]) << i;
    EXPECT_EQ(part.nodes[i]->end, 150) << i;
    ASSERT_EQ(part.image(i)->images.size(), sets[i]) << i;
    EXPECT_FALSE(part.image(i)->images[0].blocks.empty()) << "node " << i << " has no picture";
  }
}

TEST(InvaderPart, RowsShowTheSecondFrameFirstAndFlipEveryBeat) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_invaderpart, 94, 150);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(testing::Message() << "row " << i);
    expect_two_frames(part.image(i), "data/invader_row1.png", "data/invader_row2.png");
  }
}

TEST(InvaderPart, SixteenKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_invaderpart, 94, 150);
  const std::vector<C::Place>& p = part.camera.places;
  const std::vector<C::Rotation>& r = part.camera.rotations;
  ASSERT_EQ(p.size(), 9u);
  ASSERT_EQ(r.size(), 7u);
  EXPECT_EQ(r[0].transition, C::CUT);
  EXPECT_EQ(p[0].transition, C::CUT);
  EXPECT_NEAR(p[0].start_time, 40.285713f, 1e-5f);
  // Keyframe 5: the one-beat dart to the ship, nine beats in.
  const double part_start = static_cast<float>(94.0 * test_spb);
  expect_key(p[2], C::LINEAR, float(9 * double(test_spb) + part_start), test_spb, 211, -251, 39);
  EXPECT_NEAR(p[2].start_time, 44.142857f, 1e-5f);
  EXPECT_EQ(p[2].duration, 0.42857143f);
  // The last glide and turn end with the part.
  EXPECT_EQ(r[6].start_time, p[8].start_time);
  EXPECT_EQ(r[6].duration, p[8].duration);
  EXPECT_NEAR(p[8].start_time + p[8].duration, 150 * test_spb, 1e-5f);
}
