#include "datadir.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Where an installed executable finds its files: games/tessary (or bin/tessary) -> share/tessary.
const char* const installed_share = "../share/tessary";

// The folder of the running executable: /proc/self/exe, else argv0 when it holds a path; empty
// when neither tells.
fs::path executable_dir(const char* argv0) {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) {
    if (argv0 == nullptr || std::strchr(argv0, '/') == nullptr) return {};
    exe = fs::absolute(argv0, ec);
    if (ec) return {};
  }
  return exe.parent_path();
}

}  // namespace

bool holds_data_root(const std::string& dir) {
  std::error_code ec;
  return fs::is_directory(fs::path(dir) / "data", ec) &&
         fs::is_directory(fs::path(dir) / "shaders", ec);
}

bool find_data_root(const std::string& given_dir, const char* argv0, std::string& root,
                    std::string& error) {
  std::vector<std::pair<fs::path, const char*>> places;  // folder, what it is
  std::error_code ec;
  if (!given_dir.empty()) {
    places.emplace_back(fs::absolute(given_dir, ec), "--data");
  } else {
    places.emplace_back(fs::current_path(ec), "current directory");
    const fs::path exe_dir = executable_dir(argv0);
    if (!exe_dir.empty()) places.emplace_back(exe_dir / installed_share, "installed");
#ifdef TESSARY_SOURCE_DIR
    places.emplace_back(TESSARY_SOURCE_DIR, "source tree");
#endif
  }
  std::string looked;
  for (const auto& [place, what] : places) {
    const std::string dir = place.lexically_normal().string();
    if (holds_data_root(dir)) {
      root = dir;
      return true;
    }
    looked += (looked.empty() ? "" : ", ") + dir + " (" + what + ")";
  }
  error = "cannot find the show's data/ and shaders/ folders: looked in " + looked +
          (given_dir.empty() ? "; give --data DIR" : "");
  return false;
}

bool enter_data_root(const std::string& root, std::string& error) {
  if (chdir(root.c_str()) != 0) {
    error = "cannot enter " + root + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

std::string absolute_path(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return ec ? path : absolute.string();
}
