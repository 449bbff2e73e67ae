#include "render/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gl/glcheck.h"
#include "gl_context.h"

namespace {

// The largest difference between our matrix and GL's, relative to the matrix's size.
float difference(const render::Matrix& ours, const GLfloat* theirs) {
  float most = 0, size = 1;
  for (int i = 0; i < 16; ++i) {
    most = std::max(most, std::fabs(ours.m[i] - theirs[i]));
    size = std::max(size, std::fabs(theirs[i]));
  }
  return most / size;
}

}  // namespace

// Random sequences of what the effects do to the matrix (push, pop, translate, rotate about
// an axis or any direction, scale, load identity), on our stack and on GL's own: after every
// operation the two top matrices agree to rounding (the driver may round a few sums apart).
TEST(MatrixStack, FollowsGlsOwnStack) {
  ASSERT_NE(test_gl_context(), nullptr);
  std::mt19937 random(20260712);
  std::uniform_real_distribution<float> place(-200.0f, 200.0f);
  std::uniform_real_distribution<float> angle(-720.0f, 720.0f);
  std::uniform_real_distribution<float> factor(0.05f, 8.0f);
  const float axes[][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, -1}, {0.3f, -0.5f, 0.8f}};
  for (int sequence = 0; sequence < 40; ++sequence) {
    render::MatrixStack ours;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    int depth = 1;
    for (int op = 0; op < 60; ++op) {
      const int kind = static_cast<int>(random() % 7);
      if (kind == 0 && depth < 30) {
        ours.Push();
        glPushMatrix();
        ++depth;
      } else if (kind == 1 && depth > 1) {
        ours.Pop();
        glPopMatrix();
        --depth;
      } else if (kind == 2) {
        const float x = place(random), y = place(random), z = place(random);
        ours.Top().Translate(x, y, z);
        glTranslatef(x, y, z);
      } else if (kind == 3 || kind == 4) {
        const float* axis = axes[random() % 5];
        const float degrees = angle(random);
        ours.Top().Rotate(degrees, axis[0], axis[1], axis[2]);
        glRotatef(degrees, axis[0], axis[1], axis[2]);
      } else if (kind == 5) {
        const float s = factor(random), t = factor(random);
        ours.Top().Scale(s, s, t);
        glScalef(s, s, t);
      } else if (op % 25 == 0) {
        ours.Top().LoadIdentity();
        glLoadIdentity();
      }
      GLfloat theirs[16];
      glGetFloatv(GL_MODELVIEW_MATRIX, theirs);
      ASSERT_LE(difference(ours.Top(), theirs), 1e-5f) << "sequence " << sequence << " op " << op;
      ASSERT_EQ(ours.Depth(), depth);
    }
    while (depth-- > 1) glPopMatrix();
  }
  glLoadIdentity();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The camera's perspective as glFrustum makes it; a pop of the last matrix is ignored, as GL
// ignores it.
TEST(MatrixStack, PerspectiveAndTheLastMatrix) {
  ASSERT_NE(test_gl_context(), nullptr);
  render::Matrix ours;
  ours.Frustum(-1.25f, 1.25f, -1.0f, 1.0f, 1.0f, 500.0f);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glFrustum(-1.25, 1.25, -1.0, 1.0, 1.0, 500.0);
  GLfloat theirs[16];
  glGetFloatv(GL_PROJECTION_MATRIX, theirs);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  EXPECT_LE(difference(ours, theirs), 1e-6f);

  render::MatrixStack stack;
  stack.Top().Translate(1, 2, 3);
  stack.Pop();
  EXPECT_EQ(stack.Depth(), 1);
  EXPECT_EQ(stack.Top().m[12], 1.0f);
  for (int i = 0; i < 100; ++i) stack.Push();  // past the room it starts with
  EXPECT_EQ(stack.Depth(), 101);
  EXPECT_EQ(stack.Top().m[14], 3.0f);
}
