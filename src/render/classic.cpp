// The classic renderer: every layer call is the GL 1.x call (or short sequence) the show has
// always made, in the same order: display lists compiled when a shape is made, immediate mode,
// glCallList, the fixed-function start-up state and program 0 outside the toon program.
#include <cmath>

#include "gl/glcheck.h"
#include "omni/vector3.h"
#include "render/layer.h"
#include "render/shapes.h"
#include "shadermanager.h"

namespace render {

namespace {

// The cube from -h to +h as one GL_QUADS batch of 24 vertices, no normal, colour or texture
// coordinate (the current ones apply).
void emit_cube(float h) {
  glBegin(GL_QUADS);
  for (const auto& face : cube_faces) {
    for (const signed char* corner : face) glVertex3f(h * corner[0], h * corner[1], h * corner[2]);
  }
  glCheck(glEnd());
}

class Classic : public Layer {
 public:
  Kind kind() const override { return Kind::classic; }

  void StartUp() override {
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
    Perspective(90.0, 1.0, 1.0, 500.0);
    // Light 0 at OpenGL's default, set here because the toon shader builds it in: directional,
    // from the viewer along +z in eye space (given under an identity modelview matrix).
    glCheck(glLoadIdentity());
    const GLfloat from_viewer[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    glCheck(glLightfv(GL_LIGHT0, GL_POSITION, from_viewer));
    glCheck(glEnable(GL_LIGHT0));
    glCheck(glEnable(GL_LIGHTING));
    glCheck(glEnable(GL_COLOR_MATERIAL));
  }

  ToonSources Toon() const override {
    return ToonSources{"shaders/toon.vert", "shaders/toon.frag", ""};
  }

  void PushMatrix() override { glCheck(glPushMatrix()); }
  void PopMatrix() override { glCheck(glPopMatrix()); }
  void LoadIdentity() override { glCheck(glLoadIdentity()); }
  void Translate(float x, float y, float z) override { glCheck(glTranslatef(x, y, z)); }
  void Rotate(float degrees, float x, float y, float z) override {
    glCheck(glRotatef(degrees, x, y, z));
  }
  void Scale(float x, float y, float z) override { glCheck(glScalef(x, y, z)); }
  void Perspective(double fovy, double aspect, double z_near, double z_far) override {
    glCheck(glMatrixMode(GL_PROJECTION));
    glCheck(glLoadIdentity());
    const double h = std::tan(fovy * omni::PI / 360.0) * z_near;
    const double w = h * aspect;
    glCheck(glFrustum(-w, w, -h, h, z_near, z_far));
    glCheck(glMatrixMode(GL_MODELVIEW));
  }

  void Color(float r, float g, float b) override { glCheck(glColor3f(r, g, b)); }
  void Color(float r, float g, float b, float a) override { glCheck(glColor4f(r, g, b, a)); }

  unsigned int CreateCube(float half) override {
    GLuint list = 0;
    glCheck(list = glGenLists(1));
    glCheck(glNewList(list, GL_COMPILE));
    emit_cube(half);
    glCheck(glEndList());
    return list;
  }
  void DeleteCube(unsigned int shape) override {
    if (shape != 0) glCheck(glDeleteLists(shape, 1));
  }
  void DrawCube(unsigned int shape) override { glCheck(glCallList(shape)); }
  void DrawCubeOnce(float half) override { emit_cube(half); }

  unsigned int CreateTexture() override {
    GLuint texture = 0;
    glCheck(glGenTextures(1, &texture));
    return texture;
  }
  void DeleteTexture(unsigned int texture) override {
    if (texture != 0) glCheck(glDeleteTextures(1, &texture));
  }
  void UploadTexture(unsigned int texture, Filter filter, int width, int height,
                     const unsigned char* pixels) override {
    glCheck(glBindTexture(GL_TEXTURE_2D, texture));
    switch (filter) {
      case Filter::nearest:
        glCheck(glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLfloat(GL_NEAREST)));
        glCheck(glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLfloat(GL_NEAREST)));
        break;
      case Filter::linear:
        glCheck(glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLfloat(GL_LINEAR)));
        glCheck(glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLfloat(GL_LINEAR)));
        break;
      case Filter::mipmap:
        glCheck(glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLfloat(GL_LINEAR)));
        glCheck(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST));
        glCheck(
            gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels));
        return;
      case Filter::keep:
        break;
    }
    glCheck(glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels));
  }
  void DrawPlasmaBlock(const float color[3]) override {
    glBegin(GL_QUADS);
    glColor3fv(color);
    for (const BlockFace& face : plasma_block_faces) {
      glNormal3fv(face.normal);
      for (const GLfloat* corner : face.corners) {
        glTexCoord2fv(corner);
        glVertex3fv(corner + 2);
      }
    }
    glCheck(glEnd());
  }

  void ClearColor(float r, float g, float b, float a) override {
    glCheck(glClearColor(r, g, b, a));
  }
  void GetClearColor(float rgba[4]) override { glCheck(glGetFloatv(GL_COLOR_CLEAR_VALUE, rgba)); }
  void Clear() override { glCheck(glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)); }
  // NOTE: `time` is for the program's per-node uniforms, set here once the program has them.
  void BindToon(omni::ShaderObject* program, const NodeTime&) override {
    if (program != nullptr) program->Begin();
  }
  void UnbindToon(omni::ShaderObject* program) override {
    if (program != nullptr) program->End();
  }
  void FinishFrame() override {}

  void ScreenBegin(float width, float height) override {
    glCheck(glGetIntegerv(GL_CURRENT_PROGRAM, &screen_program_));
    glCheck(glPushAttrib(GL_ALL_ATTRIB_BITS));
    glCheck(glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS));
    glCheck(glUseProgram(0));
    glCheck(glDisable(GL_DEPTH_TEST));
    glCheck(glDisable(GL_LIGHTING));
    glCheck(glDisable(GL_TEXTURE_2D));
    glCheck(glDisable(GL_CULL_FACE));
    glCheck(glMatrixMode(GL_PROJECTION));
    glCheck(glPushMatrix());
    glCheck(glLoadIdentity());
    glCheck(glOrtho(0, width, height, 0, -1, 1));
    glCheck(glMatrixMode(GL_MODELVIEW));
    glCheck(glPushMatrix());
    glCheck(glLoadIdentity());
    glCheck(glEnableClientState(GL_VERTEX_ARRAY));
  }
  void ScreenQuads(const void* vertices, int stride, int quads, float r, float g,
                   float b) override {
    glCheck(glColor3f(r, g, b));
    glCheck(glVertexPointer(2, GL_FLOAT, stride, vertices));
    glCheck(glDrawArrays(GL_QUADS, 0, quads * 4));
  }
  void ScreenEnd() override {
    glCheck(glPopMatrix());
    glCheck(glMatrixMode(GL_PROJECTION));
    glCheck(glPopMatrix());
    glCheck(glMatrixMode(GL_MODELVIEW));
    glCheck(glPopClientAttrib());
    glCheck(glPopAttrib());
    glCheck(glUseProgram(static_cast<GLuint>(screen_program_)));
  }

 private:
  GLint screen_program_ = 0;  // the program bound when the screen quads began
};

}  // namespace

std::unique_ptr<Layer> make_classic() {
  return std::make_unique<Classic>();
}

}  // namespace render
