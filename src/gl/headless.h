#ifndef TESSARY_GL_HEADLESS_H
#define TESSARY_GL_HEADLESS_H

#include <string>
#include <vector>

namespace gl {

// A GL compatibility-profile context with no window and no X server (EGL on Mesa's surfaceless
// platform), rendering into a framebuffer object of a chosen size. Owns the context and the
// framebuffer; the context stays current on the creating thread until destruction.
class HeadlessContext {
 public:
  HeadlessContext() = default;
  ~HeadlessContext();
  HeadlessContext(const HeadlessContext&) = delete;
  HeadlessContext& operator=(const HeadlessContext&) = delete;

  // Creates the context and a width x height RGBA8 + depth/stencil framebuffer, makes both
  // current and sets the viewport. Returns false with the reason in `error` (nothing is left
  // created then).
  bool Create(int width, int height, std::string& error);
  // Reads the framebuffer as tightly packed RGB rows, top row first.
  void ReadRgb(std::vector<unsigned char>& rgb) const;

  int width = 0;
  int height = 0;

 private:
  void Destroy();

  void* display_ = nullptr;
  void* context_ = nullptr;
  unsigned int framebuffer_ = 0;
  unsigned int color_ = 0;
  unsigned int depth_ = 0;
};

}  // namespace gl

#endif
