#include "player/actions.h"

#include <cstdarg>
#include <cstdio>

#include "demo/demo.h"
#include "demo/moments.h"
#include "player/flags.h"
#include "player/freecamera.h"
#include "player/soundtrack.h"
#include "player/transport.h"

Controls::Controls(Transport& transport, Soundtrack& music, FreeCamera& free, Host& host)
    : transport_(transport), music_(music), free_(free), host_(host) {}

void Controls::Say(const char* format, ...) const {
  char line[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  host_.Say(line);
}

void Controls::SayWhere() const {
  const Transport& t = transport_;
  Say("at frame %d (%.3f s, beat %d, %s)", t.Current(), step_time(t.Current()), t.Beat(),
      part_name_at(t.Beat()));
}

bool Controls::Seek(Action action, float elapsed) {
  Transport& t = transport_;
  const ShowSteps& steps = t.Steps();
  switch (action) {
    case Action::NextPart:
      t.Seek(steps.NextPartStart(t.Current()), elapsed);
      break;
    case Action::PartStart:
      t.Seek(steps.PartStartBefore(t.Current()), elapsed);
      break;
    case Action::BarForward:
    case Action::BarBack:
      t.Seek(steps.BarFrom(t.Current(), action == Action::BarForward ? 1 : -1), elapsed);
      break;
    case Action::Home:
      t.Seek(0, elapsed);
      break;
    case Action::StepForward:
    case Action::StepBack:
    case Action::BeatForward:
    case Action::BeatBack:
      if (!t.Paused()) {
        Say("frame and beat steps move a paused show: press p first");
        return true;
      }
      if (action == Action::StepForward || action == Action::StepBack) {
        t.Seek(t.Current() + (action == Action::StepForward ? 1 : -1), elapsed);
      } else {
        t.Seek(steps.BeatFrom(t.Current(), action == Action::BeatForward ? 1 : -1), elapsed);
      }
      break;
    default:
      return false;
  }
  SayWhere();
  return true;
}

void Controls::ToggleCamera() {
  free_.on = !free_.on;
  if (!mushroom_mode) return;
  if (free_.on) {
    // The shot on screen: the keyframed camera with the tracks' components in place.
    Playhead& head = transport_.Head();
    free_.StartFrom(head.Camera());
    if (head.Override() != nullptr) {
      head.Override()->Apply(head.Camera().time, free_.position, free_.rotation);
    }
    free_.rotation.z = 0;
  }
  Say("camera: %s", free_.on ? "free" : "keyframed");
}

void Controls::SetLoopMark(bool end) {
  Transport& t = transport_;
  if (!t.SetLoopMark(end, t.Current())) {
    Say("loop range cleared");
    return;
  }
  Say("loop %s at frame %d (%.3f s, beat %d)%s", end ? "end" : "start", t.Current(),
      step_time(t.Current()), t.Beat(),
      t.HasLoopRange() ? "" : (end ? ": { marks its start" : ": } marks its end"));
}

void Controls::Act(Action action, float elapsed) {
  if (free_.Adjust(action) || Seek(action, elapsed)) return;
  Transport& t = transport_;
  switch (action) {
    case Action::ToggleCamera:
      ToggleCamera();
      break;
    case Action::Pause:
      if (t.TogglePause(elapsed)) {
        Say("paused at frame %d (%.3f s, beat %d)", t.Current(), step_time(t.Current()), t.Beat());
      } else {
        Say("resumed");
      }
      break;
    case Action::HalfSpeed:
    case Action::DoubleSpeed:
      Say("speed %g",
          t.SetSpeed(t.Speed() * (action == Action::DoubleSpeed ? 2.0f : 0.5f), elapsed));
      break;
    case Action::Mute:
      Say("music %s", music_.ToggleMute() ? "muted" : "on");
      break;
    case Action::Loop:
      if (!t.ToggleLoop()) {
        Say("loop off");
      } else if (t.LoopingRange()) {
        Say("looping frames %d to %d", t.LoopFirst(), t.LoopLast());
      } else {
        Say("looping %s", show_parts[t.LoopPart()].name);
      }
      break;
    case Action::LoopStart:
    case Action::LoopEnd:
      SetLoopMark(action == Action::LoopEnd);
      break;
    case Action::Overlay:
      overlay_on_ = !overlay_on_;
      Say("overlay %s", overlay_on_ ? "on" : "off");
      break;
    default:
      host_.Own(action, elapsed);
      break;
  }
}
