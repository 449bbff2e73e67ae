#include "effect/plasmablock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

std::vector<unsigned char> pixels_of(const effect::PlasmaBlock& block) {
  return std::vector<unsigned char>(block.plasma.pixels,
                                    block.plasma.pixels + block.plasma.byte_count);
}

}  // namespace

// At 40 s the block has turned 200, 120 and 360 degrees about x, y and z, 3 units in front of
// where it is drawn, and its faces show the plasma, in blue only.
TEST(PlasmaBlock, TumblesAndShowsItsPlasma) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::PlasmaBlock block;
  block.UpdateLogic(40.0f, 0, false);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glTranslatef(0, 0, -4);
  EXPECT_EQ(block.Draw(), 0);
  float got[16], want[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, got);
  glLoadIdentity();
  glTranslatef(0, 0, -7);
  glRotatef(200, 1, 0, 0);
  glRotatef(120, 0, 1, 0);
  glRotatef(360, 0, 0, 1);
  glGetFloatv(GL_MODELVIEW_MATRIX, want);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], 1e-5) << "element " << i;

  glBindTexture(GL_TEXTURE_2D, 0);
  const std::vector<unsigned char> rgb = read_test_pixels();
  int lowest_blue = 255, highest_blue = 0, highest_red_green = 0;
  for (int y = 14; y < 34; ++y) {
    for (int x = 22; x < 42; ++x) {
      const unsigned char* p = &rgb[(y * 64 + x) * 3];
      lowest_blue = std::min<int>(lowest_blue, p[2]);
      highest_blue = std::max<int>(highest_blue, p[2]);
      highest_red_green = std::max<int>(highest_red_green, std::max(p[0], p[1]));
    }
  }
  EXPECT_EQ(highest_red_green, 0);
  EXPECT_GT(highest_blue - lowest_blue, 40) << "the faces should show the plasma's pattern";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(PlasmaBlock, UpdatesLessThanAMillisecondApartGiveTheSameImage) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::PlasmaBlock block;
  block.UpdateLogic(2.0001f, 0, false);
  const std::vector<unsigned char> first = pixels_of(block);
  block.UpdateLogic(2.0008f, 5, true);  // still 2000 ms
  EXPECT_EQ(pixels_of(block), first);
  block.UpdateLogic(2.0011f, 0, false);
  EXPECT_NE(pixels_of(block), first);
}
