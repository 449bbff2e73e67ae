#include <gtest/gtest.h>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "gl_context.h"

namespace {

using BI = effect::BlockImage;
using C = effect::Camera;
using V = omni::Vector3<float>;

const float spb = 60.0f / 140.0f;

// The title part on its own, as init_demo builds it: beats 0 to 50 from demo time 0.
struct TitlePart {
  C camera;
  Enabler* list = nullptr;
  TitlePart() { list = init_titlepart(nullptr, camera, spb, 0.0f, 0, 50); }
  ~TitlePart() { enabler_cleanup(list); }
  BI* image(int n) {
    Enabler* node = list;
    for (int i = 0; i < n && node != nullptr; ++i) node = node->next;
    return node == nullptr ? nullptr : static_cast<BI*>(node->effect);
  }
};

void expect_vector(const V& actual, float x, float y, float z) {
  EXPECT_EQ(actual.x, x);
  EXPECT_EQ(actual.y, y);
  EXPECT_EQ(actual.z, z);
}

// One keyframe of either track: exact values, and the start time within a microsecond of the
// figure the script gives.
template <typename Key>
void expect_key(const Key& k, C::transition_t transition, float start, float duration,
                float approx_start, const V& target) {
  SCOPED_TRACE(testing::Message() << "keyframe starting near " << approx_start);
  EXPECT_EQ(k.transition, transition);
  EXPECT_EQ(k.start_time, start);
  EXPECT_NEAR(k.start_time, approx_start, 1e-6f);
  EXPECT_EQ(k.duration, duration);
  expect_vector(k.target, target.x, target.y, target.z);
}

}  // namespace

TEST(TitlePart, ThreeBlockImagesOverTheWholePartInCreationOrder) {
  ASSERT_NE(test_gl_context(), nullptr);
  TitlePart part;
  int count = 0;
  for (Enabler* node = part.list; node != nullptr; node = node->next, ++count) {
    EXPECT_STREQ(node->effect->Name(), "BlockImage");
    EXPECT_EQ(node->start, 0);
    EXPECT_EQ(node->end, 50);
    EXPECT_EQ(node->start_time, 0.0f);
  }
  ASSERT_EQ(count, 3);

  BI* title = part.image(0);
  EXPECT_EQ(title->type, BI::SCROLLER_STATIC);
  EXPECT_EQ(title->display_type, BI::DISPLAY_FLAT);
  ASSERT_EQ(title->images.size(), 1u);
  EXPECT_EQ(title->images[0].duration, static_cast<float>(16.0 * spb));
  expect_vector(title->images[0].show_position, 0, 0, 0);

  const float depths[2] = {-10, -30};
  const float speeds[2] = {-25, -15};
  for (int i = 0; i < 2; ++i) {
    BI* band = part.image(1 + i);
    EXPECT_EQ(band->type, BI::SCROLLER_SCROLL);
    EXPECT_EQ(band->display_type, BI::DISPLAY_RELIEF);
    ASSERT_EQ(band->images.size(), 1u);
    const BI::BlockSet& set = band->images[0];
    EXPECT_EQ(set.duration, 0.5f);
    expect_vector(set.show_position, 50, -30, depths[i]);
    expect_vector(set.hide_position, -50, -30, depths[i]);
    EXPECT_EQ(set.distance, 100.0f);
    EXPECT_EQ(set.speed, speeds[i]);
    expect_vector(set.rotation, 0, 0, 0);
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(part.image(i)->color_enabled);
    EXPECT_EQ(part.image(i)->max_size, 2.0f);
    EXPECT_EQ(part.image(i)->spacing, 1.5f);
    EXPECT_EQ(part.image(i)->factor, 5.0f);
  }
}

TEST(TitlePart, TenCameraKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  TitlePart part;
  const std::vector<C::Place>& p = part.camera.places;
  const std::vector<C::Rotation>& r = part.camera.rotations;
  ASSERT_EQ(p.size(), 7u);
  ASSERT_EQ(r.size(), 3u);
  // Sums formed in double from the single-precision spb, 0.1f and 1.0f, stored as floats;
  // the last figure is the start time as the script gives it.
  const double b = spb, tenth = 0.1f;
  expect_key(r[0], C::CUT, 0, 0, 0, V(0, 0, 0));
  expect_key(p[0], C::CUT, 0, 0, 0, V(0, 0, 0));
  expect_key(p[1], C::CUT, float(3 * b), 0, 1.285714f, V(-125, 362, 478));
  expect_key(p[2], C::LINEAR, float(3 * b), 0.1f, 1.285714f, V(179, -87, 222));
  expect_key(r[1], C::LINEAR, float(3 * b), 0.1f, 1.285714f, V(0, -35, 0));
  expect_key(p[3], C::LINEAR, float(3 * b + tenth), float(21 * b - tenth), 1.385714f,
             V(150, -87, 210));
  expect_key(r[2], C::LINEAR, float(24 * b), 0.1f, 10.285714f, V(0, 0, 0));
  expect_key(p[4], C::LINEAR, float(24 * b), 0.1f, 10.285714f, V(233, -45, 13));
  expect_key(p[5], C::LINEAR, float(24 * b + tenth), float(24 * b - tenth), 10.385715f,
             V(200, -40, 10));
  expect_key(p[6], C::LINEAR, float(48 * b), 1.0f, 20.571428f, V(200, -40, 0));
  EXPECT_NEAR(p[3].duration, 8.9f, 1e-6f);
  EXPECT_NEAR(p[5].duration, 10.185715f, 1e-6f);
}

TEST(TitlePart, FirstFrameShowsTheWholeTitleAndNoBand) {
  ASSERT_NE(test_gl_context(), nullptr);
  TitlePart part;
  BI* title = part.image(0);
  ASSERT_FALSE(title->images[0].blocks.empty()) << "data/title_wide.png did not load";
  for (int i = 0; i < 3; ++i) part.image(i)->UpdateLogic(0.0f, 0, true);
  for (const BI::Block& block : title->images[0].blocks) {
    ASSERT_EQ(block.state, BI::BLOCK_SHOWN);
    ASSERT_EQ(block.scale, 1.0f);
  }
  for (int i = 1; i < 3; ++i) {
    const std::vector<BI::Block>& blocks = part.image(i)->images[0].blocks;
    ASSERT_FALSE(blocks.empty()) << "band " << i << " did not load";
    for (const BI::Block& block : blocks) {
      if (block.position.x <= 0) {
        EXPECT_EQ(block.state, BI::BLOCK_GROWING);
        EXPECT_EQ(block.scale, 0.0f);
      } else {
        EXPECT_EQ(block.state, BI::BLOCK_WAITING);
      }
    }
  }
}
