#include "player/transport.h"

#include <algorithm>

#include "player/soundtrack.h"
#include "tunables.h"

namespace {
// The playback speeds the developer may choose between: slow enough to study a cut, never
// faster than the show.
constexpr float min_speed = 0.125f;
constexpr float max_speed = 1.0f;
}  // namespace

Transport::Transport(std::unique_ptr<Playhead> head, Soundtrack* music)
    : head_(std::move(head)), music_(music) {}

void Transport::Start(int step, float elapsed) {
  current_ = steps_.Clamp(step);
  head_->SeekTo(current_);
  pause_.SeekTo(elapsed, step_time(current_));
  if (music_ != nullptr) music_->Start(step_time(current_));
}

void Transport::Seek(int step, float elapsed) {
  current_ = steps_.Clamp(step);
  head_->SeekTo(current_);
  pause_.SeekTo(elapsed, step_time(current_));
  if (loop_part_ >= 0) loop_part_ = steps_.PartAt(current_);
  if (music_ != nullptr) music_->SeekTo(pause_.paused, step_time(current_));
}

void Transport::Rebuild(float elapsed) {
  head_->Restart();
  Seek(current_, elapsed);
}

bool Transport::TogglePause(float elapsed) {
  const bool paused = pause_.Toggle(elapsed);
  // Demo time stands at the step on screen, so the paused picture is that step.
  if (paused) pause_.SeekTo(elapsed, step_time(current_));
  if (music_ != nullptr) music_->SetPaused(paused);
  return paused;
}

bool Transport::ToggleLoop() {
  const bool looping = loop_part_ >= 0 || loop_range_;
  loop_part_ = !looping && !HasLoopRange() ? steps_.PartAt(current_) : -1;
  loop_range_ = !looping && HasLoopRange();
  return !looping;
}

bool Transport::SetLoopMark(bool end, int step) {
  int& mark = loop_marks_[end ? 1 : 0];
  if (mark == steps_.Clamp(step)) {
    loop_marks_[0] = loop_marks_[1] = -1;
    loop_range_ = false;
    return false;
  }
  mark = steps_.Clamp(step);
  return true;
}

int Transport::LoopFirst() const {
  if (!HasLoopRange()) return loop_marks_[0];
  return std::min(loop_marks_[0], loop_marks_[1]);
}

int Transport::LoopLast() const {
  if (!HasLoopRange()) return loop_marks_[1];
  return std::max(loop_marks_[0], loop_marks_[1]);
}

float Transport::SetSpeed(float speed, float elapsed) {
  speed = std::clamp(speed, min_speed, max_speed);
  pause_.SetSpeed(elapsed, speed);
  if (music_ != nullptr) music_->SetSpeed(speed);
  return speed;
}

void Transport::Frame(float elapsed, const FreeView& view, bool draw) {
  int target = step_at(pause_.DemoTime(elapsed));
  // Past the loop's last step: back to its first, through a seek (the renderer's frame there).
  if (loop_part_ >= 0 && target >= steps_.PartEnd(loop_part_)) {
    Seek(steps_.part_first_step[static_cast<size_t>(loop_part_)], elapsed);
    target = head_->NextStep();
  } else if (loop_range_ && target > LoopLast()) {
    Seek(LoopFirst(), elapsed);
    target = head_->NextStep();
  }
  if (!draw) {
    head_->CatchUp(target + 1, max_catch_up_steps);
  } else if (target >= head_->NextStep()) {
    head_->CatchUp(target, max_catch_up_steps);
    head_->DrawNext(view);
  } else {
    head_->Redraw(view);  // paused, or early for the next step
  }
  current_ = std::max(head_->LastStep(), 0);
}
