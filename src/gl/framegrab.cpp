#include "gl/framegrab.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "gl/glcheck.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

namespace gl {

void read_rgb(int x, int y, int width, int height, std::vector<unsigned char>& rgb) {
  const size_t row = static_cast<size_t>(width) * 3;
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  // RGBA, the one format every GL (OpenGL ES too) reads, packed to RGB in place.
  rgb.resize(pixels * 4);
  glCheck(glPixelStorei(GL_PACK_ALIGNMENT, 4));
  glCheck(glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgb.data()));
  for (size_t i = 0; i < pixels; ++i) std::memmove(&rgb[3 * i], &rgb[4 * i], 3);
  rgb.resize(pixels * 3);
  // GL reads bottom row first; pictures are stored top row first.
  std::vector<unsigned char> swap(row);
  for (int r = 0; r < height / 2; ++r) {
    unsigned char* a = rgb.data() + row * static_cast<size_t>(r);
    unsigned char* b = rgb.data() + row * static_cast<size_t>(height - 1 - r);
    std::memcpy(swap.data(), a, row);
    std::memcpy(a, b, row);
    std::memcpy(b, swap.data(), row);
  }
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

}  // namespace gl
