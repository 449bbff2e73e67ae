#ifndef TESSARY_GL_HEADLESS_H
#define TESSARY_GL_HEADLESS_H

#include <string>
#include <vector>

namespace gl {

// Which GL a headless context offers: the compatibility profile (the classic renderer's),
// 3.3 core, or OpenGL ES 3.0 (what WebGL 2 offers).
enum class Profile { compatibility, core, es };

// A GL context with no window and no X server (EGL on Mesa's surfaceless platform), rendering
// into a framebuffer object of a chosen size, multisampled when asked (then resolved into a
// plain one before every read). Owns the context and the framebuffers; the context stays
// current on the creating thread until destruction.
class HeadlessContext {
 public:
  HeadlessContext() = default;
  ~HeadlessContext();
  HeadlessContext(const HeadlessContext&) = delete;
  HeadlessContext& operator=(const HeadlessContext&) = delete;

  // Creates the context and a width x height RGBA8 + depth/stencil framebuffer, makes both
  // current and sets the viewport. `samples` > 0 asks for that many samples a pixel (fewer
  // when the driver offers fewer; `samples` then tells what it got). Returns false with the
  // reason in `error` (nothing is left created then).
  bool Create(int width, int height, std::string& error, Profile profile = Profile::compatibility,
              int samples = 0);
  // Makes this context and its framebuffer current again (after another context was).
  void MakeCurrent();
  // Reads the framebuffer as tightly packed RGB rows, top row first.
  void ReadRgb(std::vector<unsigned char>& rgb);
  // The same as RGBA rows, bottom row first.
  void ReadRgba(std::vector<unsigned char>& rgba);

  int width = 0;
  int height = 0;
  int samples = 0;  // samples a pixel of the drawing framebuffer (0: not multisampled)

 private:
  void Destroy();
  bool MakeContext(Profile profile, std::string& error);
  bool MakeFramebuffers(int wanted_samples, std::string& error);
  // With multisampling, resolves the drawing into the plain framebuffer and reads from it.
  void Resolve();

  void* display_ = nullptr;
  void* context_ = nullptr;
  unsigned int framebuffer_ = 0;
  unsigned int color_ = 0;
  unsigned int depth_ = 0;
  unsigned int resolved_ = 0;  // the plain framebuffer a multisampled one resolves into
  unsigned int resolved_color_ = 0;
};

}  // namespace gl

#endif
