#include "demo/moments.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "demo/demo.h"
#include "demo/show.h"

int step_at(float demo_time) {
  if (demo_time < 0) return -1;
  int n = static_cast<int>(std::floor(static_cast<double>(demo_time) * show_fps));
  while (step_time(n + 1) <= demo_time) ++n;
  while (n >= 0 && step_time(n) > demo_time) --n;
  return n;
}

ShowSteps::ShowSteps() {
  BeatClock clock(show_seconds_per_beat);
  for (int step = 0;; ++step) {
    clock.Advance(step_time(step));
    if (clock.beat_changed) {
      first_step_of_beat.push_back(step);
      clock.beat_changed = false;
    }
    if (clock.beat > show_last_beat) {
      end_step = step + 1;
      break;
    }
  }
  int beat = 0;
  for (const ShowPart& part : show_parts) {
    part_first_step.push_back(first_step_of_beat[static_cast<size_t>(beat)]);
    beat += part.length;
  }
  parts_end_step = first_step_of_beat[static_cast<size_t>(beat)];
}

int ShowSteps::PartEnd(int part) const {
  const size_t next = static_cast<size_t>(part) + 1;
  return next < part_first_step.size() ? part_first_step[next] : parts_end_step;
}

int ShowSteps::Clamp(int step) const {
  return std::clamp(step, 0, end_step - 1);
}

int ShowSteps::BeatAt(int step) const {
  const auto after = std::upper_bound(first_step_of_beat.begin(), first_step_of_beat.end(), step);
  return static_cast<int>(after - first_step_of_beat.begin()) - 1;
}

int ShowSteps::BeatFrom(int step, int beats) const {
  const int last = static_cast<int>(first_step_of_beat.size()) - 1;
  const int beat = std::clamp(BeatAt(step) + beats, 0, last);
  return Clamp(first_step_of_beat[static_cast<size_t>(beat)]);
}

int ShowSteps::NextPartStart(int step) const {
  return Clamp(std::max(step, PartEnd(PartAt(step))));
}

int ShowSteps::PartStartBefore(int step) const {
  int part = PartAt(step);
  if (step - part_first_step[static_cast<size_t>(part)] < show_fps && part > 0) --part;
  return part_first_step[static_cast<size_t>(part)];
}

int ShowSteps::PartAt(int step) const {
  const auto after = std::upper_bound(part_first_step.begin(), part_first_step.end(), step);
  return std::max(0, static_cast<int>(after - part_first_step.begin()) - 1);
}

namespace {

// Parses the whole of `text` as a plain decimal number: digits with at most one point, as in 12
// or 12.5 (no sign, exponent, hexadecimal, inf or nan).
bool parse_number(const std::string& text, double& value) {
  int digits = 0, points = 0;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      ++digits;
    } else if (c != '.' || ++points > 1) {
      return false;
    }
  }
  if (digits == 0) return false;
  errno = 0;
  value = std::strtod(text.c_str(), nullptr);
  return errno == 0 && std::isfinite(value);
}

// Parses `text` less its one-letter suffix as a whole number.
bool parse_whole(const std::string& text, double& value) {
  return parse_number(text.substr(0, text.size() - 1), value) && value == std::floor(value);
}

}  // namespace

bool ShowSteps::Parse(const std::string& text, int& step, std::string& error) const {
  char end_text[80];
  std::snprintf(end_text, sizeof end_text, "the show ends at %.3f s, beat %d, frame %d",
                EndSeconds(), static_cast<int>(first_step_of_beat.size()) - 1, end_step - 1);
  double value = 0;
  if (!text.empty() && text.back() == 'b') {
    if (!parse_whole(text, value)) {
      error = "'" + text + "' is not a beat (a whole number followed by b, like 224b)";
      return false;
    }
    if (value >= static_cast<double>(first_step_of_beat.size())) {
      error = "beat " + text.substr(0, text.size() - 1) + " is past the end of the show (" +
              end_text + ")";
      return false;
    }
    step = first_step_of_beat[static_cast<size_t>(value)];
    return true;
  }
  if (!text.empty() && text.back() == 'f') {
    if (!parse_whole(text, value)) {
      error = "'" + text + "' is not a frame (a whole number followed by f, like 12000f)";
      return false;
    }
    if (value >= static_cast<double>(end_step)) {
      error = "frame " + text.substr(0, text.size() - 1) + " is past the end of the show (" +
              end_text + ")";
      return false;
    }
    step = static_cast<int>(value);
    return true;
  }
  if (!parse_number(text, value)) {
    error = "'" + text + "' is not a time (seconds like 12.5, beats like 224b, frames like 12000f)";
    return false;
  }
  if (value > static_cast<double>(EndSeconds())) {
    error = text + " s is past the end of the show (" + end_text + ")";
    return false;
  }
  // The first step at or after the moment.
  int n = std::max(0, static_cast<int>(value * show_fps) - 2);
  while (static_cast<double>(step_time(n)) < value) ++n;
  step = n;
  return true;
}

namespace script {

float part_time(float start_time, float seconds_per_beat, const Beats& moment) {
  return static_cast<float>(start_time + moment.beats * static_cast<double>(seconds_per_beat) +
                            static_cast<double>(moment.seconds));
}

float part_seconds(float seconds_per_beat, const Beats& length) {
  return static_cast<float>(length.beats * static_cast<double>(seconds_per_beat) +
                            static_cast<double>(length.seconds));
}

}  // namespace script

float part_start_time(int part) {
  int beat = 0;
  for (int i = 0; i < part && i < show_part_count; ++i) beat += show_parts[i].length;
  return static_cast<float>(static_cast<double>(beat) * show_seconds_per_beat);
}

namespace {

// Floats in order as integers: neighbours differ by one.
int64_t float_order(float f) {
  int32_t bits = 0;
  std::memcpy(&bits, &f, sizeof bits);
  return bits >= 0 ? bits : static_cast<int64_t>(INT32_MIN) - bits;
}

float order_float(int64_t order) {
  const int32_t bits =
      static_cast<int32_t>(order >= 0 ? order : static_cast<int64_t>(INT32_MIN) - order);
  float f = 0.0f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// The seconds of a Beats value: the largest float s within a second of `guess` for which
// value(s) <= want (value grows with s). False when even guess - 1 gives more.
template <typename F>
bool largest_at_most(F value, float want, double guess, float& s) {
  int64_t low = float_order(static_cast<float>(guess - 1.0));
  int64_t high = float_order(static_cast<float>(guess + 1.0));
  if (!(value(order_float(low)) <= want)) return false;
  if (value(order_float(high)) <= want) low = high;
  while (high - low > 1) {
    const int64_t mid = low + (high - low) / 2;
    (value(order_float(mid)) <= want ? low : high) = mid;
  }
  s = order_float(low);
  return true;
}

}  // namespace

bool part_moment_at(int part, float t, script::Beats& moment) {
  const float start = part_start_time(part);
  const double beat = std::floor((static_cast<double>(t) - start) / show_seconds_per_beat);
  moment.beats = static_cast<int>(beat);
  const double guess = static_cast<double>(t) - start - beat * show_seconds_per_beat;
  auto value = [&](float s) {
    return script::part_time(start, show_seconds_per_beat, script::Beats{moment.beats, s});
  };
  return largest_at_most(value, t, guess, moment.seconds);
}

bool length_ending_at(float from, int beats, float end, script::Beats& length) {
  length.beats = beats;
  const double guess = static_cast<double>(end) - from - beats * double(show_seconds_per_beat);
  auto value = [&](float s) {
    return from + script::part_seconds(show_seconds_per_beat, script::Beats{beats, s});
  };
  return largest_at_most(value, end, guess, length.seconds);
}

namespace {

// Rows beyond this (some ten days of show) are taken as this row, so their steps stay ints.
constexpr int max_seek_row = 1 << 24;

// Where the show's beat clock begins each beat, in demo seconds: rows are counted from these, so
// that row 8b falls on the very step on which the show's beat b begins (the single-precision
// beat length drifts from the exact tempo by up to a step over the show).
const std::vector<double>& beat_starts() {
  static const std::vector<double> starts = [] {
    const ShowSteps steps;
    std::vector<double> out;
    for (int first : steps.first_step_of_beat) out.push_back(step_time(first));
    return out;
  }();
  return starts;
}

}  // namespace

double row_at_time(float demo_time) {
  const std::vector<double>& starts = beat_starts();
  const double t = demo_time;
  const double beat_length = static_cast<double>(show_seconds_per_beat);
  // Before the first beat and after the last, rows run at the show's tempo.
  if (t <= starts.front()) return (t - starts.front()) / (beat_length / sync_rows_per_beat);
  if (t >= starts.back()) {
    return (static_cast<double>(starts.size() - 1) + (t - starts.back()) / beat_length) *
           sync_rows_per_beat;
  }
  const size_t beat =
      static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), t) - starts.begin()) - 1;
  const double within = (t - starts[beat]) / (starts[beat + 1] - starts[beat]);
  return (static_cast<double>(beat) + within) * sync_rows_per_beat;
}

double step_row(int step) {
  return row_at_time(step_time(step));
}

int first_step_of_row(int row) {
  if (row <= 0) return 0;
  row = std::min(row, max_seek_row);
  // An estimate from the exact rate, then corrected against the rows the steps really have.
  int step = static_cast<int>(static_cast<double>(row) * show_seconds_per_beat * show_fps /
                              sync_rows_per_beat);
  while (step > 0 && step_row(step - 1) >= row) --step;
  while (step_row(step) < row) ++step;
  return step;
}
