// Pictures on the desktop (Linux and Windows): decoded by SFML's sf::Image.
#include "platform/picture.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Err.hpp>
#include <sstream>

namespace platform {

bool Picture::Load(const std::string& path, std::string& error) {
  // The library's own reason is caught rather than printed: it becomes part of `error`.
  std::ostringstream reason;
  std::streambuf* previous = sf::err().rdbuf(reason.rdbuf());
  sf::Image image;
  const bool decoded = image.loadFromFile(path) && image.getPixelsPtr() != nullptr;
  sf::err().rdbuf(previous);
  if (!decoded) {
    Clear();
    std::string why = reason.str();
    const size_t at = why.find("Reason: ");
    why = at == std::string::npos ? "not a picture" : why.substr(at + 8);
    while (!why.empty() && (why.back() == '\n' || why.back() == '.')) why.pop_back();
    error = path + ": cannot be decoded (" + why + ")";
    return false;
  }
  const unsigned width = image.getSize().x, height = image.getSize().y;
  const unsigned char* pixels = image.getPixelsPtr();
  Assign(width, height,
         std::vector<unsigned char>(pixels, pixels + static_cast<size_t>(width) * height * 4));
  return true;
}

}  // namespace platform
