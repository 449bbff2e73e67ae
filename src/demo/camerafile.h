#ifndef TESSARY_DEMO_CAMERAFILE_H
#define TESSARY_DEMO_CAMERAFILE_H

// The show's camera path as data: every part's camera keys in one text file (its grammar is
// written at the top of data/camera.txt and in the README), loaded, checked, and edited so that
// a moment of the show shows a given pose.
//
// How to use:
//   CameraFile file;
//   if (!load_camera_file(camera_file_path, file)) print_camera_errors(file);  // keys that parsed
//   Enabler* head = init_demo(camera, show_seconds_per_beat, file);           // stay usable
//   for (const std::string& w : file.warnings) ...                             // for the maker
//   std::string message;
//   write_camera_shot(file, part, step, pose, message);  // rewrites the file; `message` says
//                                                        // where (or why not), in one line

#include <string>
#include <vector>

#include "demo/script.h"

// The show's camera file, relative to the data root.
constexpr const char* camera_file_path = "data/camera.txt";

// One key of the file: the table row it stands for, its part and its line.
struct CameraFileKey {
  int part = 0;  // index in show_parts
  script::CameraKey key{script::PLACE, effect::Camera::CUT, {}, {}, {}};
  int line = 0;  // 1-based
};

// A camera file as read: its lines (to rewrite it keeping its comments and layout), the keys
// that parsed in file order, and one line for each error.
struct CameraFile {
  std::string path;
  std::vector<std::string> lines;  // without their '\n'
  bool ends_with_newline = true;
  std::vector<CameraFileKey> keys;
  std::vector<std::string> errors;    // "path:line: expected ..."
  std::vector<std::string> warnings;  // camera_file_warnings of the keys that parsed

  // The keys of part `part` (index in show_parts), in file order.
  std::vector<script::CameraKey> PartKeys(int part) const;
};

// Reads and parses `path` into `file` (replacing what it held), warnings included. Returns false
// when the file cannot be read or a line does not parse; `file` then still holds every key that
// parsed.
bool load_camera_file(const std::string& path, CameraFile& file);
// Parses `text` as the contents of `path` into `file`, as load_camera_file does.
void parse_camera_text(const std::string& path, const std::string& text, CameraFile& file);
// Prints each error line of `file` to standard error.
void print_camera_errors(const CameraFile& file);

// Keys that do not play as written, one line each naming both keys by file:line: a key that
// starts before the move before it on its track ends, by at least one step of the show (it waits
// for that move), and a key that starts outside its part. For the maker: callers decide whether to
// print them.
std::vector<std::string> camera_file_warnings(const CameraFile& file);

// Builds both camera tracks from `file` the way init_demo does (seconds per beat as the show
// keeps it), with no timeline and no GL.
void add_camera_file_keys(const CameraFile& file, effect::Camera& camera);

// The indices in file.keys of the track's keys in play order: the parts in show order, the file's
// order within a part.
std::vector<size_t> camera_track_order(const CameraFile& file, script::Track track);
// A key's start and end in demo seconds, in the camera's own float arithmetic (a cut ends where
// it starts).
float camera_key_start(const CameraFileKey& key);
float camera_key_end(const CameraFileKey& key);

// What the keyframed camera shows: its place and its turn (degrees about x, y, z).
struct CameraPose {
  omni::Vector3<float> place;
  omni::Vector3<float> turn;
};

// Edits the file so that step `step` of the show (inside part `part`) shows exactly `pose`, on
// each track: a key that completes on that step gets the pose as its target; a move under way
// is split there (the first half ends at the pose, the second runs on from it to the old
// target by the old end); otherwise a cut to the pose is placed at the step, in play order.
// Rewrites the file (changed and new lines only; comments and layout stay) and reloads `file`
// from it. Returns false, changing nothing, when the file cannot be written or the shot cannot
// be placed exactly. `message` is one line: where it wrote (file:line), or why not.
bool write_camera_shot(CameraFile& file, int part, int step, const CameraPose& pose,
                       std::string& message);

#endif
