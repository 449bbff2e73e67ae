// Pictures in the browser: decoded by stb_image, as SFML decodes them on the desktop.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "platform/picture.h"

#include <stb/stb_image.h>

namespace platform {

bool Picture::Load(const std::string& path, std::string& error) {
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (pixels == nullptr) {
    Clear();
    error = path + ": cannot be decoded (" + stbi_failure_reason() + ")";
    return false;
  }
  const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  Assign(static_cast<unsigned>(width), static_cast<unsigned>(height),
         std::vector<unsigned char>(pixels, pixels + size));
  stbi_image_free(pixels);
  return true;
}

}  // namespace platform
