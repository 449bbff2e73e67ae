#include "player/livefiles.h"

#include <filesystem>
#include <vector>

#include "demo/script.h"
#include "demo/startup.h"
#include "shadermanager.h"
#include "sync/cameratracks.h"

namespace {

// How often the files are looked at: a change shows within half a second, and a look (a stat
// of each file) costs next to nothing at this rate.
constexpr float poll_seconds = 0.25f;

// Every file the show reads: the camera file, the shaders, the sync tracks (there or not) and
// the pictures in data/.
std::vector<std::string> watched_files() {
  std::vector<std::string> paths = {camera_file_path};
  for (const char* shader : toon_shader_paths) paths.push_back(shader);
  for (int i = 0; i < camera_track_count; ++i)
    paths.push_back(CameraTracks::FilePath(track_dir, i));
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("data", ec)) {
    if (entry.path().extension() == ".png") paths.push_back(entry.path().generic_string());
  }
  return paths;
}

// The line that stands for a camera file's errors: its first, and how many more.
std::string first_error(const CameraFile& file) {
  if (file.errors.empty()) return std::string(camera_file_path) + ": cannot be read";
  std::string line = file.errors.front();
  if (file.errors.size() > 1) line += " (and " + std::to_string(file.errors.size() - 1) + " more)";
  return line;
}

}  // namespace

LiveFiles::LiveFiles() : watcher_(watched_files()) {
  // An error at start stands as one after a reload does: on screen until the file is mended.
  if (!load_camera_file(camera_file_path, camera_)) {
    print_camera_errors(camera_);
    camera_error_ = first_error(camera_);
  }
}

void LiveFiles::Note(const std::string& path, Changes& changes) {
  if (path == camera_file_path) {
    changes.camera = true;
  } else if (path == toon_shader_paths[0] || path == toon_shader_paths[1]) {
    changes.shaders = true;
  } else if (path.size() > 6 && path.compare(path.size() - 6, 6, ".track") == 0) {
    changes.tracks = true;
  } else {
    changes.pictures = true;
    changes.picture_paths.push_back(path);
  }
}

LiveFiles::Changes LiveFiles::Poll(float elapsed) {
  if (elapsed - last_poll_ < poll_seconds) return Changes();
  last_poll_ = elapsed;
  Changes changes;
  for (const std::string& path : watcher_.Poll()) Note(path, changes);
  return changes;
}

bool LiveFiles::ReloadCamera(std::string& message) {
  CameraFile fresh;
  if (!load_camera_file(camera_file_path, fresh)) {
    camera_error_ = first_error(fresh);
    message = "camera file not reloaded (the running keys stay): " + camera_error_;
    return false;
  }
  camera_ = std::move(fresh);
  camera_error_.clear();
  message = std::string("reloaded ") + camera_file_path;
  return true;
}

bool LiveFiles::WriteShot(int part, int step, const CameraPose& pose, std::string& message) {
  if (!write_camera_shot(camera_, part, step, pose, message)) return false;
  camera_error_.clear();
  // The file changed under the watcher's eyes by our own hand: not a change to reload.
  watcher_.Accept(camera_file_path);
  return true;
}

void LiveFiles::TookOwnTrackWrites() {
  for (int i = 0; i < camera_track_count; ++i)
    watcher_.Accept(CameraTracks::FilePath(track_dir, i));
}

bool LiveFiles::ReloadPictures(const std::vector<std::string>& paths,
                               std::vector<std::string>& failed) {
  bool changed = false;
  for (const std::string& path : paths.empty() ? watcher_.Paths() : paths) {
    Changes kind;
    Note(path, kind);
    if (!kind.pictures) continue;
    std::string error;
    if (script::reload_picture(path, error)) {
      picture_errors_.erase(path);
      changed = true;
    } else {
      picture_errors_[path] = error;
      failed.push_back(error);
    }
  }
  return changed;
}

std::string LiveFiles::Errors() const {
  std::string text = camera_error_;
  auto add = [&text](const std::string& line) {
    if (!line.empty()) text += (text.empty() ? "" : "\n") + line;
  };
  add(shader_error_);
  for (const auto& picture : picture_errors_) add(picture.second);
  return text;
}
