#include "icon.h"

#include <SFML/Graphics/Image.hpp>

namespace {
// Whole-pixel enlargement of the picture: its blocks stay crisp at desktop icon sizes.
constexpr unsigned int icon_scale = 3;
}  // namespace

bool make_icon(const std::string& path, sf::Image& icon, std::string& error) {
  sf::Image picture;
  if (!picture.loadFromFile(path)) {
    error = "cannot read the icon's picture " + path;
    return false;
  }
  const sf::Vector2u size = picture.getSize();
  if (size.x == 0 || size.y == 0 || size.x * icon_scale > icon_size ||
      size.y * icon_scale > icon_size) {
    error = "the icon's picture " + path + " does not fit a " + std::to_string(icon_size) +
            " pixel square";
    return false;
  }
  icon.create(icon_size, icon_size, sf::Color::Transparent);
  const unsigned int left = (icon_size - size.x * icon_scale) / 2;
  const unsigned int top = (icon_size - size.y * icon_scale) / 2;
  for (unsigned int y = 0; y < size.y * icon_scale; ++y) {
    for (unsigned int x = 0; x < size.x * icon_scale; ++x) {
      sf::Color c = picture.getPixel(x / icon_scale, y / icon_scale);
      if (c.r == 0 && c.g == 0 && c.b == 0) c = sf::Color::Transparent;
      icon.setPixel(left + x, top + y, c);
    }
  }
  return true;
}
