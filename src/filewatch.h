#ifndef TESSARY_FILEWATCH_H
#define TESSARY_FILEWATCH_H

// Which of a set of files changed on disk since the last look: by modification time and size,
// polled (no inotify), so it works wherever std::filesystem does.
//
// How to use (say, twice a second in the frame loop):
//   FileWatcher watcher({camera_file_path, "shaders/toon.vert", "shaders/toon.frag"});
//   for (const std::string& path : watcher.Poll()) ...  // reload what `path` feeds

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class FileWatcher {
 public:
  // Takes the first look at `paths` (relative paths against the working directory).
  explicit FileWatcher(std::vector<std::string> paths);

  // The watched paths whose file changed, appeared or disappeared since the last Poll (or the
  // construction), in the order given. Never throws.
  std::vector<std::string> Poll();
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  struct Stamp {
    bool exists = false;
    std::filesystem::file_time_type time;
    std::uintmax_t size = 0;
    bool operator!=(const Stamp& other) const {
      return exists != other.exists || time != other.time || size != other.size;
    }
  };
  static Stamp Look(const std::string& path);

  std::vector<std::string> paths_;
  std::vector<Stamp> stamps_;
};

#endif
