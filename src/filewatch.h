#ifndef TESSARY_FILEWATCH_H
#define TESSARY_FILEWATCH_H

// Which of a set of files changed on disk since the last look: by modification time and size,
// polled (no inotify), so it works wherever std::filesystem does. A change is told once the
// file has stood still from one poll to the next, so a file an editor is still writing is not
// read cut short.
//
// How to use (say, four times a second in the frame loop):
//   FileWatcher watcher({camera_file_path, "shaders/toon.vert", "shaders/toon.frag"});
//   for (const std::string& path : watcher.Poll()) ...  // reload what `path` feeds
//   watcher.Accept(path);                               // after writing `path` ourselves

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class FileWatcher {
 public:
  // Takes the first look at `paths` (relative paths against the working directory).
  explicit FileWatcher(std::vector<std::string> paths);

  // The watched paths whose file changed, appeared or disappeared since it was last told (or
  // since the construction) and is now as the previous Poll saw it, in the order given. Never
  // throws.
  std::vector<std::string> Poll();
  // Takes `path` as it now is for seen and told: the program's own write, not a change.
  void Accept(const std::string& path);
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
  std::vector<Stamp> told_;  // as last told (or first seen)
  std::vector<Stamp> seen_;  // as the last Poll saw it
};

#endif
