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

  // Sums formed in double from the single-precision spb, 0.1f and 1.0f, stored as floats.
  const double b = spb, tenth = 0.1f;
  const float beat3 = static_cast<float>(3 * b);
  const float beat24 = static_cast<float>(24 * b);

  EXPECT_EQ(r[0].transition, C::CUT);
  EXPECT_EQ(r[0].start_time, 0.0f);
  expect_vector(r[0].target, 0, 0, 0);
  EXPECT_EQ(p[0].transition, C::CUT);
  EXPECT_EQ(p[0].start_time, 0.0f);
  expect_vector(p[0].target, 0, 0, 0);

  EXPECT_EQ(p[1].transition, C::CUT);
  EXPECT_EQ(p[1].start_time, beat3);
  EXPECT_NEAR(p[1].start_time, 1.285714f, 1e-6f);
  expect_vector(p[1].target, -125, 362, 478);

  EXPECT_EQ(p[2].transition, C::LINEAR);
  EXPECT_EQ(p[2].start_time, beat3);
  EXPECT_EQ(p[2].duration, 0.1f);
  expect_vector(p[2].target, 179, -87, 222);
  EXPECT_EQ(r[1].transition, C::LINEAR);
  EXPECT_EQ(r[1].start_time, beat3);
  EXPECT_EQ(r[1].duration, 0.1f);
  expect_vector(r[1].target, 0, -35, 0);

  EXPECT_EQ(p[3].transition, C::LINEAR);
  EXPECT_EQ(p[3].start_time, static_cast<float>(3 * b + tenth));
  EXPECT_NEAR(p[3].start_time, 1.385714f, 1e-6f);
  EXPECT_EQ(p[3].duration, static_cast<float>(21 * b - tenth));
  EXPECT_NEAR(p[3].duration, 8.9f, 1e-6f);
  expect_vector(p[3].target, 150, -87, 210);

  EXPECT_EQ(r[2].transition, C::LINEAR);
  EXPECT_EQ(r[2].start_time, beat24);
  EXPECT_NEAR(r[2].start_time, 10.285714f, 1e-6f);
  EXPECT_EQ(r[2].duration, 0.1f);
  expect_vector(r[2].target, 0, 0, 0);
  EXPECT_EQ(p[4].transition, C::LINEAR);
  EXPECT_EQ(p[4].start_time, beat24);
  EXPECT_EQ(p[4].duration, 0.1f);
  expect_vector(p[4].target, 233, -45, 13);

  EXPECT_EQ(p[5].transition, C::LINEAR);
  EXPECT_EQ(p[5].start_time, static_cast<float>(24 * b + tenth));
  EXPECT_NEAR(p[5].start_time, 10.385715f, 1e-6f);
  EXPECT_EQ(p[5].duration, static_cast<float>(24 * b - tenth));
  EXPECT_NEAR(p[5].duration, 10.185715f, 1e-6f);
  expect_vector(p[5].target, 200, -40, 10);

  EXPECT_EQ(p[6].transition, C::LINEAR);
  EXPECT_EQ(p[6].start_time, static_cast<float>(48 * b));
  EXPECT_NEAR(p[6].start_time, 20.571428f, 1e-6f);
  EXPECT_EQ(p[6].duration, 1.0f);
  expect_vector(p[6].target, 200, -40, 0);
}

TEST(TitlePart, KeyframeTimesFollowTheStartTime) {
  ASSERT_NE(test_gl_context(), nullptr);
  C camera;
  Enabler* list = init_titlepart(nullptr, camera, 0.5f, 10.0f, 20, 30);
  for (Enabler* node = list; node != nullptr; node = node->next) {
    EXPECT_EQ(node->start, 20);
    EXPECT_EQ(node->end, 30);
    EXPECT_EQ(node->start_time, 10.0f);
  }
  EXPECT_EQ(camera.rotations[0].start_time, 10.0f);
  EXPECT_EQ(camera.places[1].start_time, 11.5f);
  EXPECT_EQ(camera.places[3].start_time, static_cast<float>(11.5 + double(0.1f)));
  EXPECT_EQ(camera.places[6].start_time, 34.0f);
  enabler_cleanup(list);
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
