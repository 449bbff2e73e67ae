#ifndef TESSARY_ICON_H
#define TESSARY_ICON_H

// The program's icon: the first invader, its black made transparent, scaled up by whole pixels
// and centred on a transparent square. The window's icon and the installed one (made at build
// time by the pictures tool) are this picture, by this one rule.
//
// How to use:
//   sf::Image icon;
//   std::string error;
//   if (make_icon(icon_picture, icon, error)) window.setIcon(...);
//   std::vector<unsigned char> rgba;                       // without SFML:
//   if (place_icon(width, height, rgb, 3, rgba, error)) ...  // icon_size x icon_size RGBA

#include <cstddef>
#include <string>
#include <vector>

namespace sf {
class Image;
}

// The icon's side in pixels; the whole-pixel enlargement of the picture, which keeps its
// blocks crisp at desktop icon sizes; the picture it is made from (relative to the data root).
constexpr int icon_size = 128;
constexpr int icon_scale = 3;
constexpr const char* icon_picture = "data/invader1.png";

// Places a `width` x `height` picture of `channels` (3 or 4) bytes a pixel, rows top first, into
// `rgba`, the icon_size x icon_size RGBA icon. False, with the reason, when it does not fit.
inline bool place_icon(int width, int height, const unsigned char* pixels, int channels,
                       std::vector<unsigned char>& rgba, std::string& error) {
  if (width < 1 || height < 1 || width * icon_scale > icon_size ||
      height * icon_scale > icon_size) {
    error = "a " + std::to_string(width) + "x" + std::to_string(height) + " picture scaled " +
            std::to_string(icon_scale) + " times does not fit the " + std::to_string(icon_size) +
            " pixel icon";
    return false;
  }
  rgba.assign(static_cast<size_t>(icon_size) * icon_size * 4, 0);
  const int left = (icon_size - width * icon_scale) / 2;
  const int top = (icon_size - height * icon_scale) / 2;
  for (int y = 0; y < height * icon_scale; ++y) {
    for (int x = 0; x < width * icon_scale; ++x) {
      const unsigned char* in =
          pixels + (static_cast<size_t>(y / icon_scale) * width + x / icon_scale) * channels;
      if (in[0] == 0 && in[1] == 0 && in[2] == 0) continue;  // black: transparent
      unsigned char* out = &rgba[(static_cast<size_t>(top + y) * icon_size + left + x) * 4];
      out[0] = in[0], out[1] = in[1], out[2] = in[2], out[3] = 255;
    }
  }
  return true;
}

// Makes the icon from the picture at `path`. False, with the reason, when the picture cannot be
// read or does not fit the square.
bool make_icon(const std::string& path, sf::Image& icon, std::string& error);

#endif
