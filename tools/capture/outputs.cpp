#include "outputs.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

bool check_output_dir(const std::string& dir, std::string& error) {
  std::error_code ec;
  fs::path path = dir.empty() ? fs::path(".") : fs::path(dir);
  // Walk up to the nearest part of the path that exists.
  fs::path existing = fs::absolute(path, ec);
  while (!fs::exists(existing, ec) && existing.has_parent_path() &&
         existing.parent_path() != existing) {
    existing = existing.parent_path();
  }
  if (!fs::is_directory(existing, ec)) {
    error = "cannot write into " + dir + ": " + existing.string() + " is not a directory";
    return false;
  }
  if (access(existing.c_str(), W_OK | X_OK) != 0) {
    error = "cannot write into " + dir + ": " + existing.string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool make_output_dir(const std::string& dir, std::string& error) {
  std::error_code ec;
  if (dir.empty() || fs::is_directory(dir, ec)) return true;
  fs::create_directories(dir, ec);
  if (ec) {
    error = "cannot create " + dir + ": " + ec.message();
    return false;
  }
  return true;
}
