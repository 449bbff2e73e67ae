#ifndef TESSARY_CAPTURE_SHOWRENDERER_H
#define TESSARY_CAPTURE_SHOWRENDERER_H

#include <memory>
#include <string>
#include <vector>

#include "demo/camerafile.h"
#include "demo/playhead.h"
#include "gl/headless.h"
#include "render/layer.h"
#include "shadermanager.h"
#include "sync/cameratracks.h"

// How a frame is drawn: by which renderer, at how many times the size (shrunk after), with how
// many samples a pixel (0: none).
struct DrawSettings {
  render::Kind renderer = render::Kind::classic;
  int supersample = 1;
  int msaa = 0;
  bool gles = false;  // instanced on OpenGL ES 3.0 (what WebGL 2 offers) instead of 3.3 core
};

// The show (or one effect alone) stepped as the player steps it, one frame per step of
// 1 / show_fps s, into a headless framebuffer of any size, drawn once at that size or at N times
// it and shrunk (supersampled, for smooth edges). Owns the GL context, the shader manager and the
// playhead; needs no window and no X server.
class ShowRenderer {
 public:
  ShowRenderer() = default;
  ~ShowRenderer();
  ShowRenderer(const ShowRenderer&) = delete;
  ShowRenderer& operator=(const ShowRenderer&) = delete;

  // Opens a context of width x height times `supersample`, sets the fixed GL state, loads the
  // toon shader and builds the whole show with the camera file's keys (a file with errors: its
  // lines on standard error, and the keys that parsed) and the sync tracks saved in data/ (a
  // broken one: one line, that track ignored), or, when `effect_name` is not empty, a timeline
  // holding only that effect (see singleeffects.h). The renderer gets the context its kind
  // needs (compatibility, or 3.3 core). Returns false with a one-line reason.
  bool Create(int width, int height, const std::string& effect_name, std::string& error,
              const DrawSettings& settings = DrawSettings());

  // Runs the next frame and draws it.
  void DrawNext(const FreeView& view = FreeView()) { head_->DrawNext(view); }
  // Steps on to `frame` without drawing (rebuilding when it lies behind), then draws it: the
  // picture of the loop in which every frame is drawn.
  void StepTo(int frame) {
    head_->SeekTo(frame);
    head_->DrawNext(FreeView());
  }
  // The picture of the last drawn frame, width x height: RGB rows, top row first.
  void ReadRgb(std::vector<unsigned char>& rgb);
  // The same as RGBA rows, bottom row first, as the video encoder takes it.
  void ReadRgba(std::vector<unsigned char>& rgba);

  // The next step to run, and the global beat after the last one (-1 before the first).
  int NextStep() const { return head_->NextStep(); }
  int Beat() const { return head_->Beat(); }

  // What the frames are drawn with; the renderer is current while this object lives.
  render::Layer& Layer() { return *layer_; }
  // Makes this renderer's context and layer current again, after another renderer's were.
  void Activate();

  gl::HeadlessContext context;

 private:
  int supersample_ = 1;
  std::unique_ptr<render::Layer> layer_;
  std::vector<unsigned char> drawn_;  // the framebuffer as read, before shrinking
  CameraFile camera_file_;
  CameraTracks tracks_;
  std::unique_ptr<omni::ShaderManager> manager_;
  std::unique_ptr<Playhead> head_;
};

// Shrinks a picture by `factor` in both directions: each pixel of `small` (width x height) is the
// mean of its factor x factor block of `big`, channel by channel, rounded.
void shrink_box(const std::vector<unsigned char>& big, int width, int height, int channels,
                int factor, std::vector<unsigned char>& small);

#endif
