#ifndef TESSARY_PLAYER_TRANSPORT_H
#define TESSARY_PLAYER_TRANSPORT_H

// The player's transport: which step of the show is on screen, and the pause, seeks, loop and
// speed that move it, with the music following. Demo time comes from the clock; every step
// due by it runs (a bounded number a frame) and the newest is drawn.
//
// How to use (with a current GL context):
//   Transport transport(std::make_unique<Playhead>(build, program), &music);
//   transport.Start(start_step, elapsed);
//   transport.Seek(transport.Steps().NextPartStart(transport.Current()), elapsed);
//   transport.Frame(elapsed, view);    // each frame: runs the due steps, draws the newest
//   if (transport.Over()) ...          // the show has ended (never while a part loops)

#include <memory>

#include "demo/moments.h"
#include "demo/playhead.h"
#include "demo/show.h"

class Soundtrack;

class Transport {
 public:
  // `music` may be null (tests, no device).
  Transport(std::unique_ptr<Playhead> head, Soundtrack* music);

  // Starts the show at `step`, at clock time `elapsed`.
  void Start(int step, float elapsed);
  // Moves the show to `step` (kept within the show): its state is stepped there, rebuilt from
  // the start when it lies behind; demo time and music follow, the pause stays as it is.
  void Seek(int step, float elapsed);
  // Builds the show afresh (after its files changed) and lands on the step it showed.
  void Rebuild(float elapsed);
  // Pauses on the step shown, or resumes; returns true when now paused.
  bool TogglePause(float elapsed);
  // Loops the part playing, or stops looping; returns true when now looping.
  bool ToggleLoop();
  // Sets the playback speed (demo seconds a clock second), clamped to [1/8, 1]; returns it.
  float SetSpeed(float speed, float elapsed);

  // Runs this frame: every step the clock has made due (at most max_catch_up_steps, so a stall
  // is caught up over a few frames) and draws the newest; paused or early, draws the last
  // step again. A looped part goes back to its start at its end. Without `draw` the steps
  // run and nothing is drawn (the window cannot be seen).
  void Frame(float elapsed, const FreeView& view, bool draw = true);

  // The step the user is on: the one on screen, or where the last seek landed, so that keys
  // that arrive together act one after the other.
  int Current() const { return current_; }
  int Beat() const { return steps_.BeatAt(current_); }
  bool Paused() const { return pause_.paused; }
  int LoopPart() const { return loop_part_; }
  float Speed() const { return static_cast<float>(pause_.speed); }
  // The show has run past its end while playing (never while a part loops; a paused show
  // holds its last frame, from a seek past the end too).
  bool Over() const { return loop_part_ < 0 && !pause_.paused && head_->Over(); }
  const ShowSteps& Steps() const { return steps_; }
  Playhead& Head() { return *head_; }

 private:
  ShowSteps steps_;
  std::unique_ptr<Playhead> head_;
  Soundtrack* music_;
  PauseClock pause_;
  int loop_part_ = -1;  // the part played in a loop, or -1
  int current_ = 0;
};

#endif
