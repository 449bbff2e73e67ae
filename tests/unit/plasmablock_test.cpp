#include "effect/plasmablock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

using effect::PlasmaBlock;

std::vector<float> modelview() {
  std::vector<float> m(16);
  glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
  return m;
}

// The modelview matrix Draw leaves for `time`, from the identity.
std::vector<float> draw_matrix(PlasmaBlock& block, float time) {
  block.UpdateLogic(time, 0, false);
  glLoadIdentity();
  block.Draw();
  std::vector<float> m = modelview();
  glLoadIdentity();
  return m;
}

// Translation to the centre, then rotations about x, y and z in that order, made by GL.
std::vector<float> expected_matrix(float ax, float ay, float az) {
  glLoadIdentity();
  glTranslatef(0, 0, -3);
  glRotatef(ax, 1, 0, 0);
  glRotatef(ay, 0, 1, 0);
  glRotatef(az, 0, 0, 1);
  std::vector<float> m = modelview();
  glLoadIdentity();
  return m;
}

void expect_matrix_near(const std::vector<float>& got, const std::vector<float>& want) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], 1e-5) << "element " << i;
}

std::vector<unsigned char> pixels_of(const PlasmaBlock& block) {
  return std::vector<unsigned char>(block.plasma.pixels,
                                    block.plasma.pixels + block.plasma.byte_count);
}

}  // namespace

TEST(PlasmaBlock, TumblesAboutItsCentre) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaBlock block;
  // Unrotated at 0 s; at 40 s turned 200, 120 and 360 degrees about x, y and z.
  expect_matrix_near(draw_matrix(block, 0.0f), expected_matrix(0, 0, 0));
  expect_matrix_near(draw_matrix(block, 40.0f), expected_matrix(200, 120, 360));
  glBindTexture(GL_TEXTURE_2D, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(PlasmaBlock, UpdatesLessThanAMillisecondApartGiveTheSameImage) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaBlock block;
  block.UpdateLogic(2.0001f, 0, false);
  const std::vector<unsigned char> first = pixels_of(block);
  block.UpdateLogic(2.0008f, 5, true);  // still 2000 ms; the beat arguments change nothing
  EXPECT_EQ(pixels_of(block), first);
  EXPECT_EQ(block.time, 2.0008f);
  block.UpdateLogic(2.0011f, 0, false);
  EXPECT_NE(pixels_of(block), first);
}

// Without a shader program the face shows the uploaded plasma, modulated by the blue colour.
TEST(PlasmaBlock, DrawsTheUploadedPlasmaOnItsFaces) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaBlock block;
  EXPECT_EQ(block.plasma.width, 128);
  EXPECT_EQ(block.plasma.height, 128);
  block.UpdateLogic(3.0f, 0, false);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glTranslatef(0, 0, -4);
  EXPECT_EQ(block.Draw(), 0);

  std::vector<unsigned char> uploaded(block.plasma.byte_count);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
  EXPECT_EQ(uploaded, pixels_of(block));
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
  EXPECT_GT(highest_blue - lowest_blue, 40) << "the face should show the plasma's pattern";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
