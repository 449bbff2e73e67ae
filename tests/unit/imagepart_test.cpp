#include <gtest/gtest.h>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "gl_context.h"

namespace {

using BI = effect::BlockImage;
using C = effect::Camera;
using V = omni::Vector3<float>;

const float spb = 60.0f / 140.0f;

// The image part as init_demo places it: beats 224 to 266 from 96.0 s.
struct ImagePart {
  C camera;
  Enabler* list = nullptr;
  std::vector<Enabler*> nodes;
  ImagePart() {
    list = init_imagepart(nullptr, camera, spb, static_cast<float>(224.0 * spb), 224, 266);
    for (Enabler* node = list; node != nullptr; node = node->next) nodes.push_back(node);
  }
  ~ImagePart() { enabler_cleanup(list); }
  BI* image(int n) { return static_cast<BI*>(nodes[n]->effect); }
};

size_t block_count(const char* path) {
  sf::Image image;
  EXPECT_TRUE(image.loadFromFile(path)) << path;
  BI loaded;
  loaded.LoadImage(image, 1.0f);
  return loaded.images[0].blocks.size();
}

}  // namespace

TEST(ImagePart, OctopusInvaderAndAlien) {
  ASSERT_NE(test_gl_context(), nullptr);
  ImagePart part;
  ASSERT_EQ(part.nodes.size(), 3u);
  const int starts[3] = {224, 236, 250};
  const int ends[3] = {236, 266, 266};
  const BI::display_type_t displays[3] = {BI::DISPLAY_RELIEF, BI::DISPLAY_FLAT, BI::DISPLAY_RELIEF};
  const V places[3] = {V(0, 0, 200), V(65, -56, 0), V(-20, 20, -300)};
  const size_t sets[3] = {1, 2, 1};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(part.nodes[i]->start, starts[i]) << i;
    EXPECT_EQ(part.nodes[i]->end, ends[i]) << i;
    BI* image = part.image(i);
    EXPECT_EQ(image->display_type, displays[i]);
    EXPECT_EQ(image->type, BI::SCROLLER_STATIC);
    EXPECT_TRUE(image->color_enabled);
    EXPECT_EQ(image->max_size, 2.0f);
    ASSERT_EQ(image->images.size(), sets[i]);
    for (const BI::BlockSet& set : image->images) {
      EXPECT_EQ(set.show_position.x, places[i].x);
      EXPECT_EQ(set.show_position.y, places[i].y);
      EXPECT_EQ(set.show_position.z, places[i].z);
      EXPECT_FALSE(set.blocks.empty()) << "picture of node " << i << " did not load";
      for (const BI::Block& block : set.blocks) ASSERT_EQ(block.state, BI::BLOCK_SHOWN);
    }
  }
  EXPECT_EQ(part.image(0)->images[0].duration, 0.5f);
  EXPECT_EQ(part.image(1)->images[0].duration, spb);
  EXPECT_EQ(part.image(2)->images[0].duration, 0.5f);
}

TEST(ImagePart, InvaderShowsTheSecondFrameFirst) {
  ASSERT_NE(test_gl_context(), nullptr);
  ImagePart part;
  BI* invader = part.image(1);
  EXPECT_EQ(invader->images[0].blocks.size(), block_count("data/invader1.png"));
  EXPECT_EQ(invader->images[1].blocks.size(), block_count("data/invader2.png"));

  invader->UpdateLogic(0.0f, 0, true);
  EXPECT_EQ(invader->active, 1u);
  invader->UpdateLogic(spb, 1, true);  // exactly one beat: not yet
  EXPECT_EQ(invader->active, 1u);
  invader->UpdateLogic(0.44f, 1, false);
  EXPECT_EQ(invader->active, 0u);
  invader->UpdateLogic(0.88f, 2, true);
  EXPECT_EQ(invader->active, 1u);
}

TEST(ImagePart, SixKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  ImagePart part;
  const std::vector<C::Place>& p = part.camera.places;
  const std::vector<C::Rotation>& r = part.camera.rotations;
  ASSERT_EQ(p.size(), 3u);
  ASSERT_EQ(r.size(), 3u);

  EXPECT_EQ(p[0].transition, C::CUT);
  EXPECT_EQ(r[0].transition, C::CUT);
  EXPECT_EQ(p[0].start_time, 96.0f);
  EXPECT_EQ(r[0].start_time, 96.0f);
  EXPECT_EQ(p[0].target.z, 400.0f);
  EXPECT_EQ(p[0].target.y, -80.0f);

  EXPECT_EQ(p[1].start_time, 96.0f);
  EXPECT_EQ(r[1].start_time, 96.0f);
  EXPECT_EQ(p[1].duration, static_cast<float>(40.0 * spb));
  EXPECT_NEAR(p[1].duration, 17.142857f, 1e-5f);
  EXPECT_EQ(r[1].duration, p[1].duration);
  EXPECT_EQ(p[1].target.z, -200.0f);
  EXPECT_EQ(r[1].target.z, -5.0f);

  EXPECT_EQ(p[2].start_time, static_cast<float>(96.0 + 40.0 * spb));
  EXPECT_NEAR(p[2].start_time, 113.14286f, 1e-4f);
  EXPECT_EQ(r[2].start_time, p[2].start_time);
  EXPECT_EQ(p[2].duration, static_cast<float>(2.0 * spb));
  EXPECT_EQ(r[2].duration, p[2].duration);
  EXPECT_EQ(p[2].target.x, 65.0f);
  EXPECT_EQ(p[2].target.y, -60.0f);
  EXPECT_EQ(p[2].target.z, -320.0f);
  EXPECT_EQ(r[2].target.z, 20.0f);
  EXPECT_NEAR(p[2].start_time + p[2].duration, 114.0f, 1e-4f);
}
