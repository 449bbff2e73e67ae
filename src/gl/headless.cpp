#include "gl/headless.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>

#include "gl/framegrab.h"
#include "gl/glcheck.h"

namespace gl {

HeadlessContext::~HeadlessContext() {
  Destroy();
}

bool HeadlessContext::Create(int width_, int height_, std::string& error, Profile profile,
                             int wanted_samples) {
  if (width_ <= 0 || height_ <= 0) {
    error = "framebuffer size must be positive";
    return false;
  }
  if (!MakeContext(profile, error)) return false;
  width = width_;
  height = height_;
  if (!MakeFramebuffers(wanted_samples, error)) {
    Destroy();
    return false;
  }
  return true;
}

bool HeadlessContext::MakeContext(Profile profile, std::string& error) {
  auto get_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (get_display == nullptr) {
    error = "EGL has no eglGetPlatformDisplayEXT";
    return false;
  }
  EGLDisplay display = get_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
    error = "cannot open Mesa's surfaceless EGL display";
    return false;
  }
  display_ = display;
  const bool es = profile == Profile::es;
  if (!eglBindAPI(es ? EGL_OPENGL_ES_API : EGL_OPENGL_API)) {
    error = es ? "EGL cannot bind OpenGL ES" : "EGL cannot bind desktop OpenGL";
    Destroy();
    return false;
  }
  const EGLint config_attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                      es ? EGL_OPENGL_ES3_BIT : EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display, config_attributes, &config, 1, &count) || count < 1) {
    error = es ? "no EGL config for OpenGL ES 3" : "no EGL config for desktop OpenGL";
    Destroy();
    return false;
  }
  const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                  EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  const EGLint core[] = {EGL_CONTEXT_MAJOR_VERSION,
                         3,
                         EGL_CONTEXT_MINOR_VERSION,
                         3,
                         EGL_CONTEXT_OPENGL_PROFILE_MASK,
                         EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                         EGL_NONE};
  const EGLint es3[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
  const EGLint* attributes =
      profile == Profile::core ? core : (profile == Profile::es ? es3 : compatibility);
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT) {
    error = profile == Profile::core ? "cannot create a 3.3 core-profile GL context"
            : profile == Profile::es ? "cannot create an OpenGL ES 3.0 context"
                                     : "cannot create a compatibility-profile GL context";
    Destroy();
    return false;
  }
  context_ = context;
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    error = "cannot make the GL context current without a surface";
    Destroy();
    return false;
  }
  return true;
}

namespace {

// A framebuffer with an RGBA8 colour and a depth/stencil renderbuffer of `samples` samples.
void make_framebuffer(int width, int height, int samples, GLuint& framebuffer, GLuint& color,
                      GLuint* depth) {
  glCheck(glGenFramebuffers(1, &framebuffer));
  glCheck(glBindFramebuffer(GL_FRAMEBUFFER, framebuffer));
  glCheck(glGenRenderbuffers(1, &color));
  glCheck(glBindRenderbuffer(GL_RENDERBUFFER, color));
  glCheck(glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, width, height));
  glCheck(glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color));
  if (depth == nullptr) return;
  glCheck(glGenRenderbuffers(1, depth));
  glCheck(glBindRenderbuffer(GL_RENDERBUFFER, *depth));
  glCheck(glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH24_STENCIL8, width,
                                           height));
  glCheck(glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                    *depth));
}

}  // namespace

bool HeadlessContext::MakeFramebuffers(int wanted_samples, std::string& error) {
  samples = 0;
  if (wanted_samples > 1) {
    GLint most = 0;
    glCheck(glGetIntegerv(GL_MAX_SAMPLES, &most));
    samples = wanted_samples < most ? wanted_samples : most;
    if (samples < 2) samples = 0;
  }
  make_framebuffer(width, height, samples, framebuffer_, color_, &depth_);
  GLenum status = 0;
  glCheck(status = glCheckFramebufferStatus(GL_FRAMEBUFFER));
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    error = "framebuffer incomplete";
    return false;
  }
  if (samples > 0) {
    make_framebuffer(width, height, 0, resolved_, resolved_color_, nullptr);
    glCheck(status = glCheckFramebufferStatus(GL_FRAMEBUFFER));
    if (status != GL_FRAMEBUFFER_COMPLETE) {
      error = "resolve framebuffer incomplete";
      return false;
    }
    glCheck(glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_));
  }
  const GLenum attachment = GL_COLOR_ATTACHMENT0;
  glCheck(glDrawBuffers(1, &attachment));
  glCheck(glReadBuffer(GL_COLOR_ATTACHMENT0));
  glCheck(glViewport(0, 0, width, height));
  return true;
}

void HeadlessContext::MakeCurrent() {
  if (context_ == nullptr) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
  glCheck(glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_));
}

void HeadlessContext::Resolve() {
  if (samples == 0) return;
  glCheck(glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_));
  glCheck(glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolved_));
  glCheck(
      glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST));
  glCheck(glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_));
  glCheck(glBindFramebuffer(GL_READ_FRAMEBUFFER, resolved_));
}

void HeadlessContext::ReadRgb(std::vector<unsigned char>& rgb) {
  Resolve();
  read_rgb(0, 0, width, height, rgb);
  if (samples > 0) glCheck(glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_));
}

void HeadlessContext::ReadRgba(std::vector<unsigned char>& rgba) {
  Resolve();
  rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  glCheck(glPixelStorei(GL_PACK_ALIGNMENT, 4));
  glCheck(glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data()));
  if (samples > 0) glCheck(glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_));
}

void HeadlessContext::Destroy() {
  if (context_ != nullptr) {
    // Its own objects, whichever context was current.
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
    if (framebuffer_ != 0) {
      glCheck(glDeleteFramebuffers(1, &framebuffer_));
      glCheck(glDeleteRenderbuffers(1, &color_));
      glCheck(glDeleteRenderbuffers(1, &depth_));
      framebuffer_ = color_ = depth_ = 0;
    }
    if (resolved_ != 0) {
      glCheck(glDeleteFramebuffers(1, &resolved_));
      glCheck(glDeleteRenderbuffers(1, &resolved_color_));
      resolved_ = resolved_color_ = 0;
    }
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display_, context_);
    context_ = nullptr;
  }
  // The display is not terminated: it is one per process, shared by every context made on it,
  // and initialising it again is a no-op. Terminating it makes Mesa unload its driver while the
  // driver still holds allocations, which then read as leaks of an unknown module; the process's
  // exit releases it instead.
  display_ = nullptr;
  width = height = samples = 0;
}

}  // namespace gl
