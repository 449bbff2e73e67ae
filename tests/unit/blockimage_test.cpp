#include "effect/blockimage.h"

#include <gtest/gtest.h>

#include <vector>

#include "gl_context.h"
#include "helpers.h"

namespace {

using BI = effect::BlockImage;
using V = omni::Vector3<float>;

// A picture from rows of RGB triples, top row first.
sf::Image picture(unsigned int width, unsigned int height, const std::vector<sf::Color>& rows) {
  sf::Image image;
  image.create(width, height, sf::Color::Black);
  for (unsigned int j = 0; j < height; ++j) {
    for (unsigned int i = 0; i < width; ++i) image.setPixel(i, j, rows[j * width + i]);
  }
  return image;
}

// White everywhere: every pixel becomes a block.
sf::Image white(unsigned int width, unsigned int height) {
  sf::Image image;
  image.create(width, height, sf::Color::White);
  return image;
}

// The 2 x 2 example: white top-left, grey bottom-right, black elsewhere.
sf::Image two_by_two() {
  const sf::Color k = sf::Color::Black;
  return picture(2, 2, {sf::Color::White, k, k, sf::Color(128, 128, 128)});
}

// A polygon as GL reports it in feedback mode: window coordinates of its vertices.
struct Polygon {
  std::vector<V> vertices;
};

// Runs `draw` in feedback mode and returns the polygons it would rasterise.
template <typename F>
std::vector<Polygon> feedback(F draw) {
  static GLfloat buffer[1 << 16];
  glFeedbackBuffer(sizeof(buffer) / sizeof(buffer[0]), GL_3D, buffer);
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint n = glRenderMode(GL_RENDER);
  std::vector<Polygon> polygons;
  for (GLint i = 0; i < n;) {
    const GLint token = static_cast<GLint>(buffer[i++]);
    if (token != GL_POLYGON_TOKEN) {
      ADD_FAILURE() << "unexpected feedback token " << token;
      break;
    }
    Polygon p;
    const GLint count = static_cast<GLint>(buffer[i++]);
    for (GLint k = 0; k < count; ++k, i += 3) {
      p.vertices.push_back(V(buffer[i], buffer[i + 1], buffer[i + 2]));
    }
    polygons.push_back(p);
  }
  return polygons;
}

// An orthographic view in which one scene unit is `pixels` pixels of the 64 x 48 test
// framebuffer, the origin at the bottom-left corner, and no lighting: feedback vertices and
// pixels then read directly as scene positions.
void flat_view(float pixels) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 64.0 / pixels, 0, 48.0 / pixels, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Bounding box (min corner, max corner) of all polygons, in window coordinates.
void bounds(const std::vector<Polygon>& polygons, V& low, V& high) {
  low = V(1e9f, 1e9f, 1e9f);
  high = V(-1e9f, -1e9f, -1e9f);
  for (const Polygon& p : polygons) {
    for (const V& v : p.vertices) {
      low = V(std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z));
      high = V(std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z));
    }
  }
}

int lit_pixels(const std::vector<unsigned char>& rgb) {
  int count = 0;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    if (rgb[i] + rgb[i + 1] + rgb[i + 2] > 0) ++count;
  }
  return count;
}

}  // namespace

TEST(BlockImageLoad, LumaIsTheRootOfTheWeightedSum) {
  EXPECT_EQ(RGB_luma(255, 255, 255), 15);
  EXPECT_EQ(RGB_luma(128, 128, 128), 11);
  EXPECT_EQ(RGB_luma(1, 1, 1), 1);
  EXPECT_EQ(RGB_luma(4, 0, 0), 1);
  EXPECT_EQ(RGB_luma(0, 0, 0), 0);
  EXPECT_EQ(RGB_luma(3, 0, 0), 0);
}

TEST(BlockImageLoad, TwoByTwoExample) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI flat;
  ASSERT_TRUE(flat.LoadImage(two_by_two(), 2.5f));
  ASSERT_EQ(flat.images.size(), 1u);
  const BI::BlockSet& set = flat.images[0];
  EXPECT_EQ(set.duration, 2.5f);
  EXPECT_EQ(set.first_live, 0);
  ASSERT_EQ(set.blocks.size(), 2u);

  const BI::Block& a = set.blocks[0];
  EXPECT_EQ(a.index, 0);
  EXPECT_EQ(a.column, 0);
  EXPECT_EQ(a.position.x, 0.0f);
  EXPECT_EQ(a.position.y, 0.0f);
  EXPECT_EQ(a.position.z, 0.0f);
  EXPECT_EQ(a.color[0], 1.0f);
  EXPECT_EQ(a.state, BI::BLOCK_WAITING);
  EXPECT_EQ(a.scale, 0.0f);
  EXPECT_EQ(a.expose_start, -1.0f);
  EXPECT_EQ(a.grow_rate, 5.0f);

  const BI::Block& b = set.blocks[1];
  EXPECT_EQ(b.index, 1);
  EXPECT_EQ(b.column, 1);
  EXPECT_EQ(b.position.x, 1.5f);
  EXPECT_EQ(b.position.y, -1.5f);
  EXPECT_EQ(b.position.z, 0.0f);
  EXPECT_FLOAT_EQ(b.color[1], 128 / 255.0f);

  BI relief;
  relief.SetDisplayType(BI::DISPLAY_RELIEF);
  relief.LoadImage(two_by_two(), 1.0f);
  ASSERT_EQ(relief.images[0].blocks.size(), 2u);
  EXPECT_EQ(relief.images[0].blocks[0].position.z, 21.0f);
  EXPECT_EQ(relief.images[0].blocks[1].position.z, 15.0f);
}

TEST(BlockImageLoad, NearlyBlackPixelsAreDroppedAndAlphaIgnored) {
  ASSERT_NE(test_gl_context(), nullptr);
  // One column: three dropped pixels, then three kept ones (one fully transparent).
  BI image;
  image.LoadImage(picture(1, 6,
                          {sf::Color(3, 0, 0), sf::Color(0, 1, 0), sf::Color(0, 0, 8),
                           sf::Color(4, 0, 0), sf::Color(0, 2, 0), sf::Color(0, 0, 9, 0)}),
                  1.0f);
  const std::vector<BI::Block>& blocks = image.images[0].blocks;
  ASSERT_EQ(blocks.size(), 3u);
  // Rows are counted whether or not a block was made: the first kept pixel is row 3.
  EXPECT_EQ(blocks[0].position.y, -4.5f);
  EXPECT_EQ(blocks[1].position.y, -6.0f);
  EXPECT_EQ(blocks[2].position.y, -7.5f);
  EXPECT_EQ(blocks[2].index, 2);
}

TEST(BlockImageLoad, SpacingAccumulatesByAddition) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.SetSpacing(0.1f);
  image.LoadImage(white(12, 1), 1.0f);
  float x = 0.0f;
  for (const BI::Block& block : image.images[0].blocks) {
    EXPECT_EQ(block.position.x, x);
    x += 0.1f;
  }
  // Repeated addition drifts from the product: the last column shows it.
  EXPECT_NE(image.images[0].blocks[11].position.x, 11 * 0.1f);
}

TEST(BlockImageLoad, EmptyPicturesGiveEmptySets) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.LoadImage(sf::Image(), 0.5f);
  ASSERT_EQ(image.images.size(), 1u);
  EXPECT_TRUE(image.images[0].blocks.empty());

  // A failed load after a good one leaves SFML's image with its old size and no pixels; it
  // loads as an empty picture.
  sf::Image reused = white(3, 2);
  EXPECT_FALSE(reused.loadFromFile("data/no_such_picture.png"));
  image.LoadImage(reused, 0.5f);
  ASSERT_EQ(image.images.size(), 2u);
  EXPECT_TRUE(image.images[1].blocks.empty());

  // The empty set still takes its turn in the cycle.
  image.LoadImage(white(1, 1), 0.5f);
  image.UpdateLogic(0.0f, 0, false);
  image.UpdateLogic(0.6f, 0, false);
  EXPECT_EQ(image.active, 1u);
  image.UpdateLogic(1.2f, 0, false);
  EXPECT_EQ(image.active, 2u);
}

TEST(BlockImageLoad, SettingsShapeOnlyLaterLoads) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.LoadImage(white(2, 1), 1.0f);
  image.SetFactor(2.0f);
  image.SetSpacing(3.0f);
  EXPECT_EQ(image.images[0].blocks[0].grow_rate, 5.0f);
  EXPECT_EQ(image.images[0].blocks[1].position.x, 1.5f);
  image.LoadImage(white(2, 1), 1.0f);
  EXPECT_EQ(image.images[1].blocks[0].grow_rate, 2.0f);
  EXPECT_EQ(image.images[1].blocks[1].position.x, 3.0f);
}

TEST(BlockImageLoad, StaticTypeMarksOnlyBlocksAlreadyLoaded) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI early;
  early.SetType(BI::SCROLLER_STATIC);
  early.LoadImage(white(2, 2), 1.0f);
  for (const BI::Block& block : early.images[0].blocks) {
    EXPECT_EQ(block.state, BI::BLOCK_WAITING);
    EXPECT_EQ(block.scale, 0.0f);
  }

  // Called last, it shows every block of every set, not only the active one.
  BI late;
  late.LoadImage(white(2, 2), 1.0f);
  late.LoadImage(white(1, 3), 1.0f);
  late.SetType(BI::SCROLLER_SCROLL);
  EXPECT_EQ(late.images[1].blocks[0].state, BI::BLOCK_WAITING);
  late.SetType(BI::SCROLLER_STATIC);
  for (const BI::BlockSet& set : late.images) {
    for (const BI::Block& block : set.blocks) {
      EXPECT_EQ(block.state, BI::BLOCK_SHOWN);
      EXPECT_EQ(block.scale, 1.0f);
    }
  }
}

TEST(BlockImageLoad, SetSettersActOnTheActiveSet) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.LoadImage(white(1, 1), 1.0f);
  image.LoadImage(white(1, 1), 1.0f);
  // A new set starts unmoved, with no travel and no speed.
  EXPECT_EQ(image.images[0].distance, 0.0f);
  EXPECT_EQ(image.images[0].speed, 0.0f);

  image.SetShowPosition(V(50, -30, -10));
  EXPECT_NEAR(image.images[0].distance, 59.16f, 0.01f);
  image.SetHidePosition(V(-50, -30, -10));
  EXPECT_EQ(image.images[0].distance, 100.0f);

  image.SetActiveImage(2);
  EXPECT_EQ(image.active, 0u);
  image.SetActiveImage(1);
  EXPECT_EQ(image.active, 1u);
  image.SetSpeed(-15.0f);
  image.SetRotation(V(10, 20, 30));
  EXPECT_EQ(image.images[1].speed, -15.0f);
  EXPECT_EQ(image.images[1].rotation.z, 30.0f);
  EXPECT_EQ(image.images[0].speed, 0.0f);
  EXPECT_EQ(image.images[0].rotation.z, 0.0f);
  EXPECT_EQ(image.images[1].distance, 0.0f);
}

TEST(BlockImageLoad, WithoutASetNothingHappens) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.SetShowPosition(V(1, 2, 3));
  image.SetHidePosition(V(4, 5, 6));
  image.SetSpeed(-3.0f);
  image.SetRotation(V(1, 1, 1));
  image.SetType(BI::SCROLLER_SCROLL);
  image.UpdateLogic(1.0f, 0, false);
  EXPECT_EQ(image.current_time, 0.0f);
  EXPECT_EQ(image.switch_time, -1.0f);
  EXPECT_EQ(image.active, 0u);

  // Clear keeps `active`, which may then point past the sets loaded afterwards.
  image.LoadImage(white(1, 1), 1.0f);
  image.LoadImage(white(1, 1), 1.0f);
  image.SetActiveImage(1);
  image.Clear();
  image.LoadImage(white(1, 1), 1.0f);
  image.SetSpeed(-3.0f);
  image.UpdateLogic(1.0f, 0, false);
  EXPECT_EQ(image.images[0].speed, 0.0f);

  flat_view(8.0f);
  GLint depth_before = 0, depth_after = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
  for (auto type : {BI::SCROLLER_STATIC, BI::SCROLLER_EXPOSE, BI::SCROLLER_SCROLL}) {
    image.type = type;
    EXPECT_TRUE(feedback([&] { image.Draw(); }).empty());
  }
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
  EXPECT_EQ(depth_before, depth_after);
  EXPECT_EQ(gl::error_count(), 0u);
}

TEST(BlockImageAnimation, CycleMovesAfterStrictlyMoreThanTheDuration) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI two;
  two.LoadImage(white(1, 1), 0.5f);
  two.LoadImage(white(1, 1), 0.5f);
  two.SetActiveImage(1);
  two.UpdateLogic(0.25f, 0, false);
  EXPECT_EQ(two.switch_time, 0.25f);  // the first update starts the cycle
  two.UpdateLogic(0.75f, 0, false);
  EXPECT_EQ(two.active, 1u);  // exactly 0.5 s: not yet
  two.UpdateLogic(0.8f, 0, false);
  EXPECT_EQ(two.active, 0u);
  EXPECT_EQ(two.switch_time, 0.75f);  // moves by the duration, not to now
  two.UpdateLogic(1.3f, 0, false);
  EXPECT_EQ(two.active, 1u);
  // A late frame steps once per update and catches up over the next ones.
  two.UpdateLogic(3.0f, 0, false);
  EXPECT_EQ(two.active, 0u);
  EXPECT_EQ(two.switch_time, 1.75f);
  two.UpdateLogic(3.0f, 0, false);
  EXPECT_EQ(two.active, 1u);

  BI one;
  one.LoadImage(white(1, 1), 0.5f);
  for (float t = 0.0f; t < 3.0f; t += 0.3f) {
    one.UpdateLogic(t, 0, false);
    EXPECT_EQ(one.active, 0u);
  }
}

// A 4 x 2 white picture scrolling left at 25 units a second with 10 units of travel.
class Scroller : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(test_gl_context(), nullptr);
    image.LoadImage(white(4, 2), 1000.0f);
    image.SetHidePosition(V(-10, 0, 0));
    image.SetSpeed(-25.0f);
    image.SetType(BI::SCROLLER_SCROLL);
  }
  const BI::Block& block(int i) { return image.images[0].blocks[i]; }
  void update(float t) { image.UpdateLogic(t, 0, false); }

  BI image;
};

TEST_F(Scroller, ColumnsComeUpOneAfterAnother) {
  update(0.0f);
  EXPECT_EQ(image.images[0].offset.x, 0.0f);
  for (int i : {0, 1}) {
    EXPECT_EQ(block(i).state, BI::BLOCK_GROWING);
    EXPECT_EQ(block(i).scale, 0.0f);
    EXPECT_EQ(block(i).state_start, 0.0f);
  }
  for (int i : {2, 3, 4, 5, 6, 7}) EXPECT_EQ(block(i).state, BI::BLOCK_WAITING);

  update(0.05f);  // speed x time is -1.25: column 1 is still short of the line
  EXPECT_EQ(block(2).state, BI::BLOCK_WAITING);
  EXPECT_EQ(block(0).scale, 5.0f * 0.05f);
  update(0.06f);  // -1.5: column 1 reaches it
  EXPECT_EQ(image.images[0].offset.x, -1.5f);
  EXPECT_EQ(block(2).state, BI::BLOCK_GROWING);
  EXPECT_EQ(block(2).scale, 0.0f);
  EXPECT_EQ(block(2).state_start, 0.06f);
  EXPECT_EQ(block(4).state, BI::BLOCK_WAITING);
}

TEST_F(Scroller, BlocksGrowShowShrinkAndGo) {
  update(0.0f);
  update(0.19f);
  EXPECT_EQ(block(0).state, BI::BLOCK_GROWING);
  update(0.2f);  // 5 x 0.2 rounds to exactly 1 in single precision
  EXPECT_EQ(block(0).state, BI::BLOCK_SHOWN);
  EXPECT_EQ(block(0).scale, 1.0f);
  EXPECT_EQ(block(0).state_start, 0.2f);

  update(0.39f);  // 9.75 units past the line
  EXPECT_EQ(block(0).state, BI::BLOCK_SHOWN);
  update(0.4f);  // 10: the travel is done
  EXPECT_EQ(block(0).state, BI::BLOCK_SHRINKING);
  EXPECT_EQ(block(0).state_start, 0.4f);
  EXPECT_EQ(block(0).scale, 1.0f);
  update(0.5f);
  EXPECT_NEAR(block(0).scale, 0.5f, 1e-6f);
  EXPECT_EQ(image.images[0].first_live, 0);
  update(0.61f);
  EXPECT_EQ(block(0).state, BI::BLOCK_GONE);
  EXPECT_EQ(block(1).state, BI::BLOCK_GONE);
  EXPECT_EQ(block(0).scale, 0.0f);
  EXPECT_EQ(block(0).state_start, 0.61f);
  // The last block of the column visited in that frame.
  EXPECT_EQ(image.images[0].first_live, 1);
  EXPECT_EQ(block(2).state, BI::BLOCK_SHRINKING);  // column 1 came up 0.06 s later
}

TEST_F(Scroller, OneStepPerBlockPerFrameAndTheScanEndsEarly) {
  // A frame long after the start moves every reachable block by one step only.
  update(10.0f);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(block(i).state, BI::BLOCK_GROWING) << i;
    EXPECT_EQ(block(i).scale, 0.0f);
  }

  // The scan stops at the first block of the second column still short of the line: a block
  // behind it is not visited, whatever its state.
  BI fresh;
  fresh.LoadImage(white(4, 2), 1000.0f);
  fresh.SetSpeed(-25.0f);
  fresh.SetType(BI::SCROLLER_SCROLL);
  fresh.images[0].blocks[5].state = BI::BLOCK_GROWING;
  fresh.images[0].blocks[5].scale = 0.5f;
  fresh.UpdateLogic(0.0f, 0, false);
  EXPECT_EQ(fresh.images[0].blocks[0].state, BI::BLOCK_GROWING);
  EXPECT_EQ(fresh.images[0].blocks[5].scale, 0.5f);
  // Once column 2 has come up, the scan reaches it.
  fresh.UpdateLogic(0.06f, 0, false);
  EXPECT_EQ(fresh.images[0].blocks[5].scale, 5.0f * 0.06f);
}

TEST(BlockImageDraw, TheDisplayListIsTheUnitCube) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  flat_view(8.0f);
  glTranslatef(2, 2, 0);
  // GL reports each quad as the triangles (v0, v1, v3) and (v1, v2, v3).
  const std::vector<Polygon> triangles = feedback([&] { glCallList(image.display_list); });
  ASSERT_EQ(triangles.size(), 12u);
  // Faces z-, z+, x-, x+, y-, y+, each with its corners in order.
  const float h = 0.5f;
  const V expected[6][4] = {
      {V(-h, -h, -h), V(-h, h, -h), V(h, h, -h), V(h, -h, -h)},
      {V(-h, -h, h), V(-h, h, h), V(h, h, h), V(h, -h, h)},
      {V(-h, -h, -h), V(-h, h, -h), V(-h, h, h), V(-h, -h, h)},
      {V(h, -h, -h), V(h, h, -h), V(h, h, h), V(h, -h, h)},
      {V(-h, -h, h), V(-h, -h, -h), V(h, -h, -h), V(h, -h, h)},
      {V(-h, h, h), V(-h, h, -h), V(h, h, -h), V(h, h, h)},
  };
  for (int f = 0; f < 6; ++f) {
    const Polygon& first = triangles[2 * f];
    const Polygon& second = triangles[2 * f + 1];
    ASSERT_EQ(first.vertices.size(), 3u);
    ASSERT_EQ(second.vertices.size(), 3u);
    const V corners[4] = {first.vertices[0], first.vertices[1], second.vertices[1],
                          first.vertices[2]};
    for (int v = 0; v < 4; ++v) {
      // Window coordinates: 8 pixels a unit around (16, 16); depth 0.5 - z / 200.
      const V& e = expected[f][v];
      EXPECT_FLOAT_EQ(corners[v].x, 16 + 8 * e.x) << "face " << f << " corner " << v;
      EXPECT_FLOAT_EQ(corners[v].y, 16 + 8 * e.y) << "face " << f << " corner " << v;
      EXPECT_NEAR(corners[v].z, 0.5f - e.z / 200, 1e-6f) << "face " << f << " corner " << v;
    }
  }
  // The same in immediate mode.
  EXPECT_EQ(feedback([&] { image.DrawBlock(); }).size(), 12u);
}

TEST(BlockImageDraw, StaticSkipsWaitingAndGoneAndScalesBelowMaxSize) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.SetMaxSize(1.0f);
  image.EnableColor(true);
  // One row of four: red, green, blue, white.
  image.LoadImage(
      picture(4, 1,
              {sf::Color(255, 0, 0), sf::Color(0, 255, 0), sf::Color(0, 0, 255), sf::Color::White}),
      1.0f);
  std::vector<BI::Block>& blocks = image.images[0].blocks;
  blocks[0].state = BI::BLOCK_SHOWN;
  blocks[0].scale = 1.5f;  // not below max_size: drawn at unit size
  blocks[1].state = BI::BLOCK_GROWING;
  blocks[1].scale = 0.5f;  // half size
  blocks[2].state = BI::BLOCK_WAITING;
  blocks[2].scale = 1.0f;
  blocks[3].state = BI::BLOCK_GONE;
  blocks[3].scale = 1.0f;
  image.SetShowPosition(V(1, 2, 0));

  // 8 pixels a unit; the blocks' centres at x = 1 and 2.5, y = 2.
  flat_view(8.0f);
  GLint depth_before = 0, depth_after = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
  image.Draw();
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
  EXPECT_EQ(depth_before, depth_after);
  const std::vector<unsigned char> rgb = read_test_pixels();
  ASSERT_EQ(rgb.size(), 64u * 48u * 3u);

  int red = 0, green = 0, other = 0;
  for (size_t i = 0; i < rgb.size(); i += 3) {
    if (rgb[i] == 255 && rgb[i + 1] == 0 && rgb[i + 2] == 0) {
      ++red;
    } else if (rgb[i] == 0 && rgb[i + 1] == 255 && rgb[i + 2] == 0) {
      ++green;
    } else if (rgb[i] + rgb[i + 1] + rgb[i + 2] > 0) {
      ++other;
    }
  }
  EXPECT_EQ(red, 8 * 8);
  EXPECT_EQ(green, 4 * 4);
  EXPECT_EQ(other, 0);
  // Red spans x 4..12, y 12..20 (from the bottom); rows in the readback run top first.
  EXPECT_EQ(rgb[((47 - 16) * 64 + 8) * 3], 255);

  // The placement stays on the matrix for the caller's save to undo; the blocks' own pushes
  // are balanced.
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_EQ(m[12], 1.0f);
  EXPECT_EQ(m[13], 2.0f);

  // Below a larger max_size the first block is scaled to 1.5; the scroll offset moves both.
  image.SetMaxSize(2.0f);
  image.images[0].offset = V(1, 0, 0);
  flat_view(8.0f);
  V low, high;
  bounds(feedback([&] { image.Draw(); }), low, high);
  EXPECT_FLOAT_EQ(low.x, 8 * (2 - 0.75f));
  EXPECT_FLOAT_EQ(high.x, 8 * (3.5f + 0.25f));
  EXPECT_FLOAT_EQ(high.y, 8 * (2 + 0.75f));
  // At max_size exactly, unit size again.
  blocks[0].scale = 2.0f;
  flat_view(8.0f);
  bounds(feedback([&] { image.Draw(); }), low, high);
  EXPECT_FLOAT_EQ(low.x, 8 * (2 - 0.5f));
  EXPECT_EQ(gl::error_count(), 0u);
}

TEST(BlockImageDraw, StaticRotatesAboutXThenYThenZ) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI image;
  image.LoadImage(white(2, 1), 1.0f);
  image.SetType(BI::SCROLLER_STATIC);
  image.SetShowPosition(V(3, 3, 0));
  image.SetRotation(V(0, 0, 90));
  flat_view(8.0f);
  V low, high;
  bounds(feedback([&] { image.Draw(); }), low, high);
  // The second block (local x 1.5) turns to local y 1.5 about the show position.
  EXPECT_NEAR(low.x, 8 * 2.5f, 1e-4f);
  EXPECT_NEAR(high.x, 8 * 3.5f, 1e-4f);
  EXPECT_NEAR(low.y, 8 * 2.5f, 1e-4f);
  EXPECT_NEAR(high.y, 8 * 5.0f, 1e-4f);

  // Rotation order: the X rotation goes on the matrix first, so the picture turns about Y
  // first: 90 about each sends local +x to +y (the other order would send it along the
  // view axis).
  image.SetRotation(V(90, 90, 0));
  flat_view(8.0f);
  bounds(feedback([&] { image.Draw(); }), low, high);
  EXPECT_NEAR(high.x - low.x, 8.0f, 1e-4f);
  EXPECT_NEAR(high.y - low.y, 8 * 2.5f, 1e-4f);
}

// The expose flag is shared by every block image of the process; this is the one test that
// draws in expose mode.
TEST(BlockImageDraw, ExposeGrowsFromTheFirstDrawAndIgnoresStateAndPlacement) {
  ASSERT_NE(test_gl_context(), nullptr);
  BI first;
  first.LoadImage(white(2, 1), 1.0f);
  first.SetType(BI::SCROLLER_EXPOSE);
  first.SetShowPosition(V(1, 1, 0));
  first.SetRotation(V(0, 0, 90));
  first.images[0].offset = V(5, 5, 0);
  first.images[0].blocks[1].state = BI::BLOCK_GONE;

  flat_view(8.0f);
  first.UpdateLogic(2.0f, 0, false);
  first.Draw();
  // Stamped just before now: drawn almost at nothing.
  EXPECT_EQ(first.images[0].blocks[0].expose_start, 2.0f - 0.0001f);
  EXPECT_NEAR(first.images[0].blocks[1].scale, 0.0005f, 1e-5f);
  EXPECT_EQ(lit_pixels(read_test_pixels()), 0);

  first.UpdateLogic(2.1f, 0, false);
  flat_view(8.0f);
  V low, high;
  bounds(feedback([&] { first.Draw(); }), low, high);
  // Both blocks (the gone one too) at show position + position, unrotated, no offset, at
  // scale 5 x 0.1: from x = 1 - 0.25 to 2.5 + 0.25.
  EXPECT_NEAR(low.x, 8 * 0.75f, 0.01f);
  EXPECT_NEAR(high.x, 8 * 2.75f, 0.01f);
  EXPECT_NEAR(low.y, 8 * 0.75f, 0.01f);
  EXPECT_NEAR(high.y, 8 * 1.25f, 0.01f);
  EXPECT_EQ(first.images[0].blocks[0].expose_start, 2.0f - 0.0001f);

  // Capped at max_size.
  first.UpdateLogic(3.0f, 0, false);
  first.Draw();
  EXPECT_EQ(first.images[0].blocks[0].scale, 1.25f);

  // A second block image never gets the stamp: its blocks start from -1 and draw at
  // grow_rate x (time + 1), capped.
  BI second;
  second.LoadImage(white(1, 1), 1.0f);
  second.SetType(BI::SCROLLER_EXPOSE);
  second.SetMaxSize(100.0f);
  second.UpdateLogic(0.5f, 0, false);
  second.Draw();
  EXPECT_EQ(second.images[0].blocks[0].expose_start, -1.0f);
  EXPECT_EQ(second.images[0].blocks[0].scale, 7.5f);
  EXPECT_EQ(gl::error_count(), 0u);
}
