#include "demo/camerafile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "demo/moments.h"
#include "fileio.h"
#include "helpers.h"
#include "tunables.h"

using script::Beats;
using script::CameraKey;
typedef effect::Camera C;

namespace {

// Beats and seconds beyond these are refused: no show is that long, beat arithmetic stays far
// from int overflow, and every time formed from them stays a finite float.
constexpr int max_key_beats = 1000000;
constexpr float max_key_seconds = 1.0e6f;
// Past this time a key's wait is not looked at step by step: it is reported.
constexpr float max_wait_check_seconds = 1.0e6f;
// Error (and warning) lines kept for one file; the rest are counted in one last line.
constexpr size_t max_error_lines = 100;

// A CR before the line's LF is no part of a field.
bool is_field_blank(char c) {
  return is_blank(c) || c == '\r';
}

// The fields of one line before its comment.
void split_fields(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  const size_t end = line.find('#');
  const size_t stop = end == std::string::npos ? line.size() : end;
  size_t i = 0;
  while (i < stop) {
    while (i < stop && is_field_blank(line[i])) ++i;
    const size_t first = i;
    while (i < stop && !is_field_blank(line[i])) ++i;
    if (i > first) fields.push_back(line.substr(first, i - first));
  }
}

// A field as an error line quotes it: short, printable.
std::string quoted(std::string_view field) {
  std::string out = "'";
  for (size_t i = 0; i < field.size() && i < 24; ++i) {
    const unsigned char c = static_cast<unsigned char>(field[i]);
    out += c >= 32 && c < 127 ? static_cast<char>(c) : '?';
  }
  return out + (field.size() > 24 ? "...'" : "'");
}

// A finite float filling all of `text` (digits first: no sign, no "inf" or "nan").
bool parse_unsigned_float(const char* first, const char* last, float& value) {
  if (first == last || !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.')) {
    return false;
  }
  const auto result = std::from_chars(first, last, value);
  return result.ec == std::errc() && result.ptr == last && std::isfinite(value);
}

bool parse_float(std::string_view text, float& value) {
  const bool negative = !text.empty() && text[0] == '-';
  const char* first = text.data() + (negative ? 1 : 0);
  if (!parse_unsigned_float(first, text.data() + text.size(), value)) return false;
  if (negative) value = -value;
  return true;
}

// "12b", "3b+0.1s", "40b-0.1s", "-2b".
bool parse_beats(std::string_view text, Beats& value) {
  const size_t b = text.find('b');
  if (b == std::string::npos || b == 0) return false;
  int beats = 0;
  const auto result = std::from_chars(text.data(), text.data() + b, beats);
  if (result.ec != std::errc() || result.ptr != text.data() + b) return false;
  if (beats < -max_key_beats || beats > max_key_beats) return false;
  float seconds = 0.0f;
  if (b + 1 < text.size()) {
    const char sign = text[b + 1];
    if ((sign != '+' && sign != '-') || text.back() != 's' || text.size() < b + 4) return false;
    const char* first = text.data() + b + 2;
    if (!parse_unsigned_float(first, text.data() + text.size() - 1, seconds)) return false;
    if (seconds > max_key_seconds) return false;
    if (sign == '-') seconds = -seconds;
  }
  value = Beats{beats, seconds};
  return true;
}

int part_index(std::string_view name) {
  for (int i = 0; i < show_part_count; ++i) {
    if (name == show_parts[i].name) return i;
  }
  return -1;
}

std::string part_names() {
  std::string names;
  for (const ShowPart& part : show_parts)
    names += std::string(names.empty() ? "" : ", ") + part.name;
  return names;
}

// Parses one line holding a key; returns false with what was expected (and found) in `error`.
bool parse_key(const std::vector<std::string_view>& f, CameraFileKey& key, std::string& error) {
  static const char* const expected[] = {"a part (",
                                         "a track (place or turn)",
                                         "a transition (linear or cut)",
                                         "a start in beats and seconds (12b, 3b+0.1s, 40b-0.1s)",
                                         "a length in beats and seconds (4b, 0b+0.1s, 12b-0.1s)",
                                         "the target's x (a number)",
                                         "the target's y (a number)",
                                         "the target's z (a number)"};
  auto fail = [&](size_t field) {
    error = "expected ";
    error += expected[field];
    if (field == 0) error += part_names() + ")";
    error += field < f.size() ? ", found " + quoted(f[field]) : ", found the end of the line";
    return false;
  };
  if (f.empty() || (key.part = part_index(f[0])) < 0) return fail(0);
  if (f.size() < 2 || (f[1] != "place" && f[1] != "turn")) return fail(1);
  key.key.track = f[1] == "place" ? script::PLACE : script::TURN;
  if (f.size() < 3 || (f[2] != "linear" && f[2] != "cut")) return fail(2);
  key.key.transition = f[2] == "linear" ? C::LINEAR : C::CUT;
  if (f.size() < 4 || !parse_beats(f[3], key.key.start)) return fail(3);
  if (f.size() < 5 || !parse_beats(f[4], key.key.length)) return fail(4);
  if (script::part_seconds(show_seconds_per_beat, key.key.length) < 0) {
    error = "expected a length of zero or more (4b, 0b+0.1s, 12b-0.1s), found " + quoted(f[4]);
    return false;
  }
  float* target[3] = {&key.key.target.x, &key.key.target.y, &key.key.target.z};
  for (size_t i = 0; i < 3; ++i) {
    if (f.size() < 6 + i || !parse_float(f[5 + i], *target[i])) return fail(5 + i);
  }
  if (f.size() > 8) {
    error = "expected the end of the line (or a # comment) after the target, found " + quoted(f[8]);
    return false;
  }
  return true;
}

// True when a step of the show falls in [start, end): a key starting at `start` would play on
// it, but waits for a move ending at `end`. (An overlap of a rounding error waits on no step.)
bool waits_on_a_step(float start, float end) {
  if (!(start < end)) return false;
  if (end > max_wait_check_seconds) return true;
  int n = start <= 0 ? 0 : static_cast<int>(std::ceil(static_cast<double>(start) * show_fps)) - 1;
  while (step_time(n) < start) ++n;
  return step_time(n) < end;
}

// A demo time for a warning: "21.4286 s".
std::string seconds_text(float seconds) {
  char text[48];
  std::snprintf(text, sizeof text, "%.4f s", static_cast<double>(seconds));
  return text;
}

}  // namespace

std::vector<CameraKey> CameraFile::PartKeys(int part) const {
  std::vector<CameraKey> out;
  for (const CameraFileKey& key : keys) {
    if (key.part == part) out.push_back(key.key);
  }
  return out;
}

void parse_camera_text(const std::string& path, const std::string& text, CameraFile& file) {
  file = CameraFile();
  file.path = path;
  file.ends_with_newline = text.empty() || text.back() == '\n';
  size_t start = 0;
  size_t failed = 0;
  std::vector<std::string_view> fields;
  file.lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    file.lines.push_back(text.substr(start, end - start));
    start = end + 1;
    split_fields(file.lines.back(), fields);
    if (fields.empty()) continue;
    CameraFileKey key;
    key.line = static_cast<int>(file.lines.size());
    std::string error;
    if (parse_key(fields, key, error)) {
      file.keys.push_back(key);
    } else if (++failed <= max_error_lines) {
      file.errors.push_back(path + ":" + std::to_string(key.line) + ": " + error);
    }
  }
  if (failed > max_error_lines) {
    file.errors.push_back(path + ": " + std::to_string(failed - max_error_lines) +
                          " more lines do not parse");
  }
  file.warnings = camera_file_warnings(file);
}

bool load_camera_file(const std::string& path, CameraFile& file) {
  std::string text, cause;
  if (!fileio::read_file(path, text, cause)) {
    file = CameraFile();
    file.path = path;
    file.errors.push_back(path + ": cannot be read: " + cause +
                          " (expected the show's camera keys here)");
    return false;
  }
  parse_camera_text(path, text, file);
  return file.errors.empty();
}

void print_camera_errors(const CameraFile& file) {
  for (const std::string& line : file.errors) std::fprintf(stderr, "%s\n", line.c_str());
}

std::vector<size_t> camera_track_order(const CameraFile& file, script::Track track) {
  std::vector<size_t> order;
  for (int part = 0; part < show_part_count; ++part) {
    for (size_t i = 0; i < file.keys.size(); ++i) {
      if (file.keys[i].part == part && file.keys[i].key.track == track) order.push_back(i);
    }
  }
  return order;
}

float camera_key_start(const CameraFileKey& key) {
  return script::part_time(part_start_time(key.part), show_seconds_per_beat, key.key.start);
}

float camera_key_end(const CameraFileKey& key) {
  const float start = camera_key_start(key);
  if (key.key.transition != C::LINEAR) return start;
  return start + script::part_seconds(show_seconds_per_beat, key.key.length);
}

void add_camera_file_keys(const CameraFile& file, effect::Camera& camera) {
  int beat = 0;
  for (int i = 0; i < show_part_count; ++i) {
    const int end = beat + show_parts[i].length;
    script::PartScript part(nullptr, camera, show_seconds_per_beat, part_start_time(i), beat, end);
    part.add_keys(file.PartKeys(i));
    beat = end;
  }
}

std::vector<std::string> camera_file_warnings(const CameraFile& file) {
  std::vector<std::string> warnings;
  size_t count = 0;
  auto warn = [&](const CameraFileKey& key, const std::string& text) {
    if (++count <= max_error_lines) {
      warnings.push_back(file.path + ":" + std::to_string(key.line) + ": warning: " + text);
    }
  };
  for (script::Track track : {script::PLACE, script::TURN}) {
    const std::vector<size_t> order = camera_track_order(file, track);
    for (size_t i = 1; i < order.size(); ++i) {
      const CameraFileKey& before = file.keys[order[i - 1]];
      const CameraFileKey& key = file.keys[order[i]];
      if (!waits_on_a_step(camera_key_start(key), camera_key_end(before))) continue;
      warn(key, std::string("this ") + (track == script::PLACE ? "place" : "turn") +
                    " key starts at " + seconds_text(camera_key_start(key)) +
                    ", before the key at " + file.path + ":" + std::to_string(before.line) +
                    " ends at " + seconds_text(camera_key_end(before)) + ": it waits for it");
    }
  }
  for (const CameraFileKey& key : file.keys) {
    const float start = camera_key_start(key);
    const float first = part_start_time(key.part);
    const float end = part_start_time(key.part + 1);
    if (start >= first && start <= end) continue;
    warn(key, "this key starts at " + seconds_text(start) + ", outside its part " +
                  show_parts[key.part].name + " (" + seconds_text(first) + " to " +
                  seconds_text(end) + ")");
  }
  if (count > max_error_lines) {
    warnings.push_back(file.path + ": " + std::to_string(count - max_error_lines) +
                       " more warnings");
  }
  return warnings;
}
