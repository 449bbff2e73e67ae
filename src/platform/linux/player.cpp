// The player's platform layer on Linux, the parts only the player needs: X11 for the display
// and the window's loss, and the audio probe.
#include <AL/alc.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/desktop.h"
#include "platform/platform.h"

namespace platform {

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

// Xlib's default error handler would end the program with status 1 on the next call that
// names a destroyed window.
void watch_window_loss(bool* lost) {
  g_lost = lost;
  XSetErrorHandler(on_x_error);
}

void watch_window(sf::WindowHandle window) {
  g_window = window;
}

// Without a device, SFML's stream thread would report every failed OpenAL call on standard
// error, millions of lines a minute; the probe's own noise is kept off the terminal.
bool audio_device_available() {
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  const int null_fd = ::open("/dev/null", O_WRONLY);
  if (saved >= 0 && null_fd >= 0) ::dup2(null_fd, STDERR_FILENO);
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device != nullptr) alcCloseDevice(device);
  if (saved >= 0) {
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
  }
  if (null_fd >= 0) ::close(null_fd);
  return device != nullptr;
}

}  // namespace platform
