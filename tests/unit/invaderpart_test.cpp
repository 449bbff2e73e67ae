#include <gtest/gtest.h>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "gl_context.h"

namespace {

using BI = effect::BlockImage;
using C = effect::Camera;
using V = omni::Vector3<float>;

const float spb = 60.0f / 140.0f;

// The invader part as init_demo places it: beats 94 to 150.
struct InvaderPart {
  C camera;
  Enabler* list = nullptr;
  std::vector<Enabler*> nodes;
  InvaderPart() {
    list = init_invaderpart(nullptr, camera, spb, static_cast<float>(94.0 * spb), 94, 150);
    for (Enabler* node = list; node != nullptr; node = node->next) nodes.push_back(node);
  }
  ~InvaderPart() { enabler_cleanup(list); }
  BI* image(int n) { return static_cast<BI*>(nodes[n]->effect); }
  int active_at(int beat) const {
    int count = 0;
    for (const Enabler* node : nodes) count += beat >= node->start && beat < node->end;
    return count;
  }
};

// The blocks' positions of a picture loaded on its own, to recognise which one a set holds.
std::vector<float> positions(const BI::BlockSet& set) {
  std::vector<float> xy;
  for (const BI::Block& block : set.blocks) {
    xy.push_back(block.position.x);
    xy.push_back(block.position.y);
  }
  return xy;
}

std::vector<float> picture_positions(const char* path) {
  sf::Image image;
  EXPECT_TRUE(image.loadFromFile(path)) << path;
  BI loaded;
  loaded.LoadImage(image, 1.0f);
  return positions(loaded.images[0]);
}

}  // namespace

TEST(InvaderPart, EightNodesInOrderWithTheirBeats) {
  ASSERT_NE(test_gl_context(), nullptr);
  InvaderPart part;
  ASSERT_EQ(part.nodes.size(), 8u);
  const int starts[8] = {94, 94, 94, 94, 94, 94, 104, 117};
  for (int i = 0; i < 8; ++i) {
    EXPECT_STREQ(part.nodes[i]->effect->Name(), "BlockImage");
    EXPECT_EQ(part.nodes[i]->start, starts[i]) << i;
    EXPECT_EQ(part.nodes[i]->end, 150) << i;
  }
  EXPECT_EQ(part.active_at(103), 6);
  EXPECT_EQ(part.active_at(104), 7);
  EXPECT_EQ(part.active_at(117), 8);
  EXPECT_EQ(part.active_at(150), 0);

  const float xs[4] = {-1, 1, -1, 1};
  for (int i = 0; i < 4; ++i) {
    BI* row = part.image(i);
    ASSERT_EQ(row->images.size(), 2u);
    EXPECT_EQ(row->type, BI::SCROLLER_STATIC);
    for (const BI::BlockSet& set : row->images) {
      EXPECT_EQ(set.show_position.x, xs[i]);
      EXPECT_EQ(set.show_position.y, -18.0f * i);
      EXPECT_EQ(set.duration, spb);
    }
  }
  BI* shield = part.image(4);
  ASSERT_EQ(shield->images.size(), 1u);
  EXPECT_EQ(shield->type, BI::SCROLLER_STATIC);
  EXPECT_EQ(shield->images[0].show_position.y, -200.0f);

  // Ship and bullets: travel, speed, turn, and the fast grow rate taken at load.
  const float shows[3] = {300, 200, 66};
  const float travel[3] = {310, 210, 276};
  const float turn[3] = {0, -90, -90};
  for (int i = 0; i < 3; ++i) {
    BI* scroller = part.image(5 + i);
    ASSERT_EQ(scroller->images.size(), 1u);
    const BI::BlockSet& set = scroller->images[0];
    EXPECT_EQ(scroller->type, BI::SCROLLER_SCROLL);
    EXPECT_EQ(set.show_position.x, shows[i]);
    EXPECT_EQ(set.show_position.y, -250.0f);
    EXPECT_EQ(set.distance, travel[i]);
    EXPECT_EQ(set.speed, -25.0f);
    EXPECT_EQ(set.rotation.z, turn[i]);
    ASSERT_FALSE(set.blocks.empty()) << "scroller " << i << " has no picture";
    EXPECT_EQ(set.blocks[0].grow_rate, 20.0f);
  }
  // The second bullet is the same picture as the first.
  EXPECT_EQ(positions(part.image(6)->images[0]), positions(part.image(7)->images[0]));
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(part.image(i)->color_enabled);
    EXPECT_EQ(part.image(i)->max_size, 2.0f);
    EXPECT_EQ(part.image(i)->display_type, BI::DISPLAY_FLAT);
  }
}

TEST(InvaderPart, RowsShowTheSecondFrameFirstAndFlipEveryBeat) {
  ASSERT_NE(test_gl_context(), nullptr);
  InvaderPart part;
  const std::vector<float> row1 = picture_positions("data/invader_row1.png");
  const std::vector<float> row2 = picture_positions("data/invader_row2.png");
  ASSERT_FALSE(row1.empty());
  ASSERT_NE(row1, row2);
  for (int i = 0; i < 4; ++i) {
    BI* row = part.image(i);
    EXPECT_EQ(positions(row->images[0]), row1);
    EXPECT_EQ(positions(row->images[1]), row2);
    row->UpdateLogic(0.0f, 0, true);
    EXPECT_EQ(row->active, 1u);
    row->UpdateLogic(0.4f, 0, false);
    EXPECT_EQ(row->active, 1u);
    row->UpdateLogic(0.44f, 1, true);
    EXPECT_EQ(row->active, 0u);
    row->UpdateLogic(0.9f, 2, true);
    EXPECT_EQ(row->active, 1u);
  }
}

TEST(InvaderPart, SixteenKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  InvaderPart part;
  const std::vector<C::Place>& p = part.camera.places;
  const std::vector<C::Rotation>& r = part.camera.rotations;
  ASSERT_EQ(p.size(), 9u);
  ASSERT_EQ(r.size(), 7u);

  EXPECT_EQ(r[0].transition, C::CUT);
  EXPECT_EQ(p[0].transition, C::CUT);
  EXPECT_NEAR(p[0].start_time, 40.285713f, 1e-5f);
  EXPECT_EQ(p[0].target.z, 200.0f);
  EXPECT_EQ(p[1].start_time, p[0].start_time);
  EXPECT_NEAR(p[1].duration, 9 * 0.42857143f, 1e-5f);

  // Keyframe 5: the one-beat dart to the ship.
  EXPECT_EQ(p[2].transition, C::LINEAR);
  const double part_start = static_cast<float>(94.0 * spb);
  EXPECT_EQ(p[2].start_time, static_cast<float>(9 * double(spb) + part_start));
  EXPECT_NEAR(p[2].start_time, 44.142857f, 1e-5f);
  EXPECT_EQ(p[2].duration, spb);
  EXPECT_EQ(p[2].target.x, 211.0f);
  EXPECT_EQ(p[2].target.y, -251.0f);
  EXPECT_EQ(p[2].target.z, 39.0f);

  // Keyframes 15 and 16: the last glide and turn, ending with the part.
  EXPECT_NEAR(p[8].start_time, 57.42857f, 1e-5f);
  EXPECT_NEAR(p[8].duration, 6.857143f, 1e-5f);
  EXPECT_EQ(r[6].start_time, p[8].start_time);
  EXPECT_EQ(r[6].duration, p[8].duration);
  EXPECT_EQ(r[6].target.x, -52.0f);
  EXPECT_EQ(r[6].target.y, 4.0f);
  EXPECT_EQ(r[6].target.z, -4.0f);
  EXPECT_NEAR(p[8].start_time + p[8].duration, 150 * spb, 1e-5f);
}
