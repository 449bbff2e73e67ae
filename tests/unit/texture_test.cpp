#include "effect/texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

using effect::PlasmaTexture;

std::vector<unsigned char> pixels_of(const PlasmaTexture& p) {
  return std::vector<unsigned char>(p.pixels, p.pixels + p.byte_count);
}

}  // namespace

// Sides round up to 64, 128 or 256; the pixels start black and the tables are filled.
TEST(Texture, InitSizesAndTables) {
  ASSERT_NE(test_gl_context(), nullptr);
  // Asked width and height, then the sides made.
  const int cases[][4] = {{1, 1, 64, 64},
                          {64, 64, 64, 64},
                          {65, 200, 128, 256},
                          {1000, 129, 256, 256},
                          {0, -5, 64, 64}};
  for (const auto& c : cases) {
    PlasmaTexture p;
    p.RenderTexture(1234);  // before Init: nothing to fill, no crash
    ASSERT_TRUE(p.Init(c[0], c[1]));
    EXPECT_EQ(std::make_pair(p.width, p.height), std::make_pair(c[2], c[3]))
        << c[0] << " x " << c[1];
    EXPECT_EQ(p.byte_count, c[2] * c[3] * 3);
    EXPECT_TRUE(std::all_of(p.pixels, p.pixels + p.byte_count, [](int b) { return b == 0; }));
    const int row = 2 * p.width;  // the tables are twice as wide and high as the texture
    EXPECT_EQ(p.plasma1[p.height * row], 128);
    for (int y = 0; y < 2 * p.height; ++y) ASSERT_EQ(p.plasma2[y * row], 128) << "row " << y;
  }
}

// The image changes every millisecond and depends on the millisecond alone, however it was
// reached. (Where the windows move: the plasma's golden frames, tests/capture.)
TEST(Texture, RenderDependsOnTheMillisecondAlone) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaTexture p;
  ASSERT_TRUE(p.Init(64, 64));
  p.RenderTexture(0);
  EXPECT_EQ(std::vector<int>(p.pixels, p.pixels + 3),
            std::vector<int>({193, 250, 193}));  // index 11
  std::vector<unsigned char> previous;
  for (unsigned int ms = 0; ms <= 16; ++ms) {
    p.RenderTexture(ms);
    EXPECT_NE(pixels_of(p), previous) << "ms " << ms;
    previous = pixels_of(p);
  }
  PlasmaTexture q;
  ASSERT_TRUE(q.Init(64, 64));
  q.RenderTexture(16);
  EXPECT_EQ(pixels_of(q), pixels_of(p));
}

// Seconds to milliseconds: truncated toward zero, keeping the low 32 bits.
TEST(Texture, MillisecondsTruncateAndWrap) {
  EXPECT_EQ(effect::texture_ms(2.0004f), 2000u);
  EXPECT_EQ(effect::texture_ms(-0.0005f), 0u);
  EXPECT_EQ(effect::texture_ms(-0.002f), 0xFFFFFFFEu);
  EXPECT_EQ(effect::texture_ms(5.0e6f), 705032704u);  // 5e9 less 2^32
}

// Every SetTexture binds and uploads the current image (read back from the bound texture); an
// unknown filter leaves the filter parameters as they were.
TEST(Texture, SetTextureFiltersAndUploads) {
  ASSERT_NE(test_gl_context(), nullptr);
  PlasmaTexture p;
  ASSERT_TRUE(p.Init(64, 64));
  // Filter (7: unknown), then the magnification and minification filters it leaves.
  const int cases[][3] = {{effect::FILTER_NEAREST, GL_NEAREST, GL_NEAREST},
                          {7, GL_NEAREST, GL_NEAREST},
                          {effect::FILTER_LINEAR, GL_LINEAR, GL_LINEAR},
                          {effect::FILTER_MIPMAP, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST}};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  for (const auto& c : cases) {
    p.RenderTexture(500 + 100 * c[0]);
    p.SetTexture(static_cast<effect::texture_filter>(c[0]));
    GLint mag = 0, min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(std::make_pair(mag, min), std::make_pair(c[1], c[2])) << "filter " << c[0];
    std::vector<unsigned char> uploaded(p.byte_count);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_EQ(uploaded, pixels_of(p)) << "filter " << c[0];
  }
  GLint level1 = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
  EXPECT_EQ(level1, 32);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  glBindTexture(GL_TEXTURE_2D, 0);
}
