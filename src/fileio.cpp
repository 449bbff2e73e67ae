#include "fileio.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fileio {

namespace {

// Links followed before a chain is taken as a loop (the kernel's own limit on Linux).
constexpr int max_link_hops = 40;

}  // namespace

bool read_file(const std::string& path, std::string& bytes, std::string& error) {
  bytes.clear();
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    error = errno != 0 ? std::strerror(errno) : "cannot be opened";
    return false;
  }
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = std::strerror(EISDIR);
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = errno != 0 ? std::strerror(errno) : "read error";
    bytes.clear();
    return false;
  }
  return true;
}

std::string final_target(const std::string& path) {
  std::filesystem::path at(path);
  for (int hop = 0; hop < max_link_hops; ++hop) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(at, ec)) break;
    const std::filesystem::path to = std::filesystem::read_symlink(at, ec);
    if (ec) break;
    at = to.is_absolute() ? to : (at.parent_path() / to).lexically_normal();
  }
  return at.string();
}

}  // namespace fileio
