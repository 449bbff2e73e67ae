#ifndef TESSARY_SYNC_TRACK_H
#define TESSARY_SYNC_TRACK_H

// A sync track: values keyed on rows of the music (sync_rows_per_beat a beat, row 0 the show's
// start), as a sync editor edits them, and the `.track` file each one is saved in.
//
// How to use:
//   SyncTrack track;
//   track.name = "camera:pos.x";
//   track.SetKey({0, 1.0f, SyncKey::LINEAR});
//   float x = track.ValueAt(step_row(step));
//   std::string error;
//   if (!save_track_file("data/" + track_file_name("sync", track.name), track, error)) ...
//   if (!load_track_file(path, track, error)) ...  // error: one line saying why

#include <cstdint>
#include <string>
#include <vector>

#include "demo/moments.h"

// One key: the value from `row` on, and how it moves toward the next key's value.
struct SyncKey {
  // The protocol's interpolation bytes; any other value is malformed.
  enum Interpolation : std::uint8_t { STEP = 0, LINEAR = 1, SMOOTH = 2, RAMP = 3 };
  static constexpr std::uint8_t interpolation_count = 4;

  int row = 0;
  float value = 0.0f;
  Interpolation interpolation = STEP;
};

struct SyncTrack {
  std::string name;
  std::vector<SyncKey> keys;  // sorted by row, one key per row

  // The value at a fractional row: the key at or before `row` moved toward the next key by its
  // own interpolation; the first key's value before it, the last key's after it; 0 without keys.
  float ValueAt(double row) const;
  // Adds the key, or replaces the key on its row.
  void SetKey(const SyncKey& key);
  // Removes the key on `row`; false when there is none.
  bool DeleteKey(int row);
};

// The file a track is saved in: `<base>_<name>.track`, every byte of base and name outside
// [A-Za-z0-9._/] written as -XX in upper-case hex.
std::string track_file_name(const std::string& base, const std::string& name);

// The file's bytes: int32 LE key count, then per key int32 LE row, float32 LE value and the
// interpolation byte; keys sorted by row; no header.
std::vector<unsigned char> track_file_bytes(const SyncTrack& track);
// Reads the keys of `track` from `path` (the name is kept). False with one line in `error`
// when the file cannot be read or its bytes are not a track; `track` is then left unchanged.
bool load_track_file(const std::string& path, SyncTrack& track, std::string& error);
// Writes the track's file at `path` through fileio::replace_file, so a reader never sees half
// a file. False with one line in `error`.
bool save_track_file(const std::string& path, const SyncTrack& track, std::string& error);

#endif
