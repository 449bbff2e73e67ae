#ifndef TESSARY_PLATFORM_PLATFORM_H
#define TESSARY_PLATFORM_PLATFORM_H

#include <filesystem>
#include <string>

// What the player does differently on each operating system, in one place (with desktop.h, what
// it asks of the desktop). CMake builds the files of platform/linux/ (X11, glibc), of
// platform/windows/ (Win32, mingw-w64) or of platform/web/ (the browser, Emscripten).
namespace platform {

// Connects standard output and error to the console the program was started from, when they
// lead nowhere (a Windows program without a console of its own); elsewhere nothing.
void attach_console();

// Whether the show can open a window here; `reason` says why not (on X11: DISPLAY unset, or the
// display refused). The X connection stays open until the program ends.
bool display_available(std::string& reason);

// Whether OpenAL can open its default device, with the sound libraries' own complaints about
// failing kept off standard error.
bool audio_device_available();

// The folder of the running executable (`argv0` is the fallback where the system does not
// tell); empty when nothing tells.
std::filesystem::path executable_dir(const char* argv0);

// Where an installed program's data root lies, relative to its executable's folder: the
// share folder beside bin/ on Linux, the executable's own folder in the Windows zip.
extern const char* const installed_data_dir;

// Tunes the allocator for the software rasteriser's per-frame allocations where that helps
// (glibc); elsewhere nothing.
void keep_freed_memory();

}  // namespace platform

#endif
