#include <gtest/gtest.h>

#include <cstring>

#include "demo/demo.h"
#include "demo/show.h"
#include "effect/humppa.h"
#include "gl_context.h"
#include "helpers.h"

namespace {
const float seconds_per_beat = 60.0f / 140.0f;
const float start_time = 150 * seconds_per_beat;
}  // namespace

TEST(PlasmaPart, AppendsOneFieldAndCutsTheCameraAboveIt) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::Camera camera;
  Enabler* list = init_plasmapart(nullptr, camera, seconds_per_beat, start_time, 150, 224);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->next, nullptr);
  EXPECT_EQ(list->start, 150);
  EXPECT_EQ(list->end, 224);
  EXPECT_NEAR(list->start_time, 64.28571f, 1e-4);
  EXPECT_STREQ(list->effect->Name(), "Humppa");
  EXPECT_EQ(static_cast<effect::Humppa*>(list->effect)->pillar_beat, 10);

  ASSERT_EQ(camera.places.size(), 1u);
  EXPECT_EQ(camera.places[0].transition, effect::Camera::CUT);
  EXPECT_EQ(camera.places[0].start_time, start_time);
  EXPECT_EQ(camera.places[0].duration, 0.0f);
  EXPECT_EQ(camera.places[0].target.z, 120.0f);
  ASSERT_EQ(camera.rotations.size(), 1u);
  EXPECT_EQ(camera.rotations[0].transition, effect::Camera::CUT);
  EXPECT_EQ(camera.rotations[0].start_time, start_time);
  EXPECT_EQ(camera.rotations[0].target.x + camera.rotations[0].target.z, 0.0f);
  enabler_cleanup(list);
}

// Through the frame step: the walk starts in the frame that raises the show's beat to 160.
TEST(PlasmaPart, WalkStartsOnGlobalBeat160) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::Camera camera;
  Enabler* list = init_plasmapart(nullptr, camera, seconds_per_beat, start_time, 150, 224);
  const effect::Humppa* humppa = static_cast<effect::Humppa*>(list->effect);
  Show show(list, &camera, nullptr, seconds_per_beat);
  int frame = 0;
  for (; show.clock.beat < 160; ++frame) {
    EXPECT_FALSE(humppa->pillars_enabled) << "beat " << show.clock.beat;
    show.Frame(frame / 120.0f, FreeView(), false);
  }
  EXPECT_TRUE(humppa->pillars_enabled);
  const float raising_frame_time = (frame - 1) / 120.0f;
  EXPECT_GE(raising_frame_time, 160 * seconds_per_beat - 1e-4f);
  EXPECT_LT(raising_frame_time, 160 * seconds_per_beat + 1.0f / 120);
  enabler_cleanup(list);
}
