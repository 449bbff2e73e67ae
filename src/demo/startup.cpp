#include "demo/startup.h"

#include "gl/glcheck.h"
#include "helpers.h"
#include "platform/platform.h"
#include "shadermanager.h"

void init_gl() {
  platform::keep_freed_memory();
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
  // Light 0 at OpenGL's default, set here because the toon shader builds it in: directional,
  // from the viewer along +z in eye space (given under an identity modelview matrix).
  glCheck(glMatrixMode(GL_MODELVIEW));
  glCheck(glLoadIdentity());
  const GLfloat from_viewer[4] = {0.0f, 0.0f, 1.0f, 0.0f};
  glCheck(glLightfv(GL_LIGHT0, GL_POSITION, from_viewer));
  glCheck(glEnable(GL_LIGHT0));
  glCheck(glEnable(GL_LIGHTING));
  glCheck(glEnable(GL_COLOR_MATERIAL));
}

void init_shaders(omni::ShaderManager& manager) {
  manager.LoadFromFile(toon_shader_paths[0], toon_shader_paths[1]);
}
