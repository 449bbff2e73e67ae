#include "player/keys.h"

#include <cstdio>

namespace {

using K = sf::Keyboard;

// clang-format off
const KeyBinding bindings[] = {
    {K::Escape, "Escape", false, Action::Quit, "ends the show"},
    {K::C, "c", false, Action::ToggleCamera,
     "switches the keyframed camera off and on; with -magic the free camera starts from the shot on screen"},
    {K::R, "r", false, Action::ResetRotation, "resets the free camera's rotation"},
    {K::T, "t", false, Action::Faster, "makes the free camera faster"},
    {K::G, "g", false, Action::Slower, "makes the free camera slower"},
    {K::Z, "z", false, Action::MoveBack, "with -magic and the free camera: moves it back"},
    {K::A, "a", false, Action::MoveForward, "with -magic and the free camera: moves it forward"},
    {K::Up, "Up", false, Action::MoveUp, "with -magic and the free camera: moves it up"},
    {K::Down, "Down", false, Action::MoveDown, "with -magic and the free camera: moves it down"},
    {K::Right, "Right", false, Action::MoveRight, "with -magic and the free camera: moves it right"},
    {K::Left, "Left", false, Action::MoveLeft, "with -magic and the free camera: moves it left"},
    {K::S, "s", false, Action::YawLeft, "with -magic and the free camera: turns it (yaw)"},
    {K::F, "f", false, Action::YawRight, "with -magic and the free camera: turns it back (yaw)"},
    {K::E, "e", false, Action::PitchUp, "with -magic and the free camera: tilts it (pitch)"},
    {K::D, "d", false, Action::PitchDown, "with -magic and the free camera: tilts it back (pitch)"},
    {K::P, "p", true, Action::Pause, "pauses and resumes picture and music together"},
    {K::PageDown, "PageDown", true, Action::NextPart, "the first frame of the next part"},
    {K::PageUp, "PageUp", true, Action::PartStart,
     "the first frame of this part (of the previous one within a second of this one's start)"},
    {K::RBracket, "]", true, Action::BarForward, "one bar (4 beats) forward, to the first frame of that beat"},
    {K::LBracket, "[", true, Action::BarBack, "one bar back, to the first frame of that beat"},
    {K::Home, "Home", true, Action::Home, "the show's start"},
    {K::Period, ".", true, Action::StepForward, "paused: one frame (1/120 s) forward"},
    {K::Comma, ",", true, Action::StepBack, "paused: one frame back"},
    {K::Quote, "'", true, Action::BeatForward, "paused: to the first frame of the next beat"},
    {K::SemiColon, ";", true, Action::BeatBack, "paused: to the first frame of the beat before"},
    {K::Dash, "-", true, Action::HalfSpeed, "halves the playback speed (down to 1/8); the music follows, lower"},
    {K::Equal, "=", true, Action::DoubleSpeed, "doubles the playback speed (up to 1)"},
    {K::M, "m", true, Action::Mute, "mutes and unmutes the music"},
    {K::L, "l", true, Action::Loop,
     "loops the range { and } marked, else the part playing (at its end, back to its first frame); again to stop"},
    {K::LBracket, "{", true, Action::LoopStart, "marks the frame on screen as the loop's start (again on that frame: clears the range)", true},
    {K::RBracket, "}", true, Action::LoopEnd, "marks the frame on screen as the loop's end (shown, then back to the start)", true},
    {K::F1, "F1", true, Action::Overlay, "shows and hides the overlay"},
    {K::F12, "F12", true, Action::Shot,
     "saves the frame on screen, without the overlay, as 012000.png (its frame number) and prints its path"},
    {K::F5, "F5", true, Action::Reload, "reloads the camera file, the shaders and the pictures"},
    {K::K, "k", true, Action::WriteKey, "writes the free camera's pose into the camera file at the frame on screen"},
    {K::K, "K", true, Action::WriteSmoothKey,
     "as k, but where the track rests there: a smooth move from its last key to the pose on this frame", true},
    {K::U, "u", true, Action::Undo,
     "undoes the last k or K (again: the one before), unless the camera file was edited by hand since"},
};
// clang-format on

}  // namespace

const KeyBinding* find_key(sf::Keyboard::Key key, bool magic, bool shift) {
  const KeyBinding* found = nullptr;
  for (const KeyBinding& binding : bindings) {
    if (binding.key != key || (binding.shift && !shift) || (binding.developer && !magic)) continue;
    if (found == nullptr || binding.shift) found = &binding;
  }
  return found;
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
