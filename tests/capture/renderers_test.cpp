// The two renderers side by side: the instanced one draws the classic one's frames (within a
// small tolerance), on a 3.3 core context and on OpenGL ES 3.0; multisampling; screen quads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "gl/glcheck.h"
#include "showrenderer.h"
#include "step_of.h"

namespace {

using Picture = std::vector<unsigned char>;

// Moments of every part, the flashes of the lines part and of the tail among them.
const char* const moments[] = {"10", "22",  "40",  "91b", "55",  "65",  "70",
                               "80", "100", "110", "125", "135", "150", "160"};

// Share of the pixels of which some channel differs by more than 4% of its range.
double share_differing(const Picture& a, const Picture& b) {
  if (a.size() != b.size() || a.empty()) return 1.0;
  size_t differing = 0;
  for (size_t i = 0; i < a.size(); i += 3) {
    for (size_t c = 0; c < 3; ++c) {
      if (std::abs(a[i + c] - b[i + c]) > 255 * 4 / 100) {
        ++differing;
        break;
      }
    }
  }
  return static_cast<double>(differing) / static_cast<double>(a.size() / 3);
}

// Distinct colours in a picture: a blank frame has one.
size_t colours(const Picture& p) {
  std::vector<unsigned> seen;
  for (size_t i = 0; i < p.size(); i += 3) seen.push_back(p[i] << 16 | p[i + 1] << 8 | p[i + 2]);
  std::sort(seen.begin(), seen.end());
  return static_cast<size_t>(std::unique(seen.begin(), seen.end()) - seen.begin());
}

DrawSettings with(render::Kind kind, int msaa = 0, bool gles = false) {
  DrawSettings settings;
  settings.renderer = kind;
  settings.msaa = msaa;
  settings.gles = gles;
  return settings;
}

// Renders the moment with each renderer in turn (each keeps its own show) and reads it.
std::vector<Picture> draw_both(const std::vector<ShowRenderer*>& renderers, int step) {
  std::vector<Picture> pictures;
  for (ShowRenderer* renderer : renderers) {
    renderer->Activate();
    renderer->StepTo(step);
    pictures.emplace_back();
    renderer->ReadRgb(pictures.back());
  }
  return pictures;
}

}  // namespace

// At most 0.5% of the pixels of any frame differ by more than 4%, at moments of every part,
// flashes included; each frame shows something.
TEST(Renderers, InstancedDrawsTheClassicFrames) {
  constexpr int width = 512, height = 384;
  ShowRenderer classic, instanced;
  std::string error;
  ASSERT_TRUE(classic.Create(width, height, "", error, with(render::Kind::classic))) << error;
  ASSERT_TRUE(instanced.Create(width, height, "", error, with(render::Kind::instanced))) << error;
  EXPECT_EQ(instanced.Layer().kind(), render::Kind::instanced);
  for (const char* moment : moments) {
    const std::vector<Picture> p = draw_both({&classic, &instanced}, step_of(moment));
    // A frame of the tail is the flash's colour alone.
    EXPECT_TRUE(colours(p[0]) > 8 || p[0][0] > 0) << moment;
    EXPECT_LE(share_differing(p[0], p[1]), 0.005) << "at " << moment;
  }
  EXPECT_EQ(gl::error_count(), 0u);
}

// The browser's path: the same renderer on OpenGL ES 3.0 (GLSL 3.00 es) draws what it draws on
// 3.3 core; and the plasma block alone (textured, without the toon program) as classic does.
TEST(Renderers, OpenGlEsAndTheTexturedBlockToo) {
  constexpr int width = 256, height = 192;
  ShowRenderer core, es;
  std::string error;
  ASSERT_TRUE(core.Create(width, height, "", error, with(render::Kind::instanced))) << error;
  ASSERT_TRUE(es.Create(width, height, "", error, with(render::Kind::instanced, 0, true))) << error;
  for (const char* moment : {"22", "80", "125"}) {
    const std::vector<Picture> p = draw_both({&core, &es}, step_of(moment));
    EXPECT_LE(share_differing(p[0], p[1]), 0.005) << "at " << moment;
  }
  ShowRenderer block_classic, block_instanced;
  ASSERT_TRUE(
      block_classic.Create(width, height, "PlasmaBlock", error, with(render::Kind::classic)));
  ASSERT_TRUE(
      block_instanced.Create(width, height, "PlasmaBlock", error, with(render::Kind::instanced)));
  const std::vector<Picture> p = draw_both({&block_classic, &block_instanced}, step_of("5"));
  EXPECT_GT(colours(p[0]), 20u);
  EXPECT_LE(share_differing(p[0], p[1]), 0.005);
}

// Multisampling smooths edges (some edge pixels change, nothing else) with either renderer.
TEST(Renderers, MultisamplingSmoothsEdgesOnly) {
  constexpr int width = 256, height = 192;
  for (render::Kind kind : {render::Kind::classic, render::Kind::instanced}) {
    ShowRenderer plain, smooth;
    std::string error;
    ASSERT_TRUE(plain.Create(width, height, "", error, with(kind))) << error;
    ASSERT_TRUE(smooth.Create(width, height, "", error, with(kind, 4))) << error;
    EXPECT_GE(smooth.context.samples, 2) << render::kind_name(kind);
    const std::vector<Picture> p = draw_both({&plain, &smooth}, step_of("91b"));
    const double changed = share_differing(p[0], p[1]);
    EXPECT_GT(changed, 0.0) << render::kind_name(kind);
    EXPECT_LT(changed, 0.25) << render::kind_name(kind);
    EXPECT_GT(colours(p[1]), colours(p[0])) << render::kind_name(kind);
  }
}

// Screen quads (the overlay) draw over the frame in the renderer's own way and leave the
// show's state as it was: the next frame is drawn as if they had not been.
TEST(Renderers, ScreenQuadsLeaveTheShowAsItWas) {
  constexpr int width = 128, height = 96;
  for (render::Kind kind : {render::Kind::classic, render::Kind::instanced}) {
    ShowRenderer with_quads, without;
    std::string error;
    ASSERT_TRUE(with_quads.Create(width, height, "", error, with(kind))) << error;
    ASSERT_TRUE(without.Create(width, height, "", error, with(kind))) << error;
    with_quads.Activate();
    with_quads.StepTo(step_of("80"));
    // A panel over the top left quarter, in a space of 64 x 48 units (y down).
    const float panel[4][4] = {{0, 0, 0, 0}, {32, 0, 0, 0}, {32, 24, 0, 0}, {0, 24, 0, 0}};
    render::Layer& layer = with_quads.Layer();
    layer.ScreenBegin(64, 48);
    layer.ScreenQuads(panel, sizeof panel[0], 1, 1.0f, 0.0f, 1.0f);
    layer.ScreenEnd();
    Picture covered;
    with_quads.ReadRgb(covered);
    const unsigned char* corner = &covered[(10 * width + 10) * 3];
    EXPECT_EQ(corner[0], 255) << render::kind_name(kind);
    EXPECT_EQ(corner[1], 0) << render::kind_name(kind);
    EXPECT_EQ(corner[2], 255) << render::kind_name(kind);
    const unsigned char* outside = &covered[(80 * width + 100) * 3];
    EXPECT_FALSE(outside[0] == 255 && outside[1] == 0 && outside[2] == 255);

    const int next = step_of("80") + 1;
    const std::vector<Picture> p = draw_both({&with_quads, &without}, next);
    EXPECT_EQ(p[0], p[1]) << render::kind_name(kind);
  }
}
