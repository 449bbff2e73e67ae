#include "player/xerrors.h"

#include <X11/Xlib.h>

namespace {
bool* g_lost = nullptr;

int on_x_error(Display*, XErrorEvent* error) {
  if (g_lost != nullptr && (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    *g_lost = true;
  }
  return 0;
}
}  // namespace

void watch_window_loss(bool* lost) {
  g_lost = lost;
  XSetErrorHandler(on_x_error);
}
