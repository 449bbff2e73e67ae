#include <gtest/gtest.h>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "gl_context.h"
#include "helpers.h"
#include "keyframes.h"
#include "part_fixture.h"

namespace {

using BI = effect::BlockImage;
using C = effect::Camera;

// The credits part as init_demo places it: beats 330 to 372 from about 141.43 s.
struct CredPart : BuiltPart {
  CredPart() : BuiltPart(init_credpart, 330, 372) {}
};

}  // namespace

// Seven still pictures in three groups with their beat ranges, positions checked by a sum
// weighted by row number; "gfx" is loaded twice, into two block images.
TEST(CredPart, SevenPicturesInThreeGroups) {
  ASSERT_NE(test_gl_context(), nullptr);
  CredPart part;
  const std::vector<Enabler*> nodes = list_nodes(part.list);
  ASSERT_EQ(nodes.size(), 7u);
  const int starts[7] = {330, 330, 330, 342, 342, 356, 356};
  omni::Vector3<float> sum(0, 0, 0);
  for (int i = 0; i < 7; ++i) {
    ASSERT_STREQ(nodes[i]->effect->Name(), "BlockImage");
    EXPECT_EQ(nodes[i]->start, starts[i]) << i + 1;
    EXPECT_EQ(nodes[i]->end, i < 3 ? 344 : 372) << i + 1;
    EXPECT_EQ(nodes[i]->start_time, static_cast<float>(starts[i] * double(part.spb)));
    const BI* image = static_cast<BI*>(nodes[i]->effect);
    EXPECT_EQ(image->type, BI::SCROLLER_STATIC);
    ASSERT_EQ(image->images.size(), 1u);
    EXPECT_FALSE(image->images[0].blocks.empty()) << "picture " << i + 1 << " missing or black";
    sum += image->images[0].show_position * static_cast<float>(i + 1);
  }
  expect_vec(sum, 90, -990, -3500);
  const BI* gfx1 = static_cast<BI*>(nodes[1]->effect);
  const BI* gfx2 = static_cast<BI*>(nodes[5]->effect);
  EXPECT_EQ(gfx1->images[0].blocks.size(), gfx2->images[0].blocks.size());
  EXPECT_NE(static_cast<BI*>(nodes[0]->effect)->images[0].blocks.size(),
            gfx1->images[0].blocks.size());
}

// Eight keyframes on each track: cuts at the start and 0.1 s later, then glides of 12 beats
// and moves of 2, the last arriving at beat 372. Targets are checked by sums weighted by
// keyframe number.
TEST(CredPart, SixteenKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  CredPart part;
  const C& cam = part.camera;
  ASSERT_EQ(cam.place_count, 8u);
  ASSERT_EQ(cam.rotation_count, 8u);
  const double spb = part.spb, t0 = part.start_time, tenth = 0.1f;
  const double start[8] = {t0,
                           t0 + tenth,
                           t0 + tenth,
                           t0 + 12 * spb,
                           t0 + 14 * spb,
                           t0 + 26 * spb,
                           t0 + 28 * spb,
                           t0 + 40 * spb};
  const double length[8] = {0, 0, 12 * spb - tenth, 2 * spb, 12 * spb, 2 * spb, 12 * spb, 2 * spb};
  omni::Vector3<float> places(0, 0, 0), turns(0, 0, 0);
  for (int k = 0; k < 8; ++k) {
    auto expect_timing = [&](const auto& key) {
      EXPECT_EQ(key.transition, k < 2 ? C::CUT : C::LINEAR) << k;
      EXPECT_EQ(key.start_time, static_cast<float>(start[k])) << k;
      EXPECT_EQ(key.duration, static_cast<float>(length[k])) << k;
    };
    expect_timing(cam.places[k]);
    expect_timing(cam.rotations[k]);
    places += cam.places[k].target * static_cast<float>(k + 1);
    turns += cam.rotations[k].target * static_cast<float>(k + 1);
  }
  expect_vec(places, 1291, -1708, -2843);
  expect_vec(turns, -130, 63, 0);
  EXPECT_NEAR(cam.places[7].start_time + cam.places[7].duration, 159.428574, 1e-4);
}

// At 120 frames a second: the camera stands at the origin, unturned, for the first 0.1 s of
// the part, then jumps to (44, -34, 77) turned 14 degrees about Y.
TEST(CredPart, CameraAtTheOriginForATenthOfASecond) {
  ASSERT_NE(test_gl_context(), nullptr);
  CredPart part;
  const long first = static_cast<long>(part.start_time * 120.0f) + 1;  // the part's first frame
  bool jumped = false;
  for (long n = first; n < first + 30 && !jumped; ++n) {
    part.camera.UpdateLogic(n / 120.0f, 0, false);
    jumped = n / 120.0f >= part.start_time + 0.1f;
    expect_vec(part.camera.location, jumped ? 44 : 0, jumped ? -34 : 0, jumped ? 77 : 0);
    expect_vec(part.camera.rotation, 0, jumped ? 14 : 0, 0);
  }
  EXPECT_TRUE(jumped);
}

// With the credits, the last part, the script is whole: every part's nodes and keyframes, each
// track in time order (the camera plays each track strictly in order).
TEST(WholeShow, SixtyTwoNodesAndSixtyTwoKeyframes) {
  ASSERT_NE(test_gl_context(), nullptr);
  C camera;
  Enabler* head = init_demo(camera, beat2seconds(140, 4));
  EXPECT_EQ(list_nodes(head).size(), 62u);
  ASSERT_EQ(camera.place_count, 34u);
  ASSERT_EQ(camera.rotation_count, 28u);
  for (unsigned int i = 1; i < 34; ++i) {
    EXPECT_GE(camera.places[i].start_time, camera.places[i - 1].start_time) << i;
    EXPECT_TRUE(i >= 28 || camera.rotations[i].start_time >= camera.rotations[i - 1].start_time);
  }
  enabler_cleanup(head);
}
