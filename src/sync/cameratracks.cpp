#include "sync/cameratracks.h"

#include <filesystem>

const char* const camera_track_names[camera_track_count] = {
    "camera:pos.x", "camera:pos.y", "camera:pos.z", "camera:rot.x", "camera:rot.y", "camera:rot.z",
};

const char* const track_file_base = "sync";

const char* const track_dir = "data";

namespace {

// The part of a track's name after "camera:", as the overlay shows it.
constexpr size_t name_prefix_length = 7;

}  // namespace

CameraTracks::CameraTracks() {
  for (int i = 0; i < camera_track_count; ++i) tracks[i].name = camera_track_names[i];
}

void CameraTracks::Apply(float demo_time, omni::Vector3<float>& position,
                         omni::Vector3<float>& rotation) const {
  const double row = row_at_time(demo_time);
  float* components[camera_track_count] = {&position.x, &position.y, &position.z,
                                           &rotation.x, &rotation.y, &rotation.z};
  for (int i = 0; i < camera_track_count; ++i) {
    if (!tracks[i].keys.empty()) *components[i] = tracks[i].ValueAt(row);
  }
}

std::string CameraTracks::FilePath(const std::string& dir, int index) {
  return (std::filesystem::path(dir) / track_file_name(track_file_base, camera_track_names[index]))
      .string();
}

void CameraTracks::Load(const std::string& dir, std::vector<std::string>& problems) {
  for (int i = 0; i < camera_track_count; ++i) {
    const std::string path = FilePath(dir, i);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
      tracks[i].keys.clear();
      continue;
    }
    std::string error;
    if (!load_track_file(path, tracks[i], error)) {
      problems.push_back(error + "; the track keeps the keys it had");
    }
  }
}

bool CameraTracks::Save(const std::string& dir, std::string& error) const {
  for (int i = 0; i < camera_track_count; ++i) {
    if (!save_track_file(FilePath(dir, i), tracks[i], error)) return false;
  }
  return true;
}

std::string CameraTracks::Driven() const {
  std::string out;
  for (const SyncTrack& track : tracks) {
    if (track.keys.empty()) continue;
    if (!out.empty()) out += ' ';
    out += track.name.substr(name_prefix_length);
  }
  return out;
}

void CameraTracks::Clear() {
  for (SyncTrack& track : tracks) track.keys.clear();
}
