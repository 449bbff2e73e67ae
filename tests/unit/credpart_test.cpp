#include <gtest/gtest.h>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "gl_context.h"
#include "helpers.h"
#include "keyframes.h"

namespace {

using BI = effect::BlockImage;
using C = effect::Camera;

// The credits part as init_demo places it: beats 330 to 372 from about 141.43 s.
struct CredPart {
  C camera;
  Enabler* list = nullptr;
  std::vector<Enabler*> nodes;
  float spb = beat2seconds(140, 4);
  float start_time = static_cast<float>(330.0 * spb);
  CredPart() {
    list = init_credpart(nullptr, camera, spb, start_time, 330, 372);
    for (Enabler* node = list; node != nullptr; node = node->next) nodes.push_back(node);
  }
  ~CredPart() { enabler_cleanup(list); }
  BI* image(int n) { return static_cast<BI*>(nodes[n]->effect); }
};

void expect_vec(const omni::Vector3<float>& v, float x, float y, float z) {
  EXPECT_EQ(v.x, x);
  EXPECT_EQ(v.y, y);
  EXPECT_EQ(v.z, z);
}

}  // namespace

TEST(CredPart, SevenPicturesInThreeGroups) {
  ASSERT_NE(test_gl_context(), nullptr);
  CredPart part;
  ASSERT_EQ(part.nodes.size(), 7u);
  const int starts[7] = {330, 330, 330, 342, 342, 356, 356};
  const int ends[7] = {344, 344, 344, 372, 372, 372, 372};
  const float pos[7][3] = {{0, 0, 0},        {30, -30, 0},    {60, -60, 0},   {-100, 0, -100},
                           {-70, -30, -100}, {30, -30, -200}, {60, -60, -200}};
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i + 1);
    ASSERT_STREQ(part.nodes[i]->effect->Name(), "BlockImage");
    EXPECT_EQ(part.nodes[i]->start, starts[i]);
    EXPECT_EQ(part.nodes[i]->end, ends[i]);
    EXPECT_EQ(part.nodes[i]->start_time, static_cast<float>(starts[i] * double(part.spb)));
    BI* image = part.image(i);
    EXPECT_EQ(image->type, BI::SCROLLER_STATIC);
    EXPECT_EQ(image->display_type, BI::DISPLAY_RELIEF);
    EXPECT_TRUE(image->color_enabled);
    EXPECT_EQ(image->max_size, 2.0f);
    EXPECT_EQ(image->spacing, 1.5f);
    ASSERT_EQ(image->images.size(), 1u);
    expect_vec(image->images[0].show_position, pos[i][0], pos[i][1], pos[i][2]);
    expect_vec(image->images[0].rotation, 0, 0, 0);
    EXPECT_FALSE(image->images[0].blocks.empty()) << "picture missing or black";
  }
  // "gfx" twice, from the same picture, into two block images of their own.
  const auto& gfx1 = part.image(1)->images[0].blocks;
  const auto& gfx2 = part.image(5)->images[0].blocks;
  ASSERT_EQ(gfx1.size(), gfx2.size());
  for (size_t i = 0; i < gfx1.size(); ++i) {
    expect_vec(gfx1[i].position, gfx2[i].position.x, gfx2[i].position.y, gfx2[i].position.z);
  }
  EXPECT_NE(part.image(1), part.image(5));
  EXPECT_NE(part.image(0)->images[0].blocks.size(), gfx1.size());
}

TEST(CredPart, SixteenKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  CredPart part;
  const C& cam = part.camera;
  ASSERT_EQ(cam.place_count, 8u);
  ASSERT_EQ(cam.rotation_count, 8u);
  const double spb = part.spb;
  const double t0 = part.start_time;
  const double tenth = 0.1f;
  // Start and duration of keyframe pair k (positions and rotations share them).
  const float start[8] = {float(t0),
                          float(t0 + tenth),
                          float(t0 + tenth),
                          float(t0 + 12 * spb),
                          float(t0 + 14 * spb),
                          float(t0 + 26 * spb),
                          float(t0 + 28 * spb),
                          float(t0 + 40 * spb)};
  const float length[8] = {0,
                           0,
                           float(12 * spb - tenth),
                           float(spb + spb),
                           float(12 * spb),
                           float(spb + spb),
                           float(12 * spb),
                           float(spb + spb)};
  const float places[8][3] = {{0, 0, 0},       {44, -34, 77},   {69, -54, 79},   {0, -19, -24},
                              {-75, -31, -20}, {91, -39, -106}, {47, -99, -126}, {62, -40, -190}};
  const float turns[8][3] = {{0, 0, 0},  {0, 14, 0},  {0, -18, 0},  {-8, -15, 0},
                             {0, 21, 0}, {0, -13, 0}, {-14, 14, 0}, {0, 3, 0}};
  for (int k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    const C::transition_t kind = k < 2 ? C::CUT : C::LINEAR;
    expect_key(cam.places[k], kind, start[k], length[k], places[k][0], places[k][1], places[k][2]);
    expect_key(cam.rotations[k], kind, start[k], length[k], turns[k][0], turns[k][1], turns[k][2]);
  }
  // The show's numbers.
  EXPECT_NEAR(start[1], 141.52858, 1e-4);
  EXPECT_NEAR(length[2], 5.042857, 1e-5);
  EXPECT_NEAR(start[3], 146.571426, 1e-4);
  EXPECT_NEAR(start[7] + length[7], 159.428574, 1e-4);
}

// At 120 frames a second: the camera stands at the origin, unturned, for the first 0.1 s of
// the part, then jumps to (44, -34, 77) turned 14 degrees about Y.
TEST(CredPart, CameraAtTheOriginForATenthOfASecond) {
  ASSERT_NE(test_gl_context(), nullptr);
  CredPart part;
  C& cam = part.camera;
  const long first = static_cast<long>(part.start_time * 120.0f) + 1;  // first frame of the part
  bool jumped = false;
  for (long n = first; n < first + 30; ++n) {
    const float t = n / 120.0f;
    cam.UpdateLogic(t, 0, false);
    if (t < part.start_time + 0.1f) {
      expect_vec(cam.location, 0, 0, 0);
      expect_vec(cam.rotation, 0, 0, 0);
    } else if (!jumped) {
      jumped = true;
      expect_vec(cam.location, 44, -34, 77);
      expect_vec(cam.rotation, 0, 14, 0);
    }
  }
  EXPECT_TRUE(jumped);
}

// With the credits, the last part, the script is whole: every part's nodes and keyframes and
// the flash over the show.
TEST(WholeShow, SixtyTwoNodesAndSixtyTwoKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  C camera;
  Enabler* head = init_demo(camera, beat2seconds(140, 4));
  int nodes = 0;
  for (Enabler* node = head; node != nullptr; node = node->next) ++nodes;
  EXPECT_EQ(nodes, 62);
  EXPECT_EQ(camera.place_count, 34u);
  EXPECT_EQ(camera.rotation_count, 28u);
  // Keyframes in time order on both tracks: the camera plays each track strictly in order.
  for (unsigned int i = 1; i < camera.place_count; ++i) {
    EXPECT_GE(camera.places[i].start_time, camera.places[i - 1].start_time) << i;
  }
  for (unsigned int i = 1; i < camera.rotation_count; ++i) {
    EXPECT_GE(camera.rotations[i].start_time, camera.rotations[i - 1].start_time) << i;
  }
  enabler_cleanup(head);
}
