// write_camera_shot: puts a pose into the camera file at a step of the show.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "demo/camerafile.h"
#include "demo/moments.h"
#include "fileio.h"
#include "helpers.h"

using script::Beats;
typedef effect::Camera C;
typedef omni::Vector3<float> V;

namespace {

// Where each track stands on a step: keys completed before it and after it, and whether the key
// after is a move under way.
struct TrackAt {
  size_t before = 0;
  size_t after = 0;
  bool moving = false;
};

// Steps the camera built from `file` from the show's start through `step`.
void simulate(const CameraFile& file, int step, TrackAt at[2], CameraPose& pose) {
  C camera;
  add_camera_file_keys(file, camera);
  for (int n = 0; n < step; ++n) camera.UpdateLogic(step_time(n), 0, false);
  at[0].before = camera.place_index;
  at[1].before = camera.rotation_index;
  const float t = step_time(step);
  camera.UpdateLogic(t, 0, false);
  at[0].after = camera.place_index;
  at[1].after = camera.rotation_index;
  at[0].moving = at[0].after < camera.places.size() &&
                 camera.places[at[0].after].transition == C::LINEAR &&
                 t >= camera.places[at[0].after].start_time;
  at[1].moving = at[1].after < camera.rotations.size() &&
                 camera.rotations[at[1].after].transition == C::LINEAR &&
                 t >= camera.rotations[at[1].after].start_time;
  pose.place = camera.location;
  pose.turn = camera.rotation;
}

std::string format_float(float value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string format_beats(const Beats& b) {
  std::string text = std::to_string(b.beats) + "b";
  if (b.seconds > 0) text += "+" + format_float(b.seconds) + "s";
  if (b.seconds < 0) text += "-" + format_float(-b.seconds) + "s";
  return text;
}

// A key as the show's file lays it out: fields in columns, the target last.
std::string format_key(const CameraFileKey& k) {
  const std::string fields[5] = {show_parts[k.part].name,
                                 k.key.track == script::PLACE ? "place" : "turn",
                                 k.key.transition == C::LINEAR ? "linear" : "cut",
                                 format_beats(k.key.start), format_beats(k.key.length)};
  const size_t widths[5] = {10, 7, 8, 10, 10};
  std::string line;
  for (size_t i = 0; i < 5; ++i) {
    line += fields[i];
    line += std::string(fields[i].size() < widths[i] ? widths[i] - fields[i].size() : 1, ' ');
  }
  const V& t = k.key.target;
  return line + format_float(t.x) + " " + format_float(t.y) + " " + format_float(t.z);
}

bool same(const V& a, const V& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

// One change to the file's lines: a key's line rewritten, or a new line before or after one.
struct LineEdit {
  enum Kind { REPLACE, BEFORE, AFTER } kind;
  size_t line;  // 0-based index in the old lines
  std::string text;
  int new_line = 0;  // 1-based, in the new file
};

// The key's line rewritten, keeping its comment and its line ending.
std::string replaced_line(const std::string& old, const CameraFileKey& key) {
  std::string text = format_key(key);
  size_t comment = old.find('#');
  if (comment != std::string::npos) {
    while (comment > 0 && is_blank(old[comment - 1])) --comment;
    text += old.substr(comment);
  } else if (!old.empty() && old.back() == '\r') {
    text += '\r';
  }
  return text;
}

// Where a new key goes on its track at play position `j`, and the part that owns it: before the
// key now at j when that one belongs to this part or an earlier one, else after the key at j - 1
// of this part, else (the part has no key on this track) after the part's last key in the file.
void place_new_key(const CameraFile& file, const std::vector<size_t>& order, size_t j, int part,
                   int& owner, LineEdit& edit) {
  owner = part;
  if (j < order.size() && file.keys[order[j]].part <= part) {
    owner = file.keys[order[j]].part;
    edit.kind = LineEdit::BEFORE;
    edit.line = static_cast<size_t>(file.keys[order[j]].line - 1);
    return;
  }
  if (j > 0 && file.keys[order[j - 1]].part == part) {
    edit.kind = LineEdit::AFTER;
    edit.line = static_cast<size_t>(file.keys[order[j - 1]].line - 1);
    return;
  }
  int anchor = 0;
  for (const CameraFileKey& key : file.keys) {
    if (key.part <= part) anchor = std::max(anchor, key.line);
  }
  edit.kind = anchor > 0 ? LineEdit::AFTER : LineEdit::BEFORE;
  edit.line = anchor > 0 ? static_cast<size_t>(anchor - 1)
                         : (file.keys.empty() ? file.lines.size()
                                              : static_cast<size_t>(file.keys[0].line - 1));
}

// Plans the edits that make the track show `target` on `step`; `what` says which. False when
// the moment cannot be written in beats and seconds.
bool plan_track(const CameraFile& file, int part, int step, script::Track track, const TrackAt& at,
                const V& target, std::vector<LineEdit>& edits, std::string& what) {
  const std::vector<size_t> order = camera_track_order(file, track);
  const float t = step_time(step);
  if (at.after > at.before) {  // a key lands on this step: it lands on the pose instead
    CameraFileKey key = file.keys[order[at.after - 1]];
    key.key.target = target;
    const size_t line = static_cast<size_t>(key.line - 1);
    edits.push_back({LineEdit::REPLACE, line, replaced_line(file.lines[line], key)});
    what = "target";
    return true;
  }
  if (at.moving) {
    const CameraFileKey& move = file.keys[order[at.after]];
    CameraFileKey first = move;
    CameraFileKey rest = move;
    if (!part_moment_at(move.part, t, rest.key.start)) return false;
    const int beat = rest.key.start.beats;
    if (!length_ending_at(camera_key_start(move), beat - move.key.start.beats, t,
                          first.key.length) ||
        !length_ending_at(camera_key_start(rest),
                          move.key.start.beats + move.key.length.beats - beat, camera_key_end(move),
                          rest.key.length)) {
      return false;
    }
    first.key.target = target;
    const size_t line = static_cast<size_t>(move.line - 1);
    edits.push_back({LineEdit::REPLACE, line, replaced_line(file.lines[line], first)});
    edits.push_back({LineEdit::AFTER, line, format_key(rest)});
    what = "split";
    return true;
  }
  LineEdit edit{LineEdit::BEFORE, 0, ""};
  CameraFileKey cut;
  place_new_key(file, order, at.after, part, cut.part, edit);
  cut.key = script::CameraKey{track, C::CUT, {}, {}, target};
  if (!part_moment_at(cut.part, t, cut.key.start)) return false;
  edit.text = format_key(cut);
  edits.push_back(edit);
  what = "cut";
  return true;
}

// Whether the file's lines end in CRLF: most of them do. New lines follow the file's way.
bool uses_crlf(const CameraFile& file) {
  size_t crlf = 0;
  for (const std::string& line : file.lines) crlf += !line.empty() && line.back() == '\r';
  return crlf * 2 > file.lines.size();
}

// The file's text with the edits made; each edit learns its line in the new text. New lines end
// as the file's lines do (rewritten ones keep their own ending).
std::string apply_edits(const CameraFile& file, std::vector<LineEdit>& edits) {
  const std::string new_line_end = uses_crlf(file) ? "\r\n" : "\n";
  std::string text;
  std::string last_end;  // how the last line written ends
  int line = 0;
  auto emit = [&](LineEdit::Kind kind, size_t at) {
    for (LineEdit& edit : edits) {
      if (edit.kind != kind || edit.line != at) continue;
      const bool keeps_own_end = kind == LineEdit::REPLACE;
      last_end = keeps_own_end ? "\n" : new_line_end;
      text += edit.text + last_end;
      edit.new_line = ++line;
    }
  };
  for (size_t i = 0; i < file.lines.size(); ++i) {
    emit(LineEdit::BEFORE, i);
    const size_t before = text.size();
    emit(LineEdit::REPLACE, i);
    if (text.size() == before) {
      text += file.lines[i] + "\n";
      last_end = "\n";
      ++line;
    }
    emit(LineEdit::AFTER, i);
  }
  emit(LineEdit::BEFORE, file.lines.size());
  if (!file.ends_with_newline && text.size() >= last_end.size()) {
    text.resize(text.size() - last_end.size());
  }
  return text;
}

// The text `file` was parsed from.
std::string text_of(const CameraFile& file) {
  std::string text;
  for (const std::string& line : file.lines) text += line + "\n";
  if (!file.ends_with_newline && !text.empty()) text.pop_back();
  return text;
}

// The file as it now is on disk, into `base`: `file` itself unless the disk holds other bytes
// (an edit not yet reloaded, or one that failed to). False with the one-line reason when it
// cannot be read or no longer parses: a shot is never placed on a stale copy.
bool current_file(const CameraFile& file, CameraFile& base, std::string& message) {
  std::string text, cause;
  if (!fileio::read_file(file.path, text, cause)) {
    message = "no shot written: " + file.path + " cannot be read (" + cause + ")";
    return false;
  }
  if (text == text_of(file)) {
    base = file;
    return true;
  }
  parse_camera_text(file.path, text, base);
  if (!base.errors.empty()) {
    message = "no shot written: " + file.path + " changed on disk and does not parse (" +
              base.errors.front() + "): mend it, then press k again";
    return false;
  }
  return true;
}

// Replaces the camera file at `path` by `text` (see fileio::replace_file); a file that is
// missing is not made anew: the shot belongs in the file the show was loaded from.
bool replace_camera_file(const std::string& path, const std::string& text, std::string& error) {
  std::string cause;
  std::error_code ec;
  if (!std::filesystem::exists(fileio::final_target(path), ec)) {
    cause = ec ? ec.message() : "it is missing";
  } else if (fileio::replace_file(path, text, cause)) {
    return true;
  }
  error = path + " cannot be written (" + cause + "): nothing changed";
  return false;
}

}  // namespace

bool write_camera_shot(CameraFile& file, int part, int step, const CameraPose& pose,
                       std::string& message) {
  const int last_step = static_cast<int>(show_fps * (show_last_beat + 2) * show_seconds_per_beat);
  if (part < 0 || part >= show_part_count || step < 0 || step > last_step) {
    message = "no shot written: the moment lies outside the show";
    return false;
  }
  CameraFile base;
  if (!current_file(file, base, message)) return false;
  TrackAt at[2];
  CameraPose shown;
  simulate(base, step, at, shown);
  std::vector<LineEdit> edits;
  std::string what[2];
  size_t first_edit[3] = {0, 0, 0};
  const script::Track tracks[2] = {script::PLACE, script::TURN};
  const V targets[2] = {pose.place, pose.turn};
  for (int i = 0; i < 2; ++i) {
    if (!plan_track(base, part, step, tracks[i], at[i], targets[i], edits, what[i])) {
      message = "no shot written: this step cannot be written in beats and seconds";
      return false;
    }
    first_edit[i + 1] = edits.size();
  }
  const std::string text = apply_edits(base, edits);
  CameraFile next;
  parse_camera_text(base.path, text, next);
  simulate(next, step, at, shown);
  if (next.errors.size() != base.errors.size() || !same(shown.place, pose.place) ||
      !same(shown.turn, pose.turn)) {
    message = "no shot written: the camera would not show it exactly on this step";
    return false;
  }
  if (!replace_camera_file(file.path, text, message)) return false;
  file = next;
  Beats moment;
  part_moment_at(part, step_time(step), moment);
  message =
      "wrote the shot at " + std::string(show_parts[part].name) + " " + format_beats(moment) + ":";
  for (int i = 0; i < 2; ++i) {
    message += std::string(i == 0 ? " place " : ", turn ") + what[i] + " at " + file.path + ":";
    for (size_t e = first_edit[i]; e < first_edit[i + 1]; ++e) {
      message += (e > first_edit[i] ? "-" : "") + std::to_string(edits[e].new_line);
    }
  }
  return true;
}
