#include "player/xerrors.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace {
bool* g_lost = nullptr;
unsigned long g_window = 0;  // the XID of the show's window once it exists

int on_x_error(Display*, XErrorEvent* error) {
  // Only our own window counts: an error about another one (the stale focus a window of an
  // earlier run left, say) is no reason to end the show.
  if (g_lost != nullptr && g_window != 0 && error->resourceid == g_window &&
      (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    *g_lost = true;
  }
  return 0;
}
}  // namespace

void watch_window_loss(bool* lost) {
  g_lost = lost;
  XSetErrorHandler(on_x_error);
}

void watch_window(unsigned long window) {
  g_window = window;
}

bool display_available(std::string& reason) {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == 0) {
    reason = "no display (DISPLAY is not set)";
    return false;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    reason = std::string("cannot open display ") + name;
    return false;
  }
  // Kept open for the program's life: a server left with no client resets (Xvfb does), and
  // refuses connections for a moment, just when the window is about to open.
  static Display* const kept = display;
  (void)kept;
  return true;
}
