#include "platform/desktop.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace {

std::atomic<int> caught_signal{0};

void on_end_signal(int signal) {
  caught_signal.store(signal);
}

// Ctrl+C, Ctrl+Break, the console closed, log-off and shut-down, from the console's own thread:
// each ends the show as SIGINT or SIGTERM would.
BOOL WINAPI on_console_event(DWORD event) {
  caught_signal.store(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
  return TRUE;
}

}  // namespace

namespace platform {

void catch_end_signals() {
  std::signal(SIGINT, on_end_signal);
  std::signal(SIGTERM, on_end_signal);
  SetConsoleCtrlHandler(on_console_event, TRUE);
}

int end_signal() {
  return caught_signal.load();
}

void reraise_end_signal() {
  const int signal = caught_signal.load();
  if (signal == 0) return;
  // Windows has no exit status for a signal: the C runtime's conventional code for an abnormal
  // end stands in for it.
  std::_Exit(3);
}

void hold_off_screensaver(sf::WindowHandle, bool hold) {
  SetThreadExecutionState(hold ? (ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED)
                               : ES_CONTINUOUS);
}

bool window_shown(sf::WindowHandle window) {
  return IsWindowVisible(window) && !IsIconic(window);
}

float display_refresh_rate(sf::WindowHandle window) {
  HDC dc = GetDC(window);
  if (dc == nullptr) return 0;
  const int rate = GetDeviceCaps(dc, VREFRESH);
  ReleaseDC(window, dc);
  // 0 and 1 stand for the hardware's default rate: unknown.
  return rate > 1 ? static_cast<float>(rate) : 0.0f;
}

}  // namespace platform
