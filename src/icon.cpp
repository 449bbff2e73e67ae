#include "icon.h"

#include <SFML/Graphics/Image.hpp>

bool make_icon(const std::string& path, sf::Image& icon, std::string& error) {
  sf::Image picture;
  if (!picture.loadFromFile(path)) {
    error = "cannot read the icon's picture " + path;
    return false;
  }
  std::vector<unsigned char> rgba;
  const sf::Vector2u size = picture.getSize();
  if (!place_icon(static_cast<int>(size.x), static_cast<int>(size.y), picture.getPixelsPtr(), 4,
                  rgba, error)) {
    error = path + ": " + error;
    return false;
  }
  icon.create(icon_size, icon_size, rgba.data());
  return true;
}
