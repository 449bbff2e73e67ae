// The platform layer on Windows, the parts every program shares: the console, the executable's
// folder. The allocator needs no tuning here.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace platform {

// A program of the Windows (GUI) subsystem gets no console, so Explorer opens none; started
// from a console, its --help and error lines go to that console. Streams the starter redirected
// to a file or pipe stay where they lead.
void attach_console() {
  const bool out_leads_somewhere = _fileno(stdout) >= 0;
  const bool err_leads_somewhere = _fileno(stderr) >= 0;
  if (out_leads_somewhere && err_leads_somewhere) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!out_leads_somewhere) (void)std::freopen("CONOUT$", "w", stdout);
  if (!err_leads_somewhere) (void)std::freopen("CONOUT$", "w", stderr);
}

// From the module's own file name; `argv0` is not needed.
std::filesystem::path executable_dir(const char*) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name).parent_path();
    }
    name.resize(name.size() * 2);
  }
}

// The zip holds data/ and shaders/ beside tessary.exe.
const char* const installed_data_dir = ".";

void keep_freed_memory() {}

}  // namespace platform
