#include "gl/framegrab.h"

#include <cstdio>
#include <cstring>

#include "fileio.h"
#include "gl/glcheck.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

namespace gl {

void read_rgb(int x, int y, int width, int height, std::vector<unsigned char>& rgb) {
  const size_t row = static_cast<size_t>(width) * 3;
  rgb.resize(row * static_cast<size_t>(height));
  glCheck(glPixelStorei(GL_PACK_ALIGNMENT, 1));
  glCheck(glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data()));
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
  std::string cause;
  if (!fileio::replace_file(path, std::string(png.begin(), png.end()), cause)) {
    error = "cannot write " + path + ": " + cause;
    return false;
  }
  return true;
}

}  // namespace gl
