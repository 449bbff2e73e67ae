#include <gtest/gtest.h>

#include "demo/demo.h"
#include "demo/show.h"
#include "effect/humppa.h"
#include "gl_context.h"
#include "keyframes.h"

// One pillar field on beats 150 to 224, the camera cut above it; played through the frame
// step, the walk starts in the frame that raises the show's beat to 160.
TEST(PlasmaPart, OneFieldWhoseWalkStartsOnBeat160) {
  ASSERT_NE(test_gl_context(), nullptr);
  const float spb = 60.0f / 140.0f;
  const float start_time = 150 * spb;
  effect::Camera camera;
  Enabler* list = init_plasmapart(nullptr, camera, spb, start_time, 150, 224);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->next, nullptr);
  EXPECT_EQ(list->start, 150);
  EXPECT_EQ(list->end, 224);
  EXPECT_NEAR(list->start_time, 64.28571f, 1e-4);
  ASSERT_STREQ(list->effect->Name(), "Humppa");
  ASSERT_EQ(camera.places.size(), 1u);
  ASSERT_EQ(camera.rotations.size(), 1u);
  expect_key(camera.places[0], effect::Camera::CUT, start_time, 0, 0, 0, 120);
  expect_key(camera.rotations[0], effect::Camera::CUT, start_time, 0, 0, 0, 0);

  const auto* humppa = static_cast<effect::Humppa*>(list->effect);
  Show show(list, &camera, nullptr, spb);
  int frame = 0;
  for (; show.clock.beat < 160; ++frame) {
    ASSERT_FALSE(humppa->pillars_enabled) << "beat " << show.clock.beat;
    show.Frame(frame / 120.0f, FreeView(), false);
  }
  EXPECT_TRUE(humppa->pillars_enabled);
  const float raising_frame_time = (frame - 1) / 120.0f;
  EXPECT_GE(raising_frame_time, 160 * spb - 1e-4f);
  EXPECT_LT(raising_frame_time, 160 * spb + 1.0f / 120);
  enabler_cleanup(list);
}
