#include "effect/flash.h"

#include <gtest/gtest.h>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

float clear_red() {
  GLfloat c[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
  return c[0];
}

}  // namespace

TEST(Flash, FadesFromWhiteToBlackOverTwoSeconds) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::Flash flash;
  flash.AddFlash(50);
  glClearColor(0.3f, 0.3f, 0.3f, 0);
  flash.UpdateLogic(10.0f, 23, true);
  flash.Draw();
  EXPECT_EQ(clear_red(), 0.0f);  // before the first listed beat: black

  flash.UpdateLogic(21.43f, 50, true);
  EXPECT_EQ(flash.brightness, 1.0f);
  flash.Draw();
  EXPECT_EQ(clear_red(), 1.0f);
  flash.UpdateLogic(22.43f, 52, true);
  EXPECT_FLOAT_EQ(flash.brightness, 0.5f);
  flash.UpdateLogic(23.43f, 54, true);
  EXPECT_NEAR(flash.brightness, 0.0f, 1e-6f);
  flash.UpdateLogic(30.0f, 70, true);
  EXPECT_LT(flash.brightness, 0.0f);
  flash.Draw();
  EXPECT_EQ(clear_red(), 0.0f);  // GL clamps the negative level
}

TEST(Flash, EachBeatOnceAndInOrder) {
  effect::Flash flash;
  flash.AddFlash(5);
  flash.AddFlash(8);
  flash.UpdateLogic(2.0f, 5, true);
  flash.UpdateLogic(2.2f, 5, false);  // still beat 5: no second trigger
  EXPECT_EQ(flash.flash_start, 2.0f);
  EXPECT_EQ(flash.next_flash, 1u);
  flash.UpdateLogic(3.5f, 8, true);
  EXPECT_EQ(flash.flash_start, 3.5f);
  EXPECT_EQ(flash.brightness, 1.0f);  // restarts from white before the last one faded

  effect::Flash blocked;
  blocked.AddFlash(10);
  blocked.AddFlash(4);  // out of order: never matched
  blocked.AddFlash(12);
  for (int beat = 0; beat < 20; ++beat) blocked.UpdateLogic(beat * 0.5f, beat, true);
  EXPECT_EQ(blocked.next_flash, 1u);
  EXPECT_EQ(blocked.flash_start, 5.0f);
}
