#include "platform/desktop.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/scrnsaver.h>

#include <atomic>
#include <csignal>
#include <initializer_list>

namespace {

std::atomic<int> caught_signal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

void on_end_signal(int signal) {
  caught_signal.store(signal);
}

// The player's own connection for these queries, opened on first use, kept for the run.
Display* connection() {
  static Display* const display = XOpenDisplay(nullptr);
  return display;
}

}  // namespace

namespace platform {

void catch_end_signals() {
  struct sigaction action = {};
  action.sa_handler = on_end_signal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

int end_signal() {
  return caught_signal.load();
}

void reraise_end_signal() {
  const int signal = caught_signal.load();
  if (signal == 0) return;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void hold_off_screensaver(sf::WindowHandle, bool hold) {
  Display* display = connection();
  if (display == nullptr) return;
  int event_base = 0, error_base = 0;
  if (XScreenSaverQueryExtension(display, &event_base, &error_base)) {
    XScreenSaverSuspend(display, hold ? True : False);
  }
  if (hold) XResetScreenSaver(display);
  XFlush(display);
}

bool window_shown(sf::WindowHandle window) {
  Display* display = connection();
  XWindowAttributes attributes;
  if (display == nullptr || !XGetWindowAttributes(display, window, &attributes)) return true;
  return attributes.map_state == IsViewable;
}

float display_refresh_rate(sf::WindowHandle window) {
  Display* display = connection();
  if (display == nullptr) return 0;
  XRRScreenConfiguration* config = XRRGetScreenInfo(display, window);
  if (config == nullptr) return 0;
  const short rate = XRRConfigCurrentRate(config);
  XRRFreeScreenConfigInfo(config);
  return static_cast<float>(rate);
}

}  // namespace platform
