#ifndef TESSARY_DEMO_MOMENTS_H
#define TESSARY_DEMO_MOMENTS_H

// The show's time in every unit it is counted in, in one place: steps (the fixed steps its
// state advances in), beats and where each beat and part begins, the rows of sync tracks,
// moments and lengths within a part (beats plus seconds, as the camera file writes them), and
// the moments people type ("12.5", "224b", "12000f").
//
// How to use:
//   const ShowSteps steps;                     // runs the beat clock once, no GL
//   int step = 0;
//   if (!steps.Parse("224b", step, error)) ...   // one-line reason in error
//   show.Step(step_time(step), view);           // step n is the show at demo time n / show_fps
//   double row = step_row(step);                // a sync track's row on that step
//   script::Beats moment;                       // that step as "beat and seconds" of a part
//   part_moment_at(part, step_time(step), moment);

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

namespace script {

// A moment or a length in a part: whole beats plus seconds (either may be negative). Times are
// formed in double from the single-precision seconds per beat and stored as float.
struct Beats {
  int beats = 0;
  float seconds = 0.0f;
};

// The absolute time of `moment` in a part that starts at `start_time`, and the seconds of
// `length`: formed in double, stored as float (the camera's keys hold exactly these).
float part_time(float start_time, float seconds_per_beat, const Beats& moment);
float part_seconds(float seconds_per_beat, const Beats& length);

}  // namespace script

// The demo time at which part `part` (index in show_parts; show_part_count: the end of the last)
// begins, as init_demo computes it.
float part_start_time(int part);
// Demo time `t` as a moment of part `part`: its beat there and the seconds on from it, the
// largest that gives back exactly `t` or just before it in the camera's float arithmetic.
// False when no such moment lies within a second of the beat.
bool part_moment_at(int part, float t, script::Beats& moment);
// A length of `beats` beats and some seconds that, started at `from`, ends at `end` or just
// before it in the camera's float arithmetic. False when none does.
bool length_ending_at(float from, int beats, float end, script::Beats& length);

// The fractional row of a demo time, and of a step of the show (at its own step_time), so the
// player and the renderer evaluate tracks at exactly the same rows. Row 8b is where the show's
// beat clock begins beat b; between beats rows run evenly.
double row_at_time(float demo_time);
double step_row(int step);
// The first step that lies at or after `row` (0 for rows before the start; rows far beyond
// the show's end give a step beyond it, for the caller to clamp).
int first_step_of_row(int row);

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
