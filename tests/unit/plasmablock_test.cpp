#include "effect/plasmablock.h"

#include <gtest/gtest.h>

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
// where it is drawn. (That its faces show the plasma is the offline renderer's test.)
TEST(PlasmaBlock, Tumbles) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::PlasmaBlock block;
  block.UpdateLogic(40.0f, 0, false);
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
