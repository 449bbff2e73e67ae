#include "outputs.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

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

std::string still_name(int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "%06d.png", frame);
  return name;
}

namespace {
void append_bytes(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(context);
  const auto* begin = static_cast<const unsigned char*>(data);
  bytes->insert(bytes->end(), begin, begin + size);
}
}  // namespace

bool write_png(const std::string& path, int width, int height,
               const std::vector<unsigned char>& rgb, std::string& error) {
  std::vector<unsigned char> png;
  if (!stbi_write_png_to_func(append_bytes, &png, width, height, 3, rgb.data(), width * 3)) {
    error = "cannot encode " + path;
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  const int write_errno = errno;
  if (std::fclose(file) != 0 || !written) {
    error = "cannot write " + path + ": " + std::strerror(written ? errno : write_errno);
    std::remove(path.c_str());
    return false;
  }
  return true;
}
