#include "moments.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "demo/demo.h"
#include "demo/show.h"
#include "helpers.h"

ShowFrames::ShowFrames() {
  BeatClock clock(beat2seconds(140, 4));
  for (int frame = 0;; ++frame) {
    clock.Advance(frame_time(frame));
    if (clock.beat_changed) {
      first_frame_of_beat.push_back(frame);
      clock.beat_changed = false;
    }
    if (clock.beat > show_last_beat) {
      end_frame = frame + 1;
      break;
    }
  }
}

namespace {

// Parses the whole of `text` as a finite non-negative decimal number.
bool parse_number(const std::string& text, double& value) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || std::isspace(text[0])) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  if (errno != 0 || end != text.c_str() + text.size()) return false;
  return std::isfinite(value);
}

}  // namespace

bool ShowFrames::Parse(const std::string& text, int& frame, std::string& error) const {
  char end_text[64];
  std::snprintf(end_text, sizeof end_text, "the show ends at %.3f s, beat %d", EndSeconds(),
                static_cast<int>(first_frame_of_beat.size()) - 1);
  double value = 0;
  if (!text.empty() && text.back() == 'b') {
    const std::string number = text.substr(0, text.size() - 1);
    if (!parse_number(number, value) || value != std::floor(value)) {
      error = "'" + text + "' is not a beat (a whole number followed by b, like 224b)";
      return false;
    }
    if (value >= static_cast<double>(first_frame_of_beat.size())) {
      error = "beat " + number + " is past the end of the show (" + end_text + ")";
      return false;
    }
    frame = first_frame_of_beat[static_cast<size_t>(value)];
    return true;
  }
  if (!parse_number(text, value)) {
    error = "'" + text + "' is not a time (seconds like 12.5, or beats like 224b)";
    return false;
  }
  if (value > static_cast<double>(EndSeconds())) {
    error = text + " s is past the end of the show (" + end_text + ")";
    return false;
  }
  // The first frame shown at or after the moment.
  int n = std::max(0, static_cast<int>(value * show_fps) - 2);
  while (static_cast<double>(frame_time(n)) < value) ++n;
  frame = n;
  return true;
}
