// The platform layer on Linux, the parts every program shares: glibc's allocator, /proc for
// the executable.
#include <malloc.h>

#include <cstring>

#include "platform/platform.h"

namespace platform {

void attach_console() {}

// /proc/self/exe, else argv0 when it holds a path.
std::filesystem::path executable_dir(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) {
    if (argv0 == nullptr || std::strchr(argv0, '/') == nullptr) return {};
    exe = std::filesystem::absolute(argv0, ec);
    if (ec) return {};
  }
  return exe.parent_path();
}

// games/tessary (or bin/tessary) -> share/tessary.
const char* const installed_data_dir = "../share/tessary";

// Mesa's software rasteriser takes its binning memory (64 KB blocks) from malloc for every
// frame and frees it after. By default glibc hands the top of the heap back to the kernel and
// gets it again the next frame, a page fault for every 4 KB: a fifth of the process's time.
// This keeps up to 256 MB of freed memory in the process, and serves blocks up to 32 MB from
// the heap.
void keep_freed_memory() {
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

}  // namespace platform
