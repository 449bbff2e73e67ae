#ifndef TESSARY_DEMO_MOMENTS_H
#define TESSARY_DEMO_MOMENTS_H

// Steps and moments of the show: the fixed steps its state advances in, where each beat and
// part begins in steps, and the moments people type ("12.5", "224b", "12000f").
//
// How to use:
//   const ShowSteps steps;                     // runs the beat clock once, no GL
//   int step = 0;
//   if (!steps.Parse("224b", step, error)) ...   // one-line reason in error
//   show.Step(step_time(step), view);           // step n is the show at demo time n / show_fps

#include <string>
#include <vector>

#include "tunables.h"

// Demo time of step n, computed in float as the player's clock gives it.
inline float step_time(int step) {
  return static_cast<float>(step) / static_cast<float>(show_fps);
}

// The last step due at demo time `demo_time`: the largest n with step_time(n) <= demo_time
// (-1 before the first).
int step_at(float demo_time);

// Where each beat and part begins and where the show ends, in steps, as the show's own beat
// clock counts them (float rounding of the running beat time included). Frames of the
// offline renderer are these steps.
class ShowSteps {
 public:
  // Runs the beat clock over every step of the show (no GL needed).
  ShowSteps();

  // One past the last step of the show (the first step of the beat after the last).
  int end_step = 0;
  // first_step_of_beat[b]: the step on which the beat counter becomes b.
  std::vector<int> first_step_of_beat;
  // part_first_step[i]: the first step of part i of show_parts, in show order.
  std::vector<int> part_first_step;
  // The first step after the last part (the tail, where only the flash's colour fades).
  int parts_end_step = 0;

  // Turns a moment into a step: "12.5" is seconds (the first step at or after it), "224b" is
  // the first step of beat 224, "12000f" is step 12000. Returns false with a one-line reason
  // when the text is not a moment or lies past the end of the show.
  bool Parse(const std::string& text, int& step, std::string& error) const;
  // Time of the end of the show in seconds, for messages.
  float EndSeconds() const { return step_time(end_step - 1); }
  // Index in show_parts of the part playing at `step` (the last part after its end).
  int PartAt(int step) const;
  // The first step after part `part`: where a looped part goes back to its start.
  int PartEnd(int part) const;
  // The beat playing at `step` (-1 before the first step).
  int BeatAt(int step) const;

  // Where the seeks of the player's developer keys land, as steps of the show:
  // `step` kept within the show;
  int Clamp(int step) const;
  // the first step of the beat `beats` beats from the beat of `step`;
  int BeatFrom(int step, int beats) const;
  // the first step of the beat `bars` bars (4 beats each) from the beat of `step`;
  int BarFrom(int step, int bars) const { return BeatFrom(step, 4 * bars); }
  // the first step of the next part (the tail after the last);
  int NextPartStart(int step) const;
  // the first step of the part playing, or of the one before when `step` is within a second
  // of its start (so that pressing again goes on back).
  int PartStartBefore(int step) const;
};

#endif
