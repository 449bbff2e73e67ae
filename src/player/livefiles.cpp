#include "player/livefiles.h"

#include <filesystem>
#include <vector>

#include "shadermanager.h"
#include "sync/cameratracks.h"

namespace {

// How often the files are looked at: a change shows within half a second, and a look (a stat
// of each file) costs next to nothing at this rate.
constexpr float poll_seconds = 0.25f;

// Both renderers' toon programs (render/layer.h: Layer::Toon).
const char* const shader_files[] = {"shaders/toon.vert", "shaders/toon.frag",
                                    "shaders/toon_instanced.vert", "shaders/toon_instanced.frag"};

// Every file the show reads: the camera file, the shaders, the sync tracks (there or not) and
// the pictures in data/.
std::vector<std::string> watched_files() {
  std::vector<std::string> paths = {camera_file_path};
  for (const char* shader : shader_files) paths.push_back(shader);
  for (int i = 0; i < camera_track_count; ++i)
    paths.push_back(CameraTracks::FilePath(track_dir, i));
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("data", ec)) {
    if (entry.path().extension() == ".png") paths.push_back(entry.path().generic_string());
  }
  return paths;
}

}  // namespace

LiveFiles::LiveFiles() : watcher_(watched_files()) {
  if (!load_camera_file(camera_file_path, camera_)) print_camera_errors(camera_);
}

void LiveFiles::Note(const std::string& path, Changes& changes) {
  if (path == camera_file_path) {
    changes.camera = true;
  } else if (path.rfind("shaders/", 0) == 0) {
    changes.shaders = true;
  } else if (path.size() > 6 && path.compare(path.size() - 6, 6, ".track") == 0) {
    changes.tracks = true;
  } else {
    changes.pictures = true;
  }
}

LiveFiles::Changes LiveFiles::Poll(float elapsed) {
  if (elapsed - last_poll_ < poll_seconds) return Changes();
  last_poll_ = elapsed;
  Changes changes = pending_;
  pending_ = Changes();
  for (const std::string& path : watcher_.Poll()) Note(path, changes);
  return changes;
}

bool LiveFiles::ReloadCamera(std::string& message) {
  CameraFile fresh;
  if (!load_camera_file(camera_file_path, fresh)) {
    camera_error_ = fresh.errors.empty() ? std::string(camera_file_path) + ": cannot be read"
                                         : fresh.errors.front();
    message = "camera file not reloaded (the running keys stay): " + camera_error_;
    if (fresh.errors.size() > 1) {
      message += " (and " + std::to_string(fresh.errors.size() - 1) + " more)";
    }
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
  for (const std::string& path : watcher_.Poll()) {
    if (path != camera_file_path) Note(path, pending_);
  }
  return true;
}

std::string LiveFiles::Errors() const {
  std::string text = camera_error_;
  if (!shader_error_.empty()) text += (text.empty() ? "" : "\n") + shader_error_;
  return text;
}
