#include "effect/cube.h"

#include "gl/glcheck.h"

namespace effect {

void emit_cube(float h) {
  glBegin(GL_QUADS);
  glVertex3f(-h, -h, -h);  // z = -h
  glVertex3f(-h, h, -h);
  glVertex3f(h, h, -h);
  glVertex3f(h, -h, -h);
  glVertex3f(-h, -h, h);  // z = +h
  glVertex3f(-h, h, h);
  glVertex3f(h, h, h);
  glVertex3f(h, -h, h);
  glVertex3f(-h, -h, -h);  // x = -h
  glVertex3f(-h, h, -h);
  glVertex3f(-h, h, h);
  glVertex3f(-h, -h, h);
  glVertex3f(h, -h, -h);  // x = +h
  glVertex3f(h, h, -h);
  glVertex3f(h, h, h);
  glVertex3f(h, -h, h);
  glVertex3f(-h, -h, h);  // y = -h
  glVertex3f(-h, -h, -h);
  glVertex3f(h, -h, -h);
  glVertex3f(h, -h, h);
  glVertex3f(-h, h, h);  // y = +h
  glVertex3f(-h, h, -h);
  glVertex3f(h, h, -h);
  glVertex3f(h, h, h);
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

}  // namespace effect
