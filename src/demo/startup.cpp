#include "demo/startup.h"

#include <malloc.h>

#include "gl/glcheck.h"
#include "helpers.h"
#include "shadermanager.h"

void keep_freed_memory() {
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

void init_gl() {
  keep_freed_memory();
  glCheck(glEnable(GL_TEXTURE_2D));
  glCheck(glShadeModel(GL_SMOOTH));
  glCheck(glClearDepth(1.0));
  glCheck(glClearColor(0, 0, 0, 0));
  glCheck(glDepthMask(GL_TRUE));
  glCheck(glEnable(GL_DEPTH_TEST));
  // Every face is wound counter-clockwise seen from outside: the rasteriser skips the faces
  // turned away, about half of what it would otherwise shade.
  glCheck(glEnable(GL_CULL_FACE));
  glCheck(glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST));
  glCheck(glMatrixMode(GL_PROJECTION));
  glCheck(glLoadIdentity());
  setPerspective(90.0, 1.0, 1.0, 500.0);
  glCheck(glEnable(GL_LIGHT0));
  glCheck(glEnable(GL_LIGHTING));
  glCheck(glEnable(GL_COLOR_MATERIAL));
  glCheck(glMatrixMode(GL_MODELVIEW));
}

void init_shaders(omni::ShaderManager& manager) {
  manager.LoadFromFile("shaders/toon.vert", "shaders/toon.frag");
}
