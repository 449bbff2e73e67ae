#ifndef TESSARY_RENDER_LAYER_H
#define TESSARY_RENDER_LAYER_H

// The one way the show draws. Effects, the show's frame walk and the overlay call this small
// layer, never GL: a matrix stack, a current colour, cube shapes, the textured plasma block,
// screen-space quads and the frame's phases. Two renderers implement it:
//   classic    the GL 1.x calls one for one (display lists, immediate mode, fixed-function
//              state); needs a compatibility-profile context. The reference pictures are its.
//   instanced  OpenGL 3.3 core and OpenGL ES 3.0 from one code path: the matrix stack on the
//              CPU, each node's cubes gathered as instances and drawn at the frame's end.
//
// How to use (with a context of the renderer's kind current):
//   std::unique_ptr<render::Layer> layer = render::make_layer(render::Kind::instanced);
//   render::Current current(*layer);      // render::layer() is now this one
//   layer->StartUp();                     // the show's fixed state (init_gl calls it)
//   ... per frame: Clear, then per timeline node BindToon / the effect's Draw / UnbindToon,
//   then FinishFrame (the instanced renderer draws what it gathered there) ...
// Destroy every effect (they release shapes and textures through it) before the layer, and
// the layer before its context.

#include <memory>
#include <string>

namespace omni {
class ShaderObject;
struct NodeTimes;
}  // namespace omni

namespace render {

enum class Kind { classic, instanced };

// "classic" or "instanced".
const char* kind_name(Kind kind);
// Reads a renderer's name; false for any other text.
bool parse_kind(const std::string& text, Kind& kind);

// Where the show stands when a timeline node is drawn: the values its toon program's per-node
// uniforms take (shadermanager.h; a program without them ignores them).
using NodeTime = omni::NodeTimes;

// How a texture is filtered (and whether it gets mipmaps) when it is uploaded.
enum class Filter { nearest, linear, mipmap, keep };  // keep: the parameters as they are

// The toon program's source files and the text put before each (the #version line the
// renderer's GLSL needs; empty for classic, whose files carry none).
struct ToonSources {
  const char* vertex_path = "";
  const char* fragment_path = "";
  std::string header;
};

class Layer {
 public:
  virtual ~Layer() = default;
  virtual Kind kind() const = 0;

  // The show's fixed state: depth test, back faces culled, the 90 degree perspective (near 1,
  // far 500), light 0 from the viewer; the model-view matrix the identity.
  virtual void StartUp() = 0;
  // Where the toon program comes from for this renderer.
  virtual ToonSources Toon() const = 0;

  // The model-view matrix stack, as glPushMatrix and its kin compute it.
  virtual void PushMatrix() = 0;
  virtual void PopMatrix() = 0;
  virtual void LoadIdentity() = 0;
  virtual void Translate(float x, float y, float z) = 0;
  // Degrees about the axis (x, y, z).
  virtual void Rotate(float degrees, float x, float y, float z) = 0;
  virtual void Scale(float x, float y, float z) = 0;
  // Replaces the projection with a perspective of `fovy` degrees (the model-view stays).
  virtual void Perspective(double fovy, double aspect, double z_near, double z_far) = 0;

  // The current colour the next cubes take (alpha 1 unless given).
  virtual void Color(float r, float g, float b) = 0;
  virtual void Color(float r, float g, float b, float a) = 0;

  // A cube shape from -half to +half on every axis, faces wound counter-clockwise from outside.
  // Made once (in an effect's constructor); 0 is no shape. The maker releases it.
  virtual unsigned int CreateCube(float half) = 0;
  virtual void DeleteCube(unsigned int shape) = 0;
  // Draws the shape under the current matrix in the current colour.
  virtual void DrawCube(unsigned int shape) = 0;
  // Draws a cube of that size without a shape made beforehand (slower; for tools and tests).
  virtual void DrawCubeOnce(float half) = 0;

  // An RGB texture, made once; its maker releases it. 0 is none.
  virtual unsigned int CreateTexture() = 0;
  virtual void DeleteTexture(unsigned int texture) = 0;
  // Sends `pixels` (width x height RGB bytes, row 0 first) as the texture's image, filtered so.
  // Leaves the texture bound.
  virtual void UploadTexture(unsigned int texture, Filter filter, int width, int height,
                             const unsigned char* pixels) = 0;
  // The plasma block: a cube four units on a side with the bound texture on every face, under
  // the current matrix, in `color` (which becomes the current colour).
  virtual void DrawPlasmaBlock(const float color[3]) = 0;

  // Frame phases. The clear colour persists between frames (the flash sets it).
  virtual void ClearColor(float r, float g, float b, float a) = 0;
  // The clear colour as the driver keeps it (clamped to 0..1).
  virtual void GetClearColor(float rgba[4]) = 0;
  // Clears colour and depth.
  virtual void Clear() = 0;
  // Around each timeline node's drawing: binds the toon program (null: none, the fixed-
  // function look) with the node's time, and unbinds it.
  virtual void BindToon(omni::ShaderObject* program, const NodeTime& time) = 0;
  virtual void UnbindToon(omni::ShaderObject* program) = 0;
  // The show's frame is complete: what was gathered is drawn.
  virtual void FinishFrame() = 0;

  // Screen-space quads over the frame (the overlay), in a space of `width` x `height` units
  // with (0, 0) at the top left. Between ScreenBegin and ScreenEnd every other state is left
  // as the show had it. `vertices`: 4 a quad, x and y the first two floats, `stride` bytes apart.
  virtual void ScreenBegin(float width, float height) = 0;
  virtual void ScreenQuads(const void* vertices, int stride, int quads, float r, float g,
                           float b) = 0;
  virtual void ScreenEnd() = 0;
};

// Makes a renderer; needs a current context of its kind (compatibility for classic, 3.3 core
// or ES 3.0 for instanced). Null with the reason when it cannot work here.
std::unique_ptr<Layer> make_layer(Kind kind, std::string& error);

// The layer every effect draws through. Calling it with none current is a programming error
// (it aborts with a message).
Layer& layer();
// Makes `layer` current (null: none), for a program that switches between contexts.
void set_current(Layer* layer);

// Makes a layer current for its lifetime, restoring the one before at its end.
class Current {
 public:
  explicit Current(Layer& layer);
  ~Current();
  Current(const Current&) = delete;
  Current& operator=(const Current&) = delete;

 private:
  Layer* previous_;
};

}  // namespace render

#endif
