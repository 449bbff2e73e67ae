// Key names for SFML's key codes (the desktop players on Linux and Windows).
#include "platform/keyname.h"

#include <cstddef>

namespace platform {

namespace {
// Names of the runs SFML numbers in order: letters, digits, function keys.
constexpr const char* letters[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
                                   "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z"};
constexpr const char* capitals[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                    "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                    "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr const char* digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr const char* function_keys[] = {"F1", "F2",  "F3",  "F4",  "F5",  "F6",  "F7", "F8",
                                         "F9", "F10", "F11", "F12", "F13", "F14", "F15"};

template <std::size_t N>
const char* in_run(sf::Keyboard::Key key, sf::Keyboard::Key first, const char* const (&names)[N]) {
  const int i = static_cast<int>(key) - static_cast<int>(first);
  return i >= 0 && i < static_cast<int>(N) ? names[i] : nullptr;
}
}  // namespace

const char* key_name(sf::Keyboard::Key key, bool shift) {
  using K = sf::Keyboard;
  if (const char* name = in_run(key, K::A, shift ? capitals : letters)) return name;
  if (shift && key == K::LBracket) return "{";
  if (shift && key == K::RBracket) return "}";
  if (const char* name = in_run(key, K::Num0, digits)) return name;
  if (const char* name = in_run(key, K::F1, function_keys)) return name;
  switch (key) {
    case K::Escape:
      return "Escape";
    case K::Up:
      return "Up";
    case K::Down:
      return "Down";
    case K::Left:
      return "Left";
    case K::Right:
      return "Right";
    case K::PageUp:
      return "PageUp";
    case K::PageDown:
      return "PageDown";
    case K::Home:
      return "Home";
    case K::End:
      return "End";
    case K::LBracket:
      return "[";
    case K::RBracket:
      return "]";
    case K::Period:
      return ".";
    case K::Comma:
      return ",";
    case K::Quote:
      return "'";
    case K::SemiColon:
      return ";";
    case K::Dash:
      return "-";
    case K::Equal:
      return "=";
    case K::Slash:
      return "/";
    case K::BackSlash:
      return "\\";
    case K::Space:
      return "Space";
    case K::Return:
      return "Enter";
    case K::Tab:
      return "Tab";
    default:
      return nullptr;
  }
}

}  // namespace platform
