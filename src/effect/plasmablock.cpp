#include "effect/plasmablock.h"

#include "gl/glcheck.h"

namespace effect {

namespace {

// One face of the block: its normal, then four corners as texture s, t and vertex x, y, z.
struct Face {
  GLfloat normal[3];
  GLfloat corners[4][5];
};

// Front, back, top, bottom, right, left; each counter-clockwise seen from outside the block, so
// back-face culling keeps the faces turned toward the viewer.
constexpr Face faces[6] = {
    {{0, 0, 1}, {{0, 0, -2, -2, 2}, {1, 0, 2, -2, 2}, {1, 1, 2, 2, 2}, {0, 1, -2, 2, 2}}},
    {{0, 0, -1}, {{1, 0, -2, -2, -2}, {1, 1, -2, 2, -2}, {0, 1, 2, 2, -2}, {0, 0, 2, -2, -2}}},
    {{0, 1, 0}, {{0, 1, -2, 2, -2}, {0, 0, -2, 2, 2}, {1, 0, 2, 2, 2}, {1, 1, 2, 2, -2}}},
    {{0, -1, 0}, {{1, 1, -2, -2, -2}, {0, 1, 2, -2, -2}, {0, 0, 2, -2, 2}, {1, 0, -2, -2, 2}}},
    {{1, 0, 0}, {{1, 0, 2, -2, -2}, {1, 1, 2, 2, -2}, {0, 1, 2, 2, 2}, {0, 0, 2, -2, 2}}},
    {{-1, 0, 0}, {{0, 0, -2, -2, -2}, {1, 0, -2, -2, 2}, {1, 1, -2, 2, 2}, {0, 1, -2, 2, -2}}},
};

}  // namespace

PlasmaBlock::PlasmaBlock() {
  plasma.Init(128, 128);
}

void PlasmaBlock::UpdateLogic(const float& time_, const int&, const bool&) {
  time = time_;
  plasma.RenderTexture(texture_ms(time));
}

int PlasmaBlock::Draw() {
  glCheck(glMatrixMode(GL_MODELVIEW));
  glCheck(glTranslatef(0, 0, -3));
  glCheck(glRotatef(time * 5, 1, 0, 0));
  glCheck(glRotatef(time * 3, 0, 1, 0));
  glCheck(glRotatef(time * 9, 0, 0, 1));
  plasma.SetTexture(FILTER_LINEAR);

  glBegin(GL_QUADS);
  glColor3fv(color);
  for (const Face& face : faces) {
    glNormal3fv(face.normal);
    for (const GLfloat* corner : face.corners) {
      glTexCoord2fv(corner);
      glVertex3fv(corner + 2);
    }
  }
  glCheck(glEnd());
  return 0;
}

}  // namespace effect
