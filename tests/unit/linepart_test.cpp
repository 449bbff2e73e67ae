#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "effect/camera.h"
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

void expect_vec(const omni::Vector3<float>& v, float x, float y, float z) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
}

}  // namespace

TEST(LinePart, RowsInTableOrder) {
  ASSERT_NE(test_gl_context(), nullptr);
  LinePart part;
  const bool directions[6] = {false, true, false, false, true, true};
  const float odd_lengths[6] = {390, 370, 220, 320, 120, 720};
  const float even_lengths[6] = {370, 350, 200, 300, 100, 700};
  int rows = 0;
  int nodes = 0;
  unsigned int cubes = 0;
  for (Enabler* node = part.list; node != nullptr; node = node->next) {
    EXPECT_EQ(node->start, 50);
    EXPECT_EQ(node->end, 94);
    EXPECT_EQ(node->start_time, part.start_time);
    ++nodes;
    if (std::string(node->effect->Name()) != "LongLine") {
      EXPECT_EQ(nodes, 37) << "only the earth follows the rows";
      continue;
    }
    const auto* row = static_cast<effect::LongLine*>(node->effect);
    const int group = rows / 6;
    EXPECT_EQ(row->direction, directions[rows % 6]) << "row " << rows + 1;
    EXPECT_EQ(row->length, group % 2 == 0 ? odd_lengths[rows % 6] : even_lengths[rows % 6])
        << "row " << rows + 1;
    EXPECT_EQ(row->size, 1.0f);
    EXPECT_EQ(row->large_size, 2.0f);
    cubes += row->cube_count;
    ++rows;
  }
  EXPECT_EQ(nodes, 37);
  EXPECT_EQ(rows, 36);
  EXPECT_EQ(cubes, 3114u);

  // Spot checks: the first row and the blue-only row 17.
  const auto* first = static_cast<effect::LongLine*>(part.list->effect);
  expect_vec(first->start_pos, 110, 20, -150);
  expect_vec(first->rotation, 50, 50, 220);
  EXPECT_EQ(first->color[0], 0.745098f);
  EXPECT_EQ(first->color[1], 0.768627f);
  EXPECT_EQ(first->color[2], 0.392157f);
  EXPECT_EQ(first->cube_count, 97u);
  Enabler* node = part.list;
  for (int i = 1; i < 17; ++i) node = node->next;
  const auto* row17 = static_cast<effect::LongLine*>(node->effect);
  expect_vec(row17->start_pos, 30, 30, -30);
  expect_vec(row17->rotation, -65, 30, -40);
  EXPECT_EQ(row17->color[0], 0.0f);
  EXPECT_EQ(row17->color[1], 0.0f);
  EXPECT_EQ(row17->color[2], 0.2f);
}

// The earth stands whole and still at the far end, in its own colours and in relief, centred on
// the point the camera arrives at.
TEST(LinePart, EarthAtTheFarEnd) {
  ASSERT_NE(test_gl_context(), nullptr);
  LinePart part;
  Enabler* last = part.list;
  while (last->next != nullptr) last = last->next;
  ASSERT_STREQ(last->effect->Name(), "BlockImage");
  const auto* earth = static_cast<effect::BlockImage*>(last->effect);
  EXPECT_EQ(earth->max_size, 2.0f);
  EXPECT_TRUE(earth->color_enabled);
  EXPECT_EQ(earth->display_type, effect::BlockImage::DISPLAY_RELIEF);
  EXPECT_EQ(earth->type, effect::BlockImage::SCROLLER_STATIC);
  ASSERT_EQ(earth->images.size(), 1u);
  const auto& set = earth->images[0];
  EXPECT_EQ(set.duration, 0.5f);
  expect_vec(set.show_position, -25, 25, -150);
  expect_vec(set.hide_position, -25, 25, -150);
  ASSERT_FALSE(set.blocks.empty()) << "data/earth.png missing or black";
  float right = 0, bottom = 0, deepest = 0;
  for (const auto& block : set.blocks) {
    EXPECT_EQ(block.state, effect::BlockImage::BLOCK_SHOWN);
    EXPECT_EQ(block.scale, 1.0f);
    right = std::max(right, block.position.x);
    bottom = std::min(bottom, block.position.y);
    deepest = std::max(deepest, block.position.z);
  }
  // The globe's middle is where the camera arrives, (5, -5).
  EXPECT_NEAR(-25 + right / 2, 5, 1.5);
  EXPECT_NEAR(25 + bottom / 2, -5, 1.5);
  EXPECT_GT(deepest, 0) << "no relief";
}

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

  // The show's numbers: 21.4286 s, glide of 17.0429 s to beat 90, arrival at beat 94.
  EXPECT_NEAR(part.start_time, 21.4286, 1e-4);
  EXPECT_NEAR(glide_len, 17.0429, 1e-4);
  EXPECT_NEAR(arrive, 38.5714, 1e-4);
  EXPECT_NEAR(arrive + arrive_len, 40.2857, 1e-4);
}
