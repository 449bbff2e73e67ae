#ifndef TESSARY_PLATFORM_KEYNAME_H
#define TESSARY_PLATFORM_KEYNAME_H

// The names the player's key table knows keys by (player/keys.h): letters and digits as
// typed ("c", "7"), "F1".."F15", the arrows "Up", "Down", "Left", "Right", and the keys' own
// names otherwise ("Escape", "PageDown", "Home", "]", ";", "-"). Each windowing layer turns its
// own key codes into these.
//
// How to use (desktop):
//   const KeyBinding* binding = find_key(platform::key_name(event.key.code, event.key.shift),
//                                        mushroom_mode, platform::key_name(event.key.code));

#include <SFML/Window/Keyboard.hpp>

namespace platform {

// The name of an SFML key code, or null for a key that has none here. With `shift`, the name
// of what the key types with Shift on a US layout where the table can use it (letters in
// capitals, "{" and "}"); other keys keep their plain name.
const char* key_name(sf::Keyboard::Key key, bool shift = false);

}  // namespace platform

#endif
