// The instanced renderer: OpenGL 3.3 core and OpenGL ES 3.0 (WebGL 2) from one code path. The
// matrix stack lives on the CPU; a frame's cubes are gathered as instances (model-view matrix
// and colour) in batches, one per run of one shape within a timeline node, and drawn when the
// frame is finished: the instances sent in one upload, then one instanced call per batch from
// one static vertex buffer. Only calls OpenGL ES 3.0 has are made here.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "demo/startup.h"
#include "gl/glcheck.h"
#include "omni/vector3.h"
#include "render/layer.h"
#include "render/matrix.h"
#include "render/shapes.h"
#include "shadermanager.h"

namespace render {

namespace {

const char* const core_header = "#version 330 core\n";
const char* const es_header = "#version 300 es\nprecision highp float;\n";

// The fixed-function look for cubes drawn without the toon program and for the plasma block:
// light 0 white from the viewer, the scene's 0.2 ambient, colour material, the texture
// modulating the lit colour.
const char* const plain_vertex = R"(
layout(location = 0) in vec3 corner;
layout(location = 1) in vec3 face_normal;
layout(location = 2) in vec4 transform_0;
layout(location = 3) in vec4 transform_1;
layout(location = 4) in vec4 transform_2;
layout(location = 5) in vec4 transform_3;
layout(location = 6) in vec4 color;
layout(location = 7) in vec2 texture_coordinate;
layout(location = 8) in vec3 facing;
out vec4 lit;
out vec2 coordinate;
void main() {
  lit = clamp(vec4(color.rgb * (0.2 + max(dot(face_normal, facing), 0.0)), color.a), 0.0, 1.0);
  coordinate = texture_coordinate;
  gl_Position = mat4(transform_0, transform_1, transform_2, transform_3) * vec4(corner, 1.0);
}
)";
const char* const plain_fragment = R"(
in vec4 lit;
in vec2 coordinate;
uniform sampler2D image;
uniform int textured;
out vec4 fragment_color;
void main() {
  fragment_color = textured != 0 ? texture(image, coordinate) * lit : lit;
}
)";
// Flat-coloured quads in a screen space of `screen` units, (0, 0) at the top left.
const char* const screen_vertex = R"(
layout(location = 0) in vec2 point;
uniform vec2 screen;
void main() {
  gl_Position = vec4(2.0 * point.x / screen.x - 1.0, 1.0 - 2.0 * point.y / screen.y, 0.0, 1.0);
}
)";
const char* const screen_fragment = R"(
uniform vec4 color;
out vec4 fragment_color;
void main() {
  fragment_color = color;
}
)";

struct Vertex {
  float position[3];
  float normal[3];
  float texture[2];
};

// What the vertex stage needs of one cube: its model-view-projection matrix, its colour, and
// the eye-space z of the unit normals of its +x, +y and +z faces (the -x, -y, -z faces' are
// their negatives), so that a vertex does one matrix product and no normal of its own.
struct Instance {
  float transform[16];
  float color[4];
  float facing[4];
};

constexpr int vertices_per_shape = 24;
constexpr int indices_per_shape = 36;
constexpr int block_shape = 0;  // the plasma block is shape 0 of the static buffers
// Frames in flight whose instances stay untouched: the driver may still be drawing the
// previous ones, and writing a buffer it reads would wait for it.
constexpr int instance_buffer_count = 3;

// One instanced draw: instances [first, first + count) of this frame, of one shape.
struct Batch {
  bool textured_block = false;  // the plasma block through the plain program
  unsigned int shape = 0;
  int first = 0;
  int count = 0;
  omni::ShaderObject* program = nullptr;  // the toon program, or null: the plain one
  NodeTime time;
};

class Instanced : public Layer {
 public:
  // Needs a current context; false with the reason when it lacks what is needed.
  bool Create(std::string& error);
  ~Instanced() override;

  Kind kind() const override { return Kind::instanced; }
  void StartUp() override;
  ToonSources Toon() const override {
    return ToonSources{toon_shader_paths[2], toon_shader_paths[3], header_};
  }

  void PushMatrix() override { model_view_.Push(); }
  void PopMatrix() override { model_view_.Pop(); }
  void LoadIdentity() override { model_view_.Top().LoadIdentity(); }
  void Translate(float x, float y, float z) override { model_view_.Top().Translate(x, y, z); }
  void Rotate(float degrees, float x, float y, float z) override {
    model_view_.Top().Rotate(degrees, x, y, z);
  }
  void Scale(float x, float y, float z) override { model_view_.Top().Scale(x, y, z); }
  void Perspective(double fovy, double aspect, double z_near, double z_far) override;

  void Color(float r, float g, float b) override { Color(r, g, b, 1.0f); }
  void Color(float r, float g, float b, float a) override {
    color_[0] = r;
    color_[1] = g;
    color_[2] = b;
    color_[3] = a;
  }

  unsigned int CreateCube(float half) override;
  // Shapes are shared by size and kept while the renderer lives.
  void DeleteCube(unsigned int) override {}
  void DrawCube(unsigned int shape) override { Gather(shape, false); }
  void DrawCubeOnce(float half) override { Gather(CreateCube(half), false); }

  unsigned int CreateTexture() override;
  void DeleteTexture(unsigned int texture) override;
  void UploadTexture(unsigned int texture, Filter filter, int width, int height,
                     const unsigned char* pixels) override;
  void DrawPlasmaBlock(const float color[3]) override;

  // The clear colour is kept here, clamped as the driver keeps it, rather than read back: a
  // read waits for the GPU (in a browser, a round trip to its GPU process every frame).
  void ClearColor(float r, float g, float b, float a) override {
    const float rgba[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i) clear_color_[i] = std::clamp(rgba[i], 0.0f, 1.0f);
    glCheck(glClearColor(r, g, b, a));
  }
  void GetClearColor(float rgba[4]) override { std::copy(clear_color_, clear_color_ + 4, rgba); }
  void Clear() override { glCheck(glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)); }
  void BindToon(omni::ShaderObject* program, const NodeTime& time) override {
    node_program_ = program;
    node_time_ = time;
  }
  void UnbindToon(omni::ShaderObject*) override { node_program_ = nullptr; }
  void FinishFrame() override;

  void ScreenBegin(float width, float height) override;
  void ScreenQuads(const void* vertices, int stride, int quads, float r, float g, float b) override;
  void ScreenEnd() override;

 private:
  // Appends the shape's 24 vertices and 36 indices and sends both buffers again.
  unsigned int AddShape(const Vertex* corners);
  // One instance of `shape` under the current matrix and colour into this frame's batches.
  void Gather(unsigned int shape, bool textured_block);
  // Sends this frame's instances into the next buffer of the ring; returns it.
  GLuint UploadInstances();
  // Binds the batch's program with the projection; returns false when there is none.
  bool UseProgram(const Batch& batch);
  void DrawBatch(const Batch& batch, GLuint instances);

  std::string header_;
  MatrixStack model_view_;
  Matrix projection_;
  float color_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  omni::ShaderObject* node_program_ = nullptr;
  NodeTime node_time_;
  GLuint bound_texture_ = 0;

  std::vector<float> halves_;  // halves_[i]: the half size of shape i + 1
  std::vector<Vertex> shape_vertices_;
  std::vector<GLushort> shape_indices_;
  GLuint cube_array_ = 0;
  GLuint static_vertices_ = 0;
  GLuint static_indices_ = 0;

  std::vector<Instance> instances_;  // this frame's, in drawing order (grows only)
  std::vector<Batch> batches_;
  GLuint instance_buffers_[instance_buffer_count] = {};
  size_t instance_room_[instance_buffer_count] = {};  // bytes each buffer holds
  float clear_color_[4] = {0, 0, 0, 0};               // GL's initial clear colour
  int next_buffer_ = 0;

  std::unique_ptr<omni::ShaderObject> plain_;
  std::unique_ptr<omni::ShaderObject> screen_;
  // The built-in programs' uniforms, found once when they are linked.
  GLint textured_uniform_ = -1;  // plain_: the plasma block's texture on or off
  GLint screen_uniform_ = -1;    // screen_: the screen space's size
  GLint color_uniform_ = -1;     // screen_: the quads' colour
  GLuint screen_array_ = 0;
  GLuint screen_vertices_ = 0;
  GLuint screen_indices_ = 0;
  size_t screen_quad_room_ = 0;
  std::vector<float> screen_points_;
  std::vector<GLuint> screen_index_list_;
};

// A built-in program from its two sources with the context's #version header; null after the
// compiler's error line when it does not build.
std::unique_ptr<omni::ShaderObject> built_in(const std::string& header, const char* vertex,
                                             const char* fragment) {
  auto program = std::make_unique<omni::ShaderObject>(nullptr);
  if (!program->Init(header + vertex, header + fragment)) return nullptr;
  return program;
}

// The 24 corners of a cube from -half to +half with their face normals.
void cube_corners(float half, Vertex* out) {
  for (int f = 0; f < 6; ++f) {
    for (int k = 0; k < 4; ++k, ++out) {
      for (int a = 0; a < 3; ++a) {
        out->position[a] = half * cube_faces[f][k][a];
        out->normal[a] = cube_normals[f][a];
      }
      out->texture[0] = out->texture[1] = 0.0f;
    }
  }
}

// The plasma block's 24 corners with normals and texture coordinates.
void block_corners(Vertex* out) {
  for (const BlockFace& face : plasma_block_faces) {
    for (const float* corner : face.corners) {
      for (int a = 0; a < 3; ++a) {
        out->position[a] = corner[2 + a];
        out->normal[a] = face.normal[a];
      }
      out->texture[0] = corner[0];
      out->texture[1] = corner[1];
      ++out;
    }
  }
}

bool Instanced::Create(std::string& error) {
  const char* version = nullptr;
  glCheck(version = reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  const bool es = version != nullptr && std::strncmp(version, "OpenGL ES", 9) == 0;
  GLint major = 0, minor = 0;
  glCheck(glGetIntegerv(GL_MAJOR_VERSION, &major));
  glCheck(glGetIntegerv(GL_MINOR_VERSION, &minor));
  if (es ? major < 3 : major * 10 + minor < 33) {
    error = std::string("needs OpenGL 3.3 or OpenGL ES 3.0; the context is ") +
            (version ? version : "unknown");
    return false;
  }
  header_ = es ? es_header : core_header;
  plain_ = built_in(header_, plain_vertex, plain_fragment);
  screen_ = built_in(header_, screen_vertex, screen_fragment);
  if (!plain_ || !screen_) {
    error = "its built-in programs do not compile here";
    return false;
  }
  glCheck(textured_uniform_ = glGetUniformLocation(plain_->program, "textured"));
  glCheck(screen_uniform_ = glGetUniformLocation(screen_->program, "screen"));
  glCheck(color_uniform_ = glGetUniformLocation(screen_->program, "color"));
  glCheck(glGenVertexArrays(1, &cube_array_));
  glCheck(glGenBuffers(1, &static_vertices_));
  glCheck(glGenBuffers(1, &static_indices_));
  glCheck(glGenBuffers(instance_buffer_count, instance_buffers_));
  glCheck(glBindVertexArray(cube_array_));
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, static_vertices_));
  glCheck(glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_indices_));
  const GLsizei stride = sizeof(Vertex);
  glCheck(glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr));
  glCheck(glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(offsetof(Vertex, normal))));
  glCheck(glVertexAttribPointer(7, 2, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(offsetof(Vertex, texture))));
  for (GLuint a : {0u, 1u, 7u}) glCheck(glEnableVertexAttribArray(a));
  for (GLuint a : {2u, 3u, 4u, 5u, 6u, 8u}) {
    glCheck(glEnableVertexAttribArray(a));
    glCheck(glVertexAttribDivisor(a, 1));
  }
  glCheck(glBindVertexArray(0));
  Vertex block[vertices_per_shape];
  block_corners(block);
  AddShape(block);

  glCheck(glGenVertexArrays(1, &screen_array_));
  glCheck(glGenBuffers(1, &screen_vertices_));
  glCheck(glGenBuffers(1, &screen_indices_));
  glCheck(glBindVertexArray(screen_array_));
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, screen_vertices_));
  glCheck(glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, screen_indices_));
  glCheck(glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 2 * sizeof(float), nullptr));
  glCheck(glEnableVertexAttribArray(0));
  glCheck(glBindVertexArray(0));
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, 0));
  return true;
}

Instanced::~Instanced() {
  glCheck(glDeleteVertexArrays(1, &cube_array_));
  glCheck(glDeleteVertexArrays(1, &screen_array_));
  const GLuint buffers[] = {static_vertices_, static_indices_, screen_vertices_, screen_indices_};
  glCheck(glDeleteBuffers(4, buffers));
  glCheck(glDeleteBuffers(instance_buffer_count, instance_buffers_));
}

void Instanced::StartUp() {
  ClearColor(0, 0, 0, 0);
  glCheck(glDepthMask(GL_TRUE));
  glCheck(glEnable(GL_DEPTH_TEST));
  // Every face is wound counter-clockwise seen from outside.
  glCheck(glEnable(GL_CULL_FACE));
  Perspective(90.0, 1.0, 1.0, 500.0);
  model_view_.Top().LoadIdentity();
}

void Instanced::Perspective(double fovy, double aspect, double z_near, double z_far) {
  const double h = std::tan(fovy * omni::PI / 360.0) * z_near;
  const double w = h * aspect;
  projection_.LoadIdentity();
  projection_.Frustum(static_cast<float>(-w), static_cast<float>(w), static_cast<float>(-h),
                      static_cast<float>(h), static_cast<float>(z_near), static_cast<float>(z_far));
}

unsigned int Instanced::AddShape(const Vertex* corners) {
  const auto shape = static_cast<unsigned int>(shape_vertices_.size() / vertices_per_shape);
  const auto base = static_cast<GLushort>(shape_vertices_.size());
  shape_vertices_.insert(shape_vertices_.end(), corners, corners + vertices_per_shape);
  for (int f = 0; f < 6; ++f) {
    // Each quad splits along the diagonal from its first corner.
    const GLushort q = static_cast<GLushort>(base + 4 * f);
    for (GLushort i : {q, GLushort(q + 1), GLushort(q + 2), q, GLushort(q + 2), GLushort(q + 3)}) {
      shape_indices_.push_back(i);
    }
  }
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, static_vertices_));
  glCheck(glBufferData(GL_ARRAY_BUFFER, shape_vertices_.size() * sizeof(Vertex),
                       shape_vertices_.data(), GL_STATIC_DRAW));
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, 0));
  glCheck(glBindVertexArray(cube_array_));
  glCheck(glBufferData(GL_ELEMENT_ARRAY_BUFFER, shape_indices_.size() * sizeof(GLushort),
                       shape_indices_.data(), GL_STATIC_DRAW));
  glCheck(glBindVertexArray(0));
  return shape;
}

unsigned int Instanced::CreateCube(float half) {
  for (size_t i = 0; i < halves_.size(); ++i) {
    if (halves_[i] == half) return static_cast<unsigned int>(i + 1);
  }
  Vertex corners[vertices_per_shape];
  cube_corners(half, corners);
  halves_.push_back(half);
  return AddShape(corners);
}

void Instanced::Gather(unsigned int shape, bool textured_block) {
  if (shape == 0 && !textured_block) return;
  omni::ShaderObject* program = textured_block ? nullptr : node_program_;
  if (batches_.empty() || batches_.back().shape != shape || batches_.back().program != program ||
      batches_.back().textured_block != textured_block ||
      std::memcmp(&batches_.back().time, &node_time_, sizeof node_time_) != 0) {
    Batch batch;
    batch.textured_block = textured_block;
    batch.shape = shape;
    batch.first = static_cast<int>(instances_.size());
    batch.program = program;
    batch.time = node_time_;
    batches_.push_back(batch);
  }
  instances_.emplace_back();
  Instance& instance = instances_.back();
  const Matrix& model_view = model_view_.Top();
  Matrix transform = projection_;
  transform.Multiply(model_view);
  std::memcpy(instance.transform, transform.m, sizeof instance.transform);
  std::memcpy(instance.color, color_, sizeof instance.color);
  // The normal matrix (inverse transpose) is the cofactor matrix up to scale: its columns are
  // the cross products of the model-view's axis columns.
  const float* m = model_view.m;
  for (int axis = 0; axis < 3; ++axis) {
    const float* a = m + 4 * ((axis + 1) % 3);
    const float* b = m + 4 * ((axis + 2) % 3);
    const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                        a[0] * b[1] - a[1] * b[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    instance.facing[axis] = length > 0.0f ? n[2] / length : 0.0f;
  }
  instance.facing[3] = 0.0f;
  batches_.back().count += 1;
}

unsigned int Instanced::CreateTexture() {
  GLuint texture = 0;
  glCheck(glGenTextures(1, &texture));
  return texture;
}

void Instanced::DeleteTexture(unsigned int texture) {
  if (texture == 0) return;
  if (bound_texture_ == texture) bound_texture_ = 0;
  glCheck(glDeleteTextures(1, &texture));
}

void Instanced::UploadTexture(unsigned int texture, Filter filter, int width, int height,
                              const unsigned char* pixels) {
  glCheck(glBindTexture(GL_TEXTURE_2D, texture));
  bound_texture_ = texture;
  const GLint magnify = filter == Filter::nearest ? GL_NEAREST : GL_LINEAR;
  const GLint minify = filter == Filter::nearest  ? GL_NEAREST
                       : filter == Filter::mipmap ? GL_LINEAR_MIPMAP_NEAREST
                                                  : GL_LINEAR;
  if (filter != Filter::keep) {
    glCheck(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnify));
    glCheck(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minify));
  }
  glCheck(glPixelStorei(GL_UNPACK_ALIGNMENT, 1));
  glCheck(
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels));
  if (filter == Filter::mipmap) glCheck(glGenerateMipmap(GL_TEXTURE_2D));
}

void Instanced::DrawPlasmaBlock(const float color[3]) {
  Color(color[0], color[1], color[2]);
  // Under the toon program the block is a toon-shaded cube, its texture unseen, as in classic.
  Gather(block_shape, node_program_ == nullptr);
}

GLuint Instanced::UploadInstances() {
  const int k = next_buffer_;
  next_buffer_ = (next_buffer_ + 1) % instance_buffer_count;
  const size_t bytes = instances_.size() * sizeof(Instance);
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, instance_buffers_[k]));
  if (bytes > instance_room_[k]) {
    // Grows only: the room of the largest frame so far, once.
    instance_room_[k] = bytes;
    glCheck(glBufferData(GL_ARRAY_BUFFER, bytes, instances_.data(), GL_STREAM_DRAW));
  } else {
    glCheck(glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, instances_.data()));
  }
  return instance_buffers_[k];
}

bool Instanced::UseProgram(const Batch& batch) {
  const omni::ShaderObject* program = batch.program != nullptr ? batch.program : plain_.get();
  if (program == nullptr || !program->loaded) return false;
  glCheck(glUseProgram(program->program));
  if (batch.program != nullptr) {
    // NOTE: the toon program's per-node uniforms, at most four a batch.
    batch.program->SendTimes(batch.time);
  } else {
    glCheck(glUniform1i(textured_uniform_, batch.textured_block ? 1 : 0));
  }
  return true;
}

void Instanced::DrawBatch(const Batch& batch, GLuint instances) {
  if (!UseProgram(batch)) return;
  if (batch.textured_block) glCheck(glBindTexture(GL_TEXTURE_2D, bound_texture_));
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, instances));
  const GLsizei stride = sizeof(Instance);
  const size_t first = static_cast<size_t>(batch.first) * sizeof(Instance);
  for (GLuint column = 0; column < 4; ++column) {
    glCheck(glVertexAttribPointer(2 + column, 4, GL_FLOAT, GL_FALSE, stride,
                                  reinterpret_cast<const void*>(first + 16 * column)));
  }
  glCheck(glVertexAttribPointer(6, 4, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(first + offsetof(Instance, color))));
  glCheck(glVertexAttribPointer(8, 3, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(first + offsetof(Instance, facing))));
  const size_t index_offset = static_cast<size_t>(batch.shape) * indices_per_shape * 2;
  glCheck(glDrawElementsInstanced(GL_TRIANGLES, indices_per_shape, GL_UNSIGNED_SHORT,
                                  reinterpret_cast<const void*>(index_offset), batch.count));
}

void Instanced::FinishFrame() {
  if (batches_.empty()) return;
  const GLuint instances = UploadInstances();
  glCheck(glBindVertexArray(cube_array_));
  for (const Batch& batch : batches_) DrawBatch(batch, instances);
  glCheck(glBindVertexArray(0));
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, 0));
  glCheck(glUseProgram(0));
  instances_.clear();
  batches_.clear();
}

void Instanced::ScreenBegin(float width, float height) {
  glCheck(glDisable(GL_DEPTH_TEST));
  glCheck(glDisable(GL_CULL_FACE));
  glCheck(glUseProgram(screen_->program));
  glCheck(glUniform2f(screen_uniform_, width, height));
  glCheck(glBindVertexArray(screen_array_));
}

void Instanced::ScreenQuads(const void* vertices, int stride, int quads, float r, float g,
                            float b) {
  if (quads <= 0) return;
  const size_t count = static_cast<size_t>(quads);
  screen_points_.resize(count * 8);
  const auto* bytes = static_cast<const unsigned char*>(vertices);
  for (size_t v = 0; v < count * 4; ++v) {
    std::memcpy(&screen_points_[2 * v], bytes + v * static_cast<size_t>(stride), 2 * sizeof(float));
  }
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, screen_vertices_));
  if (count > screen_quad_room_) {
    // Grows only, to the most quads drawn at once so far.
    screen_quad_room_ = count;
    for (size_t q = screen_index_list_.size() / 6; q < count; ++q) {
      const auto v = static_cast<GLuint>(4 * q);
      for (GLuint i : {v, v + 1, v + 2, v, v + 2, v + 3}) screen_index_list_.push_back(i);
    }
    glCheck(glBufferData(GL_ELEMENT_ARRAY_BUFFER, screen_index_list_.size() * sizeof(GLuint),
                         screen_index_list_.data(), GL_STATIC_DRAW));
    glCheck(glBufferData(GL_ARRAY_BUFFER, count * 8 * sizeof(float), screen_points_.data(),
                         GL_STREAM_DRAW));
  } else {
    glCheck(glBufferSubData(GL_ARRAY_BUFFER, 0, count * 8 * sizeof(float), screen_points_.data()));
  }
  glCheck(glUniform4f(color_uniform_, r, g, b, 1.0f));
  glCheck(glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count * 6), GL_UNSIGNED_INT, nullptr));
}

void Instanced::ScreenEnd() {
  glCheck(glBindVertexArray(0));
  glCheck(glBindBuffer(GL_ARRAY_BUFFER, 0));
  glCheck(glUseProgram(0));
  glCheck(glEnable(GL_DEPTH_TEST));
  glCheck(glEnable(GL_CULL_FACE));
}

}  // namespace

std::unique_ptr<Layer> make_instanced(std::string& error) {
  auto layer = std::make_unique<Instanced>();
  if (!layer->Create(error)) return nullptr;
  return layer;
}

}  // namespace render
