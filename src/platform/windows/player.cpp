// The player's platform layer on Windows, the parts only the player needs. There is always a
// desktop to open the window on, and only the thread that made the window can destroy it, so
// nothing is watched.
#include <AL/alc.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/desktop.h"
#include "platform/platform.h"

namespace platform {

bool display_available(std::string&) {
  return true;
}

void watch_window_loss(bool*) {}

void watch_window(sf::WindowHandle) {}

// OpenAL Soft reports its failures on standard error: kept off the console, as on Linux.
bool audio_device_available() {
  std::fflush(stderr);
  const int err = _fileno(stderr);
  const int saved = err >= 0 ? _dup(err) : -1;
  const int null_fd = _open("NUL", _O_WRONLY);
  if (saved >= 0 && null_fd >= 0) _dup2(null_fd, err);
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device != nullptr) alcCloseDevice(device);
  if (saved >= 0) {
    _dup2(saved, err);
    _close(saved);
  }
  if (null_fd >= 0) _close(null_fd);
  return device != nullptr;
}

}  // namespace platform
