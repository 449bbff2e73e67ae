// The platform layer in the browser: the page's files are the show's, packed at the root of
// Emscripten's file system, and there is no process, console or allocator to tune.
#include "platform/platform.h"

namespace platform {

void attach_console() {}

std::filesystem::path executable_dir(const char*) {
  return {};
}

const char* const installed_data_dir = ".";

void keep_freed_memory() {}

}  // namespace platform
