#include "player/screen.h"

#include <algorithm>

#include "gl/glcheck.h"
#include "render/layer.h"

namespace {
constexpr long aspect_w = 4;  // the show's frame: 4:3, as its 1024x768 window
constexpr long aspect_h = 3;
}  // namespace

Viewport letterbox(int window_width, int window_height) {
  Viewport view;
  const long w = std::max(window_width, 1), h = std::max(window_height, 1);
  if (w * aspect_h > h * aspect_w) {  // wider than 4:3: bars left and right
    view.height = static_cast<int>(h);
    view.width = static_cast<int>(h * aspect_w / aspect_h);
  } else {  // narrower: bars above and below
    view.width = static_cast<int>(w);
    view.height = static_cast<int>(w * aspect_h / aspect_w);
  }
  view.x = static_cast<int>((w - view.width) / 2);
  view.y = static_cast<int>((h - view.height) / 2);
  return view;
}

void Screen::Resize(int window_width, int window_height) {
  view = letterbox(window_width, window_height);
  bars = view.width != window_width || view.height != window_height;
  glCheck(glViewport(view.x, view.y, view.width, view.height));
  if (bars) {
    glCheck(glScissor(view.x, view.y, view.width, view.height));
    glCheck(glEnable(GL_SCISSOR_TEST));
  } else {
    glCheck(glDisable(GL_SCISSOR_TEST));
  }
}

void Screen::BeginFrame() const {
  if (!bars) return;
  // The clear colour through the renderer, which may keep it rather than ask GL for it.
  render::Layer& gfx = render::layer();
  float show_clear[4];
  gfx.GetClearColor(show_clear);
  glCheck(glDisable(GL_SCISSOR_TEST));
  gfx.ClearColor(0, 0, 0, 0);
  glCheck(glClear(GL_COLOR_BUFFER_BIT));
  gfx.ClearColor(show_clear[0], show_clear[1], show_clear[2], show_clear[3]);
  glCheck(glEnable(GL_SCISSOR_TEST));
}
