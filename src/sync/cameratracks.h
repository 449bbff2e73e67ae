#ifndef TESSARY_SYNC_CAMERATRACKS_H
#define TESSARY_SYNC_CAMERATRACKS_H

// The show's sync tracks: one per component of the camera's position and rotation. A track with
// at least one key replaces that component of the keyframed camera over the whole show; a
// track without keys leaves it alone.
//
// How to use (the working directory the data root, see datadir.h):
//   CameraTracks tracks;
//   std::vector<std::string> problems;
//   tracks.Load(track_dir, problems);     // the files in data/; one line per broken file
//   head.SetCameraOverride(&tracks);      // every drawn frame then plays them
//   tracks.Save(track_dir, error);        // what SAVE_TRACKS asks for

#include <array>
#include <string>
#include <vector>

#include "demo/show.h"
#include "sync/track.h"

// The tracks in the order they are requested from an editor (its track indices).
constexpr int camera_track_count = 6;
extern const char* const camera_track_names[camera_track_count];
// The base of the track files' names, the protocol's default.
extern const char* const track_file_base;
// Where the show's track files are saved and read, in the data root.
extern const char* const track_dir;

class CameraTracks : public CameraOverride {
 public:
  // Six tracks without keys, named after camera_track_names.
  CameraTracks();

  // Position x, y, z, then rotation x, y, z.
  std::array<SyncTrack, camera_track_count> tracks;

  // Puts the value of every track with keys, at the row of `demo_time`, in its component.
  void Apply(float demo_time, omni::Vector3<float>& position,
             omni::Vector3<float>& rotation) const override;
  // Reads each track's file from `dir`. A missing file leaves its track without keys; a broken
  // one leaves the track's keys as they were, and adds one line saying why to `problems`.
  void Load(const std::string& dir, std::vector<std::string>& problems);
  // Writes every track (those without keys too) into `dir`, one file each. False with one
  // line in `error` at the first file that fails.
  bool Save(const std::string& dir, std::string& error) const;
  // The path of track `index`'s file in `dir`.
  static std::string FilePath(const std::string& dir, int index);
  // The components the tracks drive, e.g. "pos.x pos.z rot.y" (empty: none), for the overlay.
  std::string Driven() const;
  // Removes every key.
  void Clear();
};

#endif
