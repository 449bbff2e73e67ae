#include "demo/moments.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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
