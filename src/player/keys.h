#ifndef TESSARY_PLAYER_KEYS_H
#define TESSARY_PLAYER_KEYS_H

// The player's keys: one table maps every key to an action, says whether it needs the
// developer controls (-magic), and carries the text --help and the README's key table show.
//
// Keys are known by their names, as the help writes them ("Escape", "c", "PageDown", "]"); each
// platform names the keys its events carry (platform/keyname.h).
//
// How to use:
//   const KeyBinding* binding = find_key(platform::key_name(event.key.code, event.key.shift),
//                                        mushroom_mode, platform::key_name(event.key.code));
//   if (binding != nullptr) act(binding->action);
//   std::string help = key_help();   // the table as --help prints it

#include <string>

enum class Action {
  // Held: move or turn the free camera every 1/120 s while down. In the order they are applied.
  MoveBack,     // z
  MoveForward,  // a
  MoveUp,
  MoveDown,
  MoveRight,
  MoveLeft,
  YawLeft,    // s
  YawRight,   // f
  PitchUp,    // e
  PitchDown,  // d
  // Pressed.
  Quit,
  ToggleCamera,
  ResetRotation,
  Faster,
  Slower,
  Pause,
  NextPart,
  PartStart,
  BarForward,
  BarBack,
  Home,
  Loop,
  Overlay,
  Shot,
  Reload,
  WriteKey,
  StepForward,
  StepBack,
  BeatForward,
  BeatBack,
  HalfSpeed,
  DoubleSpeed,
  Mute,
  LoopStart,
  LoopEnd,
  WriteSmoothKey,
  Undo,
};

// Held actions come first in Action; their count is the free camera's held-key count.
constexpr int held_action_count = static_cast<int>(Action::PitchDown) + 1;
inline bool is_held(Action action) {
  return static_cast<int>(action) < held_action_count;
}

struct KeyBinding {
  const char* name;  // the key's name, as the help writes it
  bool developer;    // acts only with -magic
  Action action;
  const char* help;
};

// The binding of the key named `name` in this mode, or null (an unbound key or null, or a
// developer key without -magic). A key typed with Shift is named as typed ("K", "{"); where
// that name has no binding of its own, `plain`, the key's name without Shift, is looked up.
const KeyBinding* find_key(const char* name, bool magic, const char* plain = nullptr);

// Every binding, in the order the help lists them.
const KeyBinding* key_table(int& count);

// The key table as plain text for --help, one key a line; `markdown` gives the README's table
// rows instead.
std::string key_help(bool markdown);

#endif
