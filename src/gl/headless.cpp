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

bool HeadlessContext::Create(int width_, int height_, std::string& error) {
  if (width_ <= 0 || height_ <= 0) {
    error = "framebuffer size must be positive";
    return false;
  }
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
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error = "EGL cannot bind desktop OpenGL";
    Destroy();
    return false;
  }
  const EGLint config_attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                      EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display, config_attributes, &config, 1, &count) || count < 1) {
    error = "no EGL config for desktop OpenGL";
    Destroy();
    return false;
  }
  const EGLint context_attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                       EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
  if (context == EGL_NO_CONTEXT) {
    error = "cannot create a compatibility-profile GL context";
    Destroy();
    return false;
  }
  context_ = context;
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    error = "cannot make the GL context current without a surface";
    Destroy();
    return false;
  }

  width = width_;
  height = height_;
  glCheck(glGenFramebuffers(1, &framebuffer_));
  glCheck(glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_));
  glCheck(glGenRenderbuffers(1, &color_));
  glCheck(glBindRenderbuffer(GL_RENDERBUFFER, color_));
  glCheck(glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height));
  glCheck(glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_));
  glCheck(glGenRenderbuffers(1, &depth_));
  glCheck(glBindRenderbuffer(GL_RENDERBUFFER, depth_));
  glCheck(glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height));
  glCheck(glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                    depth_));
  GLenum status = 0;
  glCheck(status = glCheckFramebufferStatus(GL_FRAMEBUFFER));
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    error = "framebuffer incomplete";
    Destroy();
    return false;
  }
  glCheck(glDrawBuffer(GL_COLOR_ATTACHMENT0));
  glCheck(glReadBuffer(GL_COLOR_ATTACHMENT0));
  glCheck(glViewport(0, 0, width, height));
  return true;
}

void HeadlessContext::ReadRgb(std::vector<unsigned char>& rgb) const {
  read_rgb(0, 0, width, height, rgb);
}

void HeadlessContext::Destroy() {
  if (context_ != nullptr) {
    if (framebuffer_ != 0) {
      glCheck(glDeleteFramebuffers(1, &framebuffer_));
      glCheck(glDeleteRenderbuffers(1, &color_));
      glCheck(glDeleteRenderbuffers(1, &depth_));
      framebuffer_ = color_ = depth_ = 0;
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
  width = height = 0;
}

}  // namespace gl
