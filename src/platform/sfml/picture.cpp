// Pictures on the desktop (Linux and Windows): decoded by SFML's sf::Image.
#include "platform/picture.h"

#include <SFML/Graphics/Image.hpp>

namespace platform {

bool Picture::Load(const std::string& path, std::string& error) {
  sf::Image image;
  if (!image.loadFromFile(path) || image.getPixelsPtr() == nullptr) {
    Clear();
    error = "cannot read the picture " + path;
    return false;
  }
  const unsigned width = image.getSize().x, height = image.getSize().y;
  const unsigned char* pixels = image.getPixelsPtr();
  Assign(width, height,
         std::vector<unsigned char>(pixels, pixels + static_cast<size_t>(width) * height * 4));
  return true;
}

}  // namespace platform
