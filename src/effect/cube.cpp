#include "effect/cube.h"

#include "gl/glcheck.h"

namespace effect {

// Each reversed face keeps its first corner, so its quad splits along the same diagonal as before.
const signed char cube_faces[6][4][3] = {
    {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}},  // z = -h
    {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},      // z = +h
    {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},  // x = -h
    {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}},      // x = +h
    {{-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}},  // y = -h
    {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},      // y = +h
};

void emit_cube(float h) {
  glBegin(GL_QUADS);
  for (const auto& face : cube_faces) {
    for (const signed char* corner : face) glVertex3f(h * corner[0], h * corner[1], h * corner[2]);
  }
  glCheck(glEnd());
}

unsigned int compile_cube_list(float half) {
  GLuint list = 0;
  glCheck(list = glGenLists(1));
  glCheck(glNewList(list, GL_COMPILE));
  emit_cube(half);
  glCheck(glEndList());
  return list;
}

void delete_cube_list(unsigned int list) {
  if (list != 0) glCheck(glDeleteLists(list, 1));
}

}  // namespace effect
