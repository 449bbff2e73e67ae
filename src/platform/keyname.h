#ifndef TESSARY_PLATFORM_KEYNAME_H
#define TESSARY_PLATFORM_KEYNAME_H

// The names the player's key table knows keys by (player/keys.h): letters and digits as
// typed ("c", "7"), "F1".."F15", the arrows "Up", "Down", "Left", "Right", and the keys' own
// names otherwise ("Escape", "PageDown", "Home", "]", ";", "-"). Each windowing layer turns its
// own key codes into these.
//
// How to use (desktop):
//   const KeyBinding* binding = find_key(platform::key_name(event.key.code), mushroom_mode);

#include <SFML/Window/Keyboard.hpp>

namespace platform {

// The name of an SFML key code, or null for a key that has none here.
const char* key_name(sf::Keyboard::Key key);

}  // namespace platform

#endif
