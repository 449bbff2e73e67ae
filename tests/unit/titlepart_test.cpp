#include <gtest/gtest.h>

#include "gl_context.h"
#include "keyframes.h"
#include "part_fixture.h"

using BI = effect::BlockImage;
using C = effect::Camera;

// The title, then the two scrolling bands, all over the whole part. How they look is the
// golden frame's business.
TEST(TitlePart, ThreeBlockImagesOverTheWholePartInCreationOrder) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_titlepart, 0, 50);
  ASSERT_EQ(part.nodes.size(), 3u);
  const BI::scroller_type_t types[3] = {BI::SCROLLER_STATIC, BI::SCROLLER_SCROLL,
                                        BI::SCROLLER_SCROLL};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(part.nodes[i]->start, 0);
    EXPECT_EQ(part.nodes[i]->end, 50);
    EXPECT_EQ(part.image(i)->type, types[i]);
    ASSERT_EQ(part.image(i)->images.size(), 1u);
    EXPECT_FALSE(part.image(i)->images[0].blocks.empty()) << "picture " << i << " did not load";
  }
}

TEST(TitlePart, TenCameraKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_titlepart, 0, 50);
  const std::vector<C::Place>& p = part.camera.places;
  const std::vector<C::Rotation>& r = part.camera.rotations;
  ASSERT_EQ(p.size(), 7u);
  ASSERT_EQ(r.size(), 3u);
  // Sums formed in double from the single-precision spb, 0.1f and 1.0f, stored as floats.
  const double b = test_spb, tenth = 0.1f;
  expect_key(r[0], C::CUT, 0, 0, 0, 0, 0);
  expect_key(p[0], C::CUT, 0, 0, 0, 0, 0);
  expect_key(p[1], C::CUT, float(3 * b), 0, -125, 362, 478);
  expect_key(p[2], C::LINEAR, float(3 * b), 0.1f, 179, -87, 222);
  expect_key(r[1], C::LINEAR, float(3 * b), 0.1f, 0, -35, 0);
  expect_key(p[3], C::LINEAR, float(3 * b + tenth), float(21 * b - tenth), 150, -87, 210);
  expect_key(r[2], C::LINEAR, float(24 * b), 0.1f, 0, 0, 0);
  expect_key(p[4], C::LINEAR, float(24 * b), 0.1f, 233, -45, 13);
  expect_key(p[5], C::LINEAR, float(24 * b + tenth), float(24 * b - tenth), 200, -40, 10);
  expect_key(p[6], C::LINEAR, float(48 * b), 1.0f, 200, -40, 0);
  // The script's own figures for the two long moves.
  EXPECT_NEAR(p[3].start_time, 1.385714f, 1e-6f);
  EXPECT_NEAR(p[5].duration, 10.185715f, 1e-6f);
}
