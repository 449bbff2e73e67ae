#ifndef TESSARY_CAPTURE_SHOWRENDERER_H
#define TESSARY_CAPTURE_SHOWRENDERER_H

#include <memory>
#include <string>
#include <vector>

#include "demo/show.h"
#include "effect/camera.h"
#include "gl/headless.h"
#include "shadermanager.h"

// How a frame is stepped. Every frame advances the show's state; only some are drawn.
enum class FrameUse {
  skip,   // state only, no GL call: the picture is not kept and the next one is not either
  carry,  // drawn into a single pixel, for the GL state it leaves to the next frame (the clear
          // colour the flash sets)
  keep,   // drawn in full, to be read back
};

// The show (or one effect alone) as the player runs it at a steady 120 frames per second, stepped
// frame by frame into a headless framebuffer of any size. Owns the GL context, the shader
// manager, the camera and the timeline; needs no window and no X server.
class ShowRenderer {
 public:
  ShowRenderer() = default;
  ~ShowRenderer();
  ShowRenderer(const ShowRenderer&) = delete;
  ShowRenderer& operator=(const ShowRenderer&) = delete;

  // Opens a width x height context, sets the fixed GL state, loads the toon shader and builds the
  // whole show, or, when `effect_name` is not empty, a timeline holding only that effect (see
  // singleeffects.h). Returns false with a one-line reason.
  bool Create(int width, int height, const std::string& effect_name, std::string& error);

  // Steps frame `next_frame` and moves on to the next one.
  void Step(FrameUse use);
  // Steps on up to and including `frame` (not before `next_frame`), drawing `frame` in full and,
  // for the GL state they carry, the frame before it and the last frame of every node that ends
  // on the way. The picture is then that of the full loop, in which every frame is drawn.
  void StepTo(int frame);
  // The picture of the last kept frame: RGB rows, top row first.
  void ReadRgb(std::vector<unsigned char>& rgb) const { context.ReadRgb(rgb); }

  // The global beat after the last step (-1 before the first).
  int Beat() const { return show_ ? show_->clock.beat : -1; }

  int next_frame = 0;
  gl::HeadlessContext context;

 private:
  std::unique_ptr<omni::ShaderManager> manager_;
  effect::Camera camera_;
  Enabler* timeline_ = nullptr;
  std::unique_ptr<Show> show_;
  // Last frames of the nodes' beat ranges, ascending: an effect's last Draw may leave state (the
  // flash its clear colour) that holds until another effect changes it.
  std::vector<int> last_frames_;
};

#endif
