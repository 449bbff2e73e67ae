#include "effect/texture.h"

#include <gtest/gtest.h>

#include <vector>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

using effect::PlasmaTexture;

// The image the plasma must show when its windows start at (x1, y1) and (x2, y2), coloured by
// its current palette.
std::vector<unsigned char> image_from(const PlasmaTexture& p, int x1, int y1, int x2, int y2) {
  std::vector<unsigned char> rgb;
  const int row = 2 * p.width;
  for (int r = 0; r < p.height; ++r) {
    for (int c = 0; c < p.width; ++c) {
      const int o1 = (y1 + r) * row + x1 + c;
      const int o2 = (y2 + r) * row + x2 + c;
      const int index = (p.plasma1[o1] + p.plasma1[o2] + p.plasma2[o1] + p.plasma2[o2]) % 256;
      rgb.insert(rgb.end(), p.palette[index], p.palette[index] + 3);
    }
  }
  return rgb;
}

std::vector<unsigned char> pixels_of(const PlasmaTexture& p) {
  return std::vector<unsigned char>(p.pixels, p.pixels + p.byte_count);
}

GLint texture_parameter(GLenum name) {
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

}  // namespace

TEST(Texture, SidesAreRoundedUpToSixtyFourOneTwentyEightOrTwoFiftySix) {
  ASSERT_NE(test_gl_context(), nullptr);
  const struct {
    int w, h, width, height;
  } cases[] = {{1, 1, 64, 64},
               {64, 64, 64, 64},
               {65, 200, 128, 256},
               {1000, 129, 256, 256},
               {0, -5, 64, 64}};
  for (const auto& c : cases) {
    PlasmaTexture p;
    EXPECT_TRUE(p.Init(c.w, c.h));
    EXPECT_EQ(p.width, c.width) << c.w << " x " << c.h;
    EXPECT_EQ(p.height, c.height) << c.w << " x " << c.h;
    EXPECT_EQ(p.byte_count, c.width * c.height * 3);
    EXPECT_NE(p.texture_id, 0u);
  }
}

TEST(Texture, StartsBlackWithBlackPaletteAndFilledTables) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaTexture p;
  for (const auto& entry : p.palette) {
    EXPECT_EQ(entry[0] | entry[1] | entry[2], 0);
  }
  EXPECT_EQ(p.pixels, nullptr);
  p.RenderTexture(1234);  // before Init: nothing to fill, no crash
  ASSERT_TRUE(p.Init(65, 200));
  for (int i = 0; i < p.byte_count; ++i) ASSERT_EQ(p.pixels[i], 0) << "byte " << i;

  // 128 x 256: rows of the tables are 256 bytes, and there are 512 of them.
  const int row = 2 * p.width;
  EXPECT_EQ(p.plasma1[p.height * row + 0], 128);
  for (int y = 0; y < 2 * p.height; ++y) ASSERT_EQ(p.plasma2[y * row], 128) << "row " << y;
}

TEST(Texture, PaletteAtTimeZero) {
  PlasmaTexture p;
  p.UpdatePalette(0.0);
  const struct {
    int index;
    unsigned char r, g, b;
  } cases[] = {{0, 128, 255, 128},
               {32, 255, 217, 255},
               {64, 127, 127, 127},  // pi a hair high: sin and cos land just below zero
               {96, 1, 38, 1},
               {128, 128, 1, 128}};
  for (const auto& c : cases) {
    EXPECT_EQ(p.palette[c.index][0], c.r) << "entry " << c.index;
    EXPECT_EQ(p.palette[c.index][1], c.g) << "entry " << c.index;
    EXPECT_EQ(p.palette[c.index][2], c.b) << "entry " << c.index;
  }
}

TEST(Texture, FirstFrameOfSixtyFourSquare) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaTexture p;
  ASSERT_TRUE(p.Init(64, 64));
  p.RenderTexture(0);
  // Windows at (32, 63) and (63, 32); the first texel sums to index 11.
  const int o1 = 63 * 128 + 32, o2 = 32 * 128 + 63;
  EXPECT_EQ((p.plasma1[o1] + p.plasma1[o2] + p.plasma2[o1] + p.plasma2[o2]) % 256, 11);
  EXPECT_EQ(p.pixels[0], 193);
  EXPECT_EQ(p.pixels[1], 250);
  EXPECT_EQ(p.pixels[2], 193);
  EXPECT_EQ(pixels_of(p), image_from(p, 32, 63, 63, 32));
}

TEST(Texture, WindowsMoveEverySixteenMillisecondsPaletteEveryOne) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaTexture p;
  ASSERT_TRUE(p.Init(64, 64));
  std::vector<unsigned char> previous;
  for (unsigned int ms = 0; ms < 16; ++ms) {
    p.RenderTexture(ms);
    const std::vector<unsigned char> image = pixels_of(p);
    EXPECT_EQ(image, image_from(p, 32, 63, 63, 32)) << "ms " << ms;
    if (ms > 0) {
      EXPECT_NE(image, previous) << "ms " << ms;
    }
    previous = image;
  }
  // At 16 ms the first window has moved up a row and the second one left a column.
  p.RenderTexture(16);
  EXPECT_EQ(pixels_of(p), image_from(p, 32, 62, 62, 32));

  // The image depends on ms alone.
  PlasmaTexture q;
  ASSERT_TRUE(q.Init(64, 64));
  q.RenderTexture(16);
  EXPECT_EQ(pixels_of(q), pixels_of(p));
}

TEST(Texture, MillisecondsAreTruncatedAndKeepTheLowThirtyTwoBits) {
  EXPECT_EQ(effect::texture_ms(1.0f), 1000u);
  EXPECT_EQ(effect::texture_ms(0.0009f), 0u);
  EXPECT_EQ(effect::texture_ms(2.0004f), 2000u);
  EXPECT_EQ(effect::texture_ms(-0.0005f), 0u);          // truncated toward zero
  EXPECT_EQ(effect::texture_ms(-0.002f), 0xFFFFFFFEu);  // -2 in 32 bits
  EXPECT_EQ(effect::texture_ms(5.0e6f), 705032704u);    // 5e9 less 2^32
}

TEST(Texture, SetTextureFiltersAndUploads) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaTexture p;
  ASSERT_TRUE(p.Init(64, 64));
  p.RenderTexture(500);

  p.SetTexture(effect::FILTER_NEAREST);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<unsigned int>(bound), p.texture_id);
  EXPECT_EQ(texture_parameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  EXPECT_EQ(texture_parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);

  // An unknown filter leaves the parameters alone but still sends the new image.
  p.RenderTexture(900);
  p.SetTexture(static_cast<effect::texture_filter>(7));
  EXPECT_EQ(texture_parameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  EXPECT_EQ(texture_parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  std::vector<unsigned char> uploaded(p.byte_count);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
  EXPECT_EQ(uploaded, pixels_of(p));

  p.SetTexture(effect::FILTER_LINEAR);
  EXPECT_EQ(texture_parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(texture_parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);

  p.SetTexture(effect::FILTER_MIPMAP);
  EXPECT_EQ(texture_parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(texture_parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
  GLint level1 = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
  EXPECT_EQ(level1, 32);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  glBindTexture(GL_TEXTURE_2D, 0);
}
