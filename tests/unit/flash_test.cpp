#include "effect/flash.h"

#include <gtest/gtest.h>

// The fade itself (white on its beat, black before the first and after two seconds) is in the
// title, lines_flash and tail_flash golden frames.
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
