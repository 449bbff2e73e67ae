#ifndef TESSARY_PLAYER_LIVEFILES_H
#define TESSARY_PLAYER_LIVEFILES_H

// The files a demo maker edits while the show plays: the camera file, the shaders, the
// pictures and the sync tracks. Watched by modification time and size (polled, a few times a
// second; a file is reloaded once it stands still); a reload that fails leaves the running show
// as it was, and its error stands until that file reloads cleanly. The player's own writes (k,
// the saved tracks) are not taken for edits.
//
// How to use:
//   LiveFiles files;                              // loads the camera file (errors printed)
//   init_demo(camera, seconds_per_beat, files.Camera());
//   LiveFiles::Changes changed = files.Poll(elapsed);
//   if (changed.camera && files.ReloadCamera(message)) transport.Rebuild(elapsed);
//   overlay.Draw(files.Errors(), ...);            // while not empty

#include <map>
#include <string>
#include <vector>

#include "demo/camerafile.h"
#include "filewatch.h"

class LiveFiles {
 public:
  // What changed on disk since the last look.
  struct Changes {
    bool camera = false;
    bool shaders = false;
    bool pictures = false;
    bool tracks = false;
    std::vector<std::string> picture_paths;  // the pictures that changed (none named: all)
    bool Any() const { return camera || shaders || pictures || tracks; }
  };

  // Loads the show's camera file: its errors go to standard error, the keys that parsed play.
  LiveFiles();

  const CameraFile& Camera() const { return camera_; }
  CameraFile& Camera() { return camera_; }
  // Looks at the files when `elapsed` (clock seconds) is a poll interval past the last look.
  Changes Poll(float elapsed);
  // Reads the camera file again. When it parses whole it replaces the running keys and the
  // camera error is cleared; otherwise nothing changes and the error stands. `message` is the
  // one line to print.
  bool ReloadCamera(std::string& message);
  // Writes `pose` into the camera file at `step` of part `part` (see write_camera_shot) and
  // takes the file as running; `message` is the one line to print.
  bool WriteShot(int part, int step, const CameraPose& pose, std::string& message);
  // Takes the sync track files as they now are for the player's own (a save the editor asked
  // for), not edits to reload.
  void TookOwnTrackWrites();
  // The maker's warnings about the running keys, one line each.
  std::vector<std::string> Warnings() const { return camera_file_warnings(camera_); }
  // Decodes the pictures in `paths` (empty: every picture watched) again: each that decodes
  // plays from the next rebuild on and its error goes; one that does not keeps its last good
  // picture, and its error stands and is added to `failed`. Returns whether any picture changed.
  bool ReloadPictures(const std::vector<std::string>& paths, std::vector<std::string>& failed);
  // Notes the outcome of a shader reload: an error (empty: it succeeded).
  void SetShaderError(const std::string& error) { shader_error_ = error; }
  // Every reload error that stands, a line each (empty when none).
  std::string Errors() const;

 private:
  // Marks in `changes` what the changed file at `path` feeds.
  static void Note(const std::string& path, Changes& changes);

  CameraFile camera_;
  FileWatcher watcher_;
  float last_poll_ = 0.0f;
  std::string camera_error_;
  std::string shader_error_;
  std::map<std::string, std::string> picture_errors_;  // by path
};

#endif
