#include "player/keys.h"

#include <cstdio>
#include <cstring>

namespace {

// clang-format off
const KeyBinding bindings[] = {
    {"Escape", false, Action::Quit, "ends the show"},
    {"c", false, Action::ToggleCamera,
     "switches the keyframed camera off and on; with -magic the free camera starts from the shot on screen"},
    {"r", false, Action::ResetRotation, "resets the free camera's rotation"},
    {"t", false, Action::Faster, "makes the free camera faster"},
    {"g", false, Action::Slower, "makes the free camera slower"},
    {"z", false, Action::MoveBack, "with -magic and the free camera: moves it back"},
    {"a", false, Action::MoveForward, "with -magic and the free camera: moves it forward"},
    {"Up", false, Action::MoveUp, "with -magic and the free camera: moves it up"},
    {"Down", false, Action::MoveDown, "with -magic and the free camera: moves it down"},
    {"Right", false, Action::MoveRight, "with -magic and the free camera: moves it right"},
    {"Left", false, Action::MoveLeft, "with -magic and the free camera: moves it left"},
    {"s", false, Action::YawLeft, "with -magic and the free camera: turns it (yaw)"},
    {"f", false, Action::YawRight, "with -magic and the free camera: turns it back (yaw)"},
    {"e", false, Action::PitchUp, "with -magic and the free camera: tilts it (pitch)"},
    {"d", false, Action::PitchDown, "with -magic and the free camera: tilts it back (pitch)"},
    {"p", true, Action::Pause, "pauses and resumes picture and music together"},
    {"PageDown", true, Action::NextPart, "the first frame of the next part"},
    {"PageUp", true, Action::PartStart,
     "the first frame of this part (of the previous one within a second of this one's start)"},
    {"]", true, Action::BarForward, "one bar (4 beats) forward, to the first frame of that beat"},
    {"[", true, Action::BarBack, "one bar back, to the first frame of that beat"},
    {"Home", true, Action::Home, "the show's start"},
    {".", true, Action::StepForward, "paused: one frame (1/120 s) forward"},
    {",", true, Action::StepBack, "paused: one frame back"},
    {"'", true, Action::BeatForward, "paused: to the first frame of the next beat"},
    {";", true, Action::BeatBack, "paused: to the first frame of the beat before"},
    {"-", true, Action::HalfSpeed, "halves the playback speed (down to 1/8); the music follows, lower"},
    {"=", true, Action::DoubleSpeed, "doubles the playback speed (up to 1)"},
    {"m", true, Action::Mute, "mutes and unmutes the music"},
    {"l", true, Action::Loop,
     "loops the range { and } marked, else the part playing (at its end, back to its first frame); again to stop"},
    {"{", true, Action::LoopStart, "marks the frame on screen as the loop's start (again on that frame: clears the range)"},
    {"}", true, Action::LoopEnd, "marks the frame on screen as the loop's end (shown, then back to the start)"},
    {"F1", true, Action::Overlay, "shows and hides the overlay"},
    {"F12", true, Action::Shot,
     "saves the frame on screen, without the overlay, as 012000.png (its frame number) and prints its path"},
    {"F5", true, Action::Reload, "reloads the camera file, the shaders and the pictures"},
    {"k", true, Action::WriteKey, "writes the free camera's pose into the camera file at the frame on screen"},
    {"K", true, Action::WriteSmoothKey,
     "as k, but where the track rests there: a smooth move from its last key to the pose on this frame"},
    {"u", true, Action::Undo,
     "undoes the last k or K (again: the one before), unless the camera file was edited by hand since"},
};
// clang-format on

}  // namespace

const KeyBinding* find_key(const char* name, bool magic, const char* plain) {
  for (const char* look : {name, plain}) {
    if (look == nullptr) continue;
    for (const KeyBinding& binding : bindings) {
      if (std::strcmp(binding.name, look) == 0)
        return (binding.developer && !magic) ? nullptr : &binding;
    }
  }
  return nullptr;
}

const KeyBinding* key_table(int& count) {
  count = static_cast<int>(sizeof bindings / sizeof bindings[0]);
  return bindings;
}

std::string key_help(bool markdown) {
  std::string text;
  char line[256];
  for (const KeyBinding& binding : bindings) {
    const char* magic = binding.developer ? "with -magic: " : "";
    if (markdown) {
      std::snprintf(line, sizeof line, "| %s | %s%s |\n", binding.name, magic, binding.help);
    } else {
      std::snprintf(line, sizeof line, "  %-9s %s%s\n", binding.name, magic, binding.help);
    }
    text += line;
  }
  return text;
}
