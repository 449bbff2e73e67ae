#include <gtest/gtest.h>

#include "effect/plasmablock.h"
#include "gl/glcheck.h"
#include "gl_context.h"
#include "render/layer.h"

namespace {

// Turns that bring each of the six faces to the viewer.
const float face_turns[6][4] = {{0, 0, 1, 0},   {180, 0, 1, 0}, {90, 0, 1, 0},
                                {-90, 0, 1, 0}, {90, 1, 0, 0},  {-90, 1, 0, 0}};

bool centre_lit() {
  const std::vector<unsigned char> rgb = read_test_pixels();
  const unsigned char* p = &rgb[(24 * 64 + 32) * 3];
  return p[0] + p[1] + p[2] > 0;
}

}  // namespace

// With back faces culled, a face wound the wrong way leaves a hole: the centre of the view
// would then show the background through the cube.
TEST(Cube, EveryFaceFacesOutwardWithCulling) {
  ASSERT_NE(test_gl_context(), nullptr);
  ASSERT_TRUE(glIsEnabled(GL_CULL_FACE));
  const unsigned int list = render::layer().CreateCube(1.0f);
  effect::PlasmaBlock block;
  block.UpdateLogic(0.0f, 0, false);
  for (const auto& turn : face_turns) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, -5);
    glRotatef(turn[0], turn[1], turn[2], turn[3]);
    glCallList(list);
    EXPECT_TRUE(centre_lit()) << "shared cube turned " << turn[0] << " about " << turn[1] << turn[2]
                              << turn[3];

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, -10);
    glRotatef(turn[0], turn[1], turn[2], turn[3]);
    glTranslatef(0, 0, 3);  // the block draws itself 3 units further on
    block.Draw();
    EXPECT_TRUE(centre_lit()) << "plasma block turned " << turn[0] << " about " << turn[1]
                              << turn[2] << turn[3];
  }
  render::layer().DeleteCube(list);
  glBindTexture(GL_TEXTURE_2D, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
