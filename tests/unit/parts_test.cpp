// The show's script through its invariants: what every part must keep whatever its figures, and
// the parts whose timing rests on the beat clock. How the parts look is the golden frames'
// business (tests/capture).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "demo/script.h"
#include "demo/show.h"
#include "effect/blockimage.h"
#include "effect/cubecube.h"
#include "effect/humppa.h"
#include "gl_context.h"
#include "part_fixture.h"

namespace {

using BI = effect::BlockImage;
using V = omni::Vector3<float>;

}  // namespace

// Every part built alone at its place in the show: its effects stay within its beats, its
// pictures load (a wrong file name loads no blocks), and still pictures stand whole. (Its camera
// keys are data: tests/unit/camerafile_test.cpp.)
TEST(Parts, KeepToTheirBeatsAndLoadTheirPictures) {
  ASSERT_NE(test_gl_context(), nullptr);
  int first = 0;
  for (const ShowPart& show_part : show_parts) {
    SCOPED_TRACE(show_part.name);
    const int last = first + show_part.length;
    BuiltPart part(show_part.build, first, last);
    ASSERT_FALSE(part.nodes.empty());
    for (Enabler* node : part.nodes) {
      EXPECT_LE(first, node->start);
      EXPECT_LT(node->start, node->end);
      EXPECT_LE(node->end, last);
      const auto* image = dynamic_cast<BI*>(node->effect);
      if (image == nullptr) continue;
      ASSERT_FALSE(image->images.empty());
      for (const BI::BlockSet& set : image->images) {
        ASSERT_FALSE(set.blocks.empty()) << "a picture did not load";
        const bool still = image->type == BI::SCROLLER_STATIC;
        EXPECT_TRUE(!still || set.blocks.back().state == BI::BLOCK_SHOWN) << "not standing whole";
      }
    }
    first = last;
  }
}

// Played through the frame step at the show's rate: the pillar walk starts in the frame that
// raises the show's beat to the plasma part's pillar beat (where the show flashes), not before.
TEST(Parts, PlasmaWalkStartsOnItsPillarBeat) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_plasmapart, 150, 224);
  const auto* humppa = static_cast<effect::Humppa*>(part.list->effect);
  Show show(part.list, &part.camera, nullptr, show_seconds_per_beat);
  for (int frame = 0; show.clock.beat < 150 + plasma_pillar_beat; ++frame) {
    ASSERT_FALSE(humppa->pillars_enabled) << "beat " << show.clock.beat;
    show.Step(static_cast<float>(frame) / show_fps, FreeView(), false);
  }
  EXPECT_TRUE(humppa->pillars_enabled);
}

// Played at the show's rate: the cube frame bursts on the part's first frame and on every even
// beat after it, 32 times, never skipping one; the scroller beside it runs to the part's end.
TEST(Parts, ScrollerFrameBurstsOnEveryEvenBeat) {
  ASSERT_NE(test_gl_context(), nullptr);
  BuiltPart part(init_scrollerpart, 266, 330);
  Show show(part.list, &part.camera, nullptr, show_seconds_per_beat);
  const auto* frame = static_cast<effect::CubeCube*>(part.list->effect);
  int bursts = 0;
  for (long n = 0; show.clock.beat < 330; ++n) {
    show.Step(static_cast<float>(n) / show_fps, FreeView(), false);
    if (show.clock.beat < 266 || show.clock.beat >= 330) continue;
    if (frame->bursting && frame->burst_factor == 0.99f) {
      EXPECT_EQ((show.clock.beat - 266) % 2, 0) << "burst on beat " << show.clock.beat;
      EXPECT_TRUE(bursts++ > 0 || frame->time < 1.0f / show_fps) << "not on the first frame";
    }
  }
  EXPECT_EQ(bursts, 32);
  const auto* scroller = static_cast<BI*>(part.list->next->effect);
  const BI::BlockSet& set = scroller->images[0];
  // Its last column reaches the start line no earlier than about the part's end.
  EXPECT_GE(set.blocks.back().position.x / -set.speed, 64 * show_seconds_per_beat - 1.0f);
}

// The picture forms: blocks up to size 2 in the picture's colours; a scrolling picture travels
// from show to hide at its speed, its blocks growing at its rate; a flipping one changes
// picture after each beat. (None of these shows in a golden frame; a flipping picture's order
// and where the pictures stand do.)
TEST(ScriptPictures, SizeColourScrollingAndFlipping) {
  ASSERT_NE(test_gl_context(), nullptr);
  const platform::Picture one(1, 1, platform::Rgba{255, 255, 255, 255});
  const V place(1, 2, 3);
  std::unique_ptr<BI> still(script::still_picture(one, BI::DISPLAY_RELIEF, place));
  std::unique_ptr<BI> scroll(script::scrolling_picture(one, BI::DISPLAY_FLAT, V(50, -30, -10),
                                                       V(-50, -30, -10), -25.0f, 1, 20));
  std::unique_ptr<BI> flip(script::flipping_picture(one, one, show_seconds_per_beat, place));
  for (BI* image : {still.get(), scroll.get(), flip.get()}) {
    EXPECT_EQ(image->max_size, 2.0f);
    EXPECT_TRUE(image->color_enabled);
  }
  EXPECT_EQ(scroll->images[0].distance, 100.0f);
  EXPECT_EQ(scroll->images[0].speed, -25.0f);
  EXPECT_EQ(scroll->images[0].blocks[0].grow_rate, 20.0f);
  const float times[4] = {0.0f, show_seconds_per_beat, 0.44f, 0.88f};
  const unsigned int shown[4] = {1, 1, 0, 1};
  for (int k = 0; k < 4; ++k) {
    flip->UpdateLogic(times[k], k, true);
    EXPECT_EQ(flip->active, shown[k]) << "at " << times[k];
  }
}
