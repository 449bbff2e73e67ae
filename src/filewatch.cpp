#include "filewatch.h"

FileWatcher::FileWatcher(std::vector<std::string> paths) : paths_(std::move(paths)) {
  for (const std::string& path : paths_) told_.push_back(Look(path));
  seen_ = told_;
}

std::vector<std::string> FileWatcher::Poll() {
  std::vector<std::string> changed;
  for (size_t i = 0; i < paths_.size(); ++i) {
    const Stamp now = Look(paths_[i]);
    const bool still = !(now != seen_[i]);
    seen_[i] = now;
    if (still && now != told_[i]) {
      changed.push_back(paths_[i]);
      told_[i] = now;
    }
  }
  return changed;
}

void FileWatcher::Accept(const std::string& path) {
  for (size_t i = 0; i < paths_.size(); ++i) {
    if (paths_[i] == path) told_[i] = seen_[i] = Look(path);
  }
}

FileWatcher::Stamp FileWatcher::Look(const std::string& path) {
  std::error_code error;
  Stamp stamp;
  stamp.time = std::filesystem::last_write_time(path, error);
  if (error) return Stamp();
  stamp.size = std::filesystem::file_size(path, error);
  if (error) stamp.size = 0;  // a directory, say: its time alone tells
  stamp.exists = true;
  return stamp;
}
