#ifndef TESSARY_ICON_H
#define TESSARY_ICON_H

// The program's icon: the first invader, its black made transparent, scaled up by whole pixels
// and centred on a transparent square. The window's icon and the installed one are this picture.
//
// How to use:
//   sf::Image icon;
//   std::string error;
//   if (make_icon("data/invader1.png", icon, error)) window.setIcon(...);

#include <string>

namespace sf {
class Image;
}

// The icon's side in pixels, and the picture it is made from (relative to the data root).
constexpr unsigned int icon_size = 128;
constexpr const char* icon_picture = "data/invader1.png";

// Makes the icon from the picture at `path`. False, with the reason, when the picture cannot be
// read or does not fit the square.
bool make_icon(const std::string& path, sf::Image& icon, std::string& error);

#endif
