#include "effect/blockimage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gl/glcheck.h"
#include "gl_context.h"
#include "platform/picture.h"

namespace {

using BI = effect::BlockImage;
using V = omni::Vector3<float>;

constexpr platform::Rgba white{255, 255, 255, 255};
constexpr platform::Rgba black{0, 0, 0, 255};

// A white picture (every pixel a block) with its first pixels, row by row from the top, replaced.
platform::Picture picture(unsigned int width, unsigned int height,
                          const std::vector<platform::Rgba>& pixels = {}) {
  platform::Picture image(width, height, white);
  for (unsigned int k = 0; k < pixels.size(); ++k) image.SetPixel(k % width, k / width, pixels[k]);
  return image;
}

// An orthographic view, unlit, in which one scene unit is 8 pixels of the 64 x 48 test
// framebuffer with the origin at the bottom-left: window coordinates / 8 are scene positions.
void flat_view() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 8, 0, 6, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// What `draw` would rasterise: the number of polygons and their bounding box in scene units.
struct Drawn {
  int polygons = 0;
  V low = V(1e9f, 1e9f, 1e9f);
  V high = V(-1e9f, -1e9f, -1e9f);
};

template <typename F>
Drawn drawn(F draw) {
  flat_view();
  static GLfloat buffer[1 << 16];
  glFeedbackBuffer(sizeof(buffer) / sizeof(buffer[0]), GL_3D, buffer);
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint n = glRenderMode(GL_RENDER);
  Drawn d;
  for (GLint i = 0; i < n; ++d.polygons) {
    EXPECT_EQ(buffer[i++], GL_POLYGON_TOKEN);
    const GLint count = static_cast<GLint>(buffer[i++]);
    for (GLint k = 0; k < count; ++k, i += 3) {
      const V v(buffer[i] / 8, buffer[i + 1] / 8, buffer[i + 2]);
      d.low = V(std::min(d.low.x, v.x), std::min(d.low.y, v.y), std::min(d.low.z, v.z));
      d.high = V(std::max(d.high.x, v.x), std::max(d.high.y, v.y), std::max(d.high.z, v.z));
    }
  }
  return d;
}

}  // namespace

TEST(BlockImageLoad, TwoByTwoExample) {
  ASSERT_NE(test_gl_context(), nullptr);
  const platform::Picture example =
      picture(2, 2, {white, black, black, platform::Rgba{128, 128, 128, 255}});
  BI flat;
  flat.LoadImage(example, 1.0f);
  ASSERT_EQ(flat.images.size(), 1u);
  const std::vector<BI::Block>& blocks = flat.images[0].blocks;
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[1].position.x, 1.5f);
  EXPECT_EQ(blocks[1].position.y, -1.5f);
  EXPECT_EQ(blocks[1].column, 1);
  EXPECT_EQ(blocks[1].index, 1);
  EXPECT_FLOAT_EQ(blocks[1].color[1], 128 / 255.0f);

  BI relief;
  relief.SetDisplayType(BI::DISPLAY_RELIEF);
  relief.LoadImage(example, 1.0f);
  EXPECT_EQ(relief.images[0].blocks[0].position.z, 21.0f);
  EXPECT_EQ(relief.images[0].blocks[1].position.z, 15.0f);
}

TEST(BlockImageLoad, LumaBoundaryPixelsAndRowsStillCount) {
  ASSERT_NE(test_gl_context(), nullptr);
  // One column: three pixels just below luma 1 on each channel, then four at 1 (one of them
  // fully transparent: alpha is ignored).
  BI image;
  image.LoadImage(picture(1, 7,
                          {platform::Rgba{3, 0, 0, 255}, platform::Rgba{0, 1, 0, 255},
                           platform::Rgba{0, 0, 8, 255}, platform::Rgba{4, 0, 0, 255},
                           platform::Rgba{0, 2, 0, 255}, platform::Rgba{0, 0, 9, 0},
                           platform::Rgba{1, 1, 1, 255}}),
                  1.0f);
  const std::vector<BI::Block>& blocks = image.images[0].blocks;
  ASSERT_EQ(blocks.size(), 4u);
  // Dropped pixels still take their row: the first block is on row 3.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(blocks[i].position.y, -1.5f * (3 + i));
  EXPECT_EQ(blocks[3].index, 3);
}

TEST(BlockImageLoad, EmptyPicturesGiveEmptySetsThatTakeTheirTurn) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.LoadImage(platform::Picture(), 0.5f);
  // A failed load after a good one leaves the picture empty, whatever it held.
  platform::Picture reused = picture(3, 2);
  std::string error;
  EXPECT_FALSE(reused.Load("data/no_such_picture.png", error));
  EXPECT_NE(error.find("data/no_such_picture.png"), std::string::npos);
  image.LoadImage(reused, 0.5f);
  image.LoadImage(picture(1, 1), 0.5f);
  ASSERT_EQ(image.images.size(), 3u);
  EXPECT_TRUE(image.images[0].blocks.empty());
  EXPECT_TRUE(image.images[1].blocks.empty());
  image.UpdateLogic(0.0f, 0, false);
  image.UpdateLogic(0.6f, 0, false);
  EXPECT_EQ(image.active, 1u);
  image.UpdateLogic(1.2f, 0, false);
  EXPECT_EQ(image.active, 2u);
}

// The set setters act on the active set only, and on nothing when `active` is past the sets
// (as Clear leaves it when fewer sets are loaded afterwards); so do UpdateLogic and Draw.
TEST(BlockImageLoad, SetSettersActOnTheActiveSetIfAny) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.LoadImage(picture(1, 1), 1.0f);
  image.LoadImage(picture(1, 1), 1.0f);
  image.SetActiveImage(2);  // out of range: ignored
  EXPECT_EQ(image.active, 0u);
  image.SetActiveImage(1);
  image.SetSpeed(-15.0f);
  EXPECT_EQ(image.images[0].speed, 0.0f);

  image.active = 2;
  image.SetShowPosition(V(1, 2, 3));
  image.SetHidePosition(V(4, 5, 6));
  image.SetSpeed(-3.0f);
  image.SetRotation(V(1, 1, 1));
  image.UpdateLogic(1.0f, 0, false);
  EXPECT_EQ(image.current_time, 0.0f);
  EXPECT_EQ(image.images[1].speed, -15.0f);
  EXPECT_EQ(image.images[1].distance, 0.0f);
  for (auto type : {BI::SCROLLER_STATIC, BI::SCROLLER_EXPOSE, BI::SCROLLER_SCROLL}) {
    image.type = type;
    EXPECT_EQ(drawn([&] { image.Draw(); }).polygons, 0);
  }
}

TEST(BlockImageAnimation, CycleMovesAfterStrictlyMoreThanTheDuration) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI two;
  two.LoadImage(picture(1, 1), 0.5f);
  two.LoadImage(picture(1, 1), 0.5f);
  two.SetActiveImage(1);
  // The first update starts the cycle; exactly 0.5 s later is not yet; the switch time moves
  // by the duration, not to now, and a late frame steps once only.
  const float times[5] = {0.25f, 0.75f, 0.8f, 1.3f, 3.0f};
  const unsigned int active[5] = {1, 1, 0, 1, 0};
  const float switched[5] = {0.25f, 0.25f, 0.75f, 1.25f, 1.75f};
  for (int k = 0; k < 5; ++k) {
    two.UpdateLogic(times[k], 0, false);
    EXPECT_EQ(two.active, active[k]) << "at " << times[k];
    EXPECT_EQ(two.switch_time, switched[k]) << "at " << times[k];
  }
  BI one;
  one.LoadImage(picture(1, 1), 0.5f);
  for (float t = 0.0f; t < 3.0f; t += 0.3f) one.UpdateLogic(t, 0, false);
  EXPECT_EQ(one.active, 0u);
}

// A 4 x 2 white picture (columns of blocks 0-1, 2-3, 4-5, 6-7) scrolling left at 25 units a
// second with 10 units of travel: column c reaches the start line at c x 0.06 s.
class Scroller : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(test_gl_context(), nullptr);
    image.LoadImage(picture(4, 2), 1000.0f);
    image.SetHidePosition(V(-10, 0, 0));
    image.SetSpeed(-25.0f);
    image.SetType(BI::SCROLLER_SCROLL);
  }
  BI::Block& block(int i) { return image.images[0].blocks[i]; }

  // Before the image, which makes its cube shape when constructed.
  const bool has_context = test_gl_context() != nullptr;
  BI image;
};

TEST_F(Scroller, BlocksComeUpGrowShowShrinkAndGo) {
  // Block 5 (third column) is put in the growing state by hand: it only moves once the scan
  // reaches its column, which ends at the first waiting block of the second waiting column.
  block(5).state = BI::BLOCK_GROWING;
  block(5).scale = 0.5f;
  struct Step {
    float time;
    int block, state;
    float scale;
  };
  const Step steps[] = {
      {0.0f, 0, BI::BLOCK_GROWING, 0.0f},     {0.0f, 1, BI::BLOCK_GROWING, 0.0f},
      {0.0f, 2, BI::BLOCK_WAITING, 0.0f},     {0.0f, 5, BI::BLOCK_GROWING, 0.5f},
      {0.05f, 0, BI::BLOCK_GROWING, 0.25f},   {0.05f, 2, BI::BLOCK_WAITING, 0.0f},
      {0.06f, 2, BI::BLOCK_GROWING, 0.0f},    {0.06f, 4, BI::BLOCK_WAITING, 0.0f},
      {0.06f, 5, BI::BLOCK_GROWING, 0.3f},    {0.19f, 0, BI::BLOCK_GROWING, 0.95f},
      {0.2f, 0, BI::BLOCK_SHOWN, 1.0f},       {0.39f, 0, BI::BLOCK_SHOWN, 1.0f},
      {0.4f, 0, BI::BLOCK_SHRINKING, 1.0f},   {0.5f, 0, BI::BLOCK_SHRINKING, 0.5f},
      {0.61f, 0, BI::BLOCK_GONE, 0.0f},       {0.61f, 1, BI::BLOCK_GONE, 0.0f},
      {0.61f, 2, BI::BLOCK_SHRINKING, 0.45f},
  };
  float now = -1.0f;
  for (const Step& s : steps) {
    if (s.time != now) image.UpdateLogic(now = s.time, 0, false);
    EXPECT_EQ(block(s.block).state, s.state) << "block " << s.block << " at " << s.time;
    EXPECT_NEAR(block(s.block).scale, s.scale, 1e-5f) << "block " << s.block << " at " << s.time;
    // The scan starts after the last block gone so far.
    EXPECT_EQ(image.images[0].first_live, s.time < 0.61f ? 0 : 1);
  }
}

// A frame long after the last one moves each block by one step only: a block that has just
// grown is not also checked for its travel in the same frame.
TEST_F(Scroller, OneStepPerBlockPerFrame) {
  image.UpdateLogic(0.0f, 0, false);
  image.UpdateLogic(10.0f, 0, false);
  EXPECT_EQ(block(0).state, BI::BLOCK_SHOWN);
  for (int i = 2; i < 8; ++i) {
    EXPECT_EQ(block(i).state, BI::BLOCK_GROWING) << i;
    EXPECT_EQ(block(i).scale, 0.0f) << i;
  }
}

TEST(BlockImageDraw, StaticSkipsWaitingAndGoneAndScalesOnlyBelowMaxSize) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.SetMaxSize(2.0f);
  image.LoadImage(picture(4, 1), 1.0f);
  std::vector<BI::Block>& blocks = image.images[0].blocks;
  const int states[4] = {BI::BLOCK_SHOWN, BI::BLOCK_GROWING, BI::BLOCK_WAITING, BI::BLOCK_GONE};
  const float scales[4] = {2.0f, 0.5f, 1.0f, 1.0f};  // at max_size: unit size; below: scaled
  for (int i = 0; i < 4; ++i) blocks[i].state = states[i], blocks[i].scale = scales[i];
  image.SetShowPosition(V(1, 2, 0));
  image.images[0].offset = V(1, 0, 0);

  // Block 0 centred on (2, 2) at unit size, block 1 on (3.5, 2) at half size, nothing else.
  GLint depth_before = 0, depth_after = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
  const Drawn d = drawn([&] { image.Draw(); });
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
  EXPECT_EQ(depth_before, depth_after);
  EXPECT_EQ(d.polygons, 4);  // back faces culled: the front face of each, as two triangles
  EXPECT_FLOAT_EQ(d.low.x, 1.5f);
  EXPECT_FLOAT_EQ(d.high.x, 3.75f);
  EXPECT_FLOAT_EQ(d.low.y, 1.5f);
  EXPECT_FLOAT_EQ(d.high.y, 2.5f);
  // The placement stays on the matrix for the caller's save to undo.
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_EQ(m[12], 1.0f);
  EXPECT_EQ(m[13], 2.0f);

  EXPECT_EQ(gl::error_count(), 0u);
}

TEST(BlockImageDraw, StaticTurnsAboutTheShowPositionXThenYThenZ) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.LoadImage(picture(2, 1), 1.0f);
  image.SetType(BI::SCROLLER_STATIC);
  image.SetShowPosition(V(3, 3, 0));
  // The X rotation goes on the matrix first, so the picture turns about Y first: 90 about
  // each sends local +x to +y (the other order would send it along the view axis). The second
  // block (local x 1.5) ends up 1.5 above the show position.
  image.SetRotation(V(90, 90, 0));
  const Drawn d = drawn([&] { image.Draw(); });
  EXPECT_NEAR(d.low.x, 2.5f, 1e-5f);
  EXPECT_NEAR(d.high.x, 3.5f, 1e-5f);
  EXPECT_NEAR(d.low.y, 2.5f, 1e-5f);
  EXPECT_NEAR(d.high.y, 5.0f, 1e-5f);
}

// The expose flag is shared by every block image of the process; this is the one test that
// draws in expose mode.
TEST(BlockImageDraw, ExposeGrowsFromTheFirstDrawAndIgnoresStateAndPlacement) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI first;
  first.LoadImage(picture(2, 1), 1.0f);
  first.SetType(BI::SCROLLER_EXPOSE);
  first.SetShowPosition(V(1, 1, 0));
  first.SetRotation(V(0, 0, 90));
  first.images[0].offset = V(5, 5, 0);
  first.images[0].blocks[1].state = BI::BLOCK_GONE;

  first.UpdateLogic(2.0f, 0, false);
  first.Draw();  // stamped just before now: drawn almost at nothing
  EXPECT_EQ(first.images[0].blocks[0].expose_start, 2.0f - 0.0001f);

  // Both blocks (the gone one too) at show position + position, unrotated, no offset, at
  // scale 5 x 0.1; the stamp is not renewed.
  first.UpdateLogic(2.1f, 0, false);
  const Drawn d = drawn([&] { first.Draw(); });
  EXPECT_NEAR(d.low.x, 0.75f, 0.002f);
  EXPECT_NEAR(d.high.x, 2.75f, 0.002f);
  EXPECT_NEAR(d.high.y, 1.25f, 0.002f);

  // A second block image never gets the stamp: its blocks start from -1 and grow to 5 x 1.5,
  // capped at max_size.
  BI second;
  second.LoadImage(picture(1, 1), 1.0f);
  second.SetType(BI::SCROLLER_EXPOSE);
  second.UpdateLogic(0.5f, 0, false);
  second.Draw();
  EXPECT_EQ(second.images[0].blocks[0].scale, second.max_size);
  EXPECT_EQ(gl::error_count(), 0u);
}
