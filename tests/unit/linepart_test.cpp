#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "effect/longline.h"
#include "gl_context.h"
#include "helpers.h"
#include "keyframes.h"

namespace {

struct LinePart {
  effect::Camera camera;
  Enabler* list = nullptr;
  float spb = beat2seconds(140, 4);
  float start_time = static_cast<float>(50.0 * spb);

  LinePart() { list = init_linepart(nullptr, camera, spb, start_time, 50, 94); }
  ~LinePart() { enabler_cleanup(list); }
};

}  // namespace

// 36 rows then the earth, all on beats 50 to 94. The rows are checked by count, by sums over
// the table weighted by row number (a mistyped or misplaced value changes them) and by the
// blue-only row 17.
TEST(LinePart, RowsInTableOrder) {
  ASSERT_NE(test_gl_context(), nullptr);
  LinePart part;
  const std::vector<Enabler*> nodes = list_nodes(part.list);
  ASSERT_EQ(nodes.size(), 37u);
  unsigned int cubes = 0;
  double forward = 0, length = 0;
  omni::Vector3<double> pos(0, 0, 0), rot(0, 0, 0), rgb(0, 0, 0);
  for (int i = 0; i < 37; ++i) {
    EXPECT_EQ(std::make_pair(nodes[i]->start, nodes[i]->end), std::make_pair(50, 94)) << i + 1;
    EXPECT_EQ(nodes[i]->start_time, part.start_time);
    if (i == 36) break;
    ASSERT_STREQ(nodes[i]->effect->Name(), "LongLine") << "row " << i + 1;
    const auto* row = static_cast<effect::LongLine*>(nodes[i]->effect);
    EXPECT_EQ(row->size + row->large_size, 3.0f);
    cubes += row->cube_count;
    forward += (i + 1) * row->direction;
    length += (i + 1) * row->length;
    pos += omni::Vector3<double>(row->start_pos.x, row->start_pos.y, row->start_pos.z) * (i + 1.0);
    rot += omni::Vector3<double>(row->rotation.x, row->rotation.y, row->rotation.z) * (i + 1.0);
    rgb += omni::Vector3<double>(row->color[0], row->color[1], row->color[2]) * (i + 1.0);
  }
  EXPECT_EQ(cubes, 3114u);
  EXPECT_EQ(forward, 348);
  EXPECT_EQ(length, 232800);
  EXPECT_EQ(std::make_tuple(pos.x, pos.y, pos.z), std::make_tuple(10470.0, 1830.0, -21360.0));
  EXPECT_EQ(std::make_tuple(rot.x, rot.y, rot.z), std::make_tuple(3600.0, 8530.0, 15090.0));
  EXPECT_NEAR(rgb.x, 170.268626, 1e-4);
  EXPECT_NEAR(rgb.y, 191.188215, 1e-4);
  EXPECT_NEAR(rgb.z, 202.409808, 1e-4);
  const auto* row17 = static_cast<effect::LongLine*>(nodes[16]->effect);
  EXPECT_EQ(row17->color[0] + row17->color[1], 0.0f);
  EXPECT_EQ(row17->color[2], 0.2f);
}

// The earth stands whole and still at the far end in relief, centred on the point the camera
// arrives at, (5, -5).
TEST(LinePart, EarthAtTheFarEnd) {
  ASSERT_NE(test_gl_context(), nullptr);
  LinePart part;
  omni::Effect* last = list_nodes(part.list).back()->effect;
  ASSERT_STREQ(last->Name(), "BlockImage");
  const auto* earth = static_cast<effect::BlockImage*>(last);
  EXPECT_EQ(earth->type, effect::BlockImage::SCROLLER_STATIC);
  ASSERT_EQ(earth->images.size(), 1u);
  const auto& set = earth->images[0];
  expect_vec(set.show_position, -25, 25, -150);
  expect_vec(set.hide_position, -25, 25, -150);
  ASSERT_FALSE(set.blocks.empty()) << "data/earth.png missing or black";
  float right = 0, bottom = 0, deepest = 0;
  for (const auto& block : set.blocks) {
    right = std::max(right, block.position.x);
    bottom = std::min(bottom, block.position.y);
    deepest = std::max(deepest, block.position.z);
  }
  EXPECT_NEAR(-25 + right / 2, 5, 1.5);
  EXPECT_NEAR(25 + bottom / 2, -5, 1.5);
  EXPECT_GT(deepest, 0) << "no relief";
}

// Cut to z = 150, glide to the origin until beat 90, move to the earth by beat 94.
TEST(LinePart, CameraKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  LinePart part;
  const effect::Camera& cam = part.camera;
  ASSERT_EQ(cam.place_count, 3u);
  ASSERT_EQ(cam.rotation_count, 3u);
  const double spb = part.spb;
  const float glide = static_cast<float>(part.start_time + static_cast<double>(0.1f));
  const float glide_len = static_cast<float>(40 * spb - static_cast<double>(0.1f));
  const float arrive = static_cast<float>(part.start_time + 40 * spb);
  const float arrive_len = static_cast<float>(4 * spb);
  using C = effect::Camera;
  expect_key(cam.places[0], C::CUT, part.start_time, 0, 0, 0, 150);
  expect_key(cam.rotations[0], C::CUT, part.start_time, 0, 0, 0, 0);
  expect_key(cam.places[1], C::LINEAR, glide, glide_len, 0, 0, 0);
  expect_key(cam.rotations[1], C::LINEAR, glide, glide_len, 10, 0, 0);
  expect_key(cam.places[2], C::LINEAR, arrive, arrive_len, 5, -5, -150);
  expect_key(cam.rotations[2], C::LINEAR, arrive, arrive_len, 0, 0, 40);
  EXPECT_NEAR(arrive + arrive_len, 40.2857, 1e-4);
}
