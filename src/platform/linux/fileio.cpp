// Replacing a file on POSIX systems: a new file beside it, fsync, rename over it, fsync of the
// folder so the rename itself is on disk.
#include "fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace fileio {

namespace {

// Tries for a free name beside the file before giving up.
constexpr int max_name_tries = 100;

std::string folder_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Writes all of `bytes` to `fd`, through partial writes and interruptions.
bool write_all(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Opens a new file beside `target` (hidden, unique to this process), created as any new file
// is (the umask applies). -1 with errno set when none can be made.
int open_beside(const std::string& target, std::string& temporary) {
  const std::string stem =
      folder_of(target) + "/." + name_of(target) + ".new" + std::to_string(::getpid()) + "-";
  static unsigned counter = 0;
  for (int i = 0; i < max_name_tries; ++i) {
    temporary = stem + std::to_string(counter++);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Flushes the folder's entries (the rename) to disk; where a folder cannot be synced (some
// file systems refuse) the file's own data is already there.
void sync_folder(const std::string& target) {
  const int fd = ::open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

}  // namespace

bool replace_file(const std::string& path, const std::string& bytes, std::string& error) {
  const std::string target = final_target(path);
  const std::string where = target == path ? "" : " (writing " + target + ")";
  auto fail = [&](int code) {
    error = std::strerror(code) + where;
    return false;
  };
  struct stat old;
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (!existed && errno != ENOENT) return fail(errno);
  if (existed) {
    if (S_ISDIR(old.st_mode)) return fail(EISDIR);
    // Refused like an editor refuses: no write bit is kept so even for root.
    if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
      error = std::string("it is read-only") + where;
      return false;
    }
  }
  std::string temporary;
  const int fd = open_beside(target, temporary);
  if (fd < 0) return fail(errno);
  // The first failure's cause is the one reported.
  int code = write_all(fd, bytes) ? 0 : errno;
  if (code == 0 && existed) {
    // The group follows when we may set it; root keeps the owner too. The mode comes after:
    // a change of owner clears its set-id bits.
    const uid_t owner = ::geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1);
    if (::fchown(fd, owner, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
      // A group the writer is not in: the file takes the writer's, as any new file would.
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) code = errno;
  }
  if (code == 0 && ::fsync(fd) != 0) code = errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code != 0) {
    ::unlink(temporary.c_str());
    return fail(code);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int rename_code = errno;
    ::unlink(temporary.c_str());
    return fail(rename_code);
  }
  sync_folder(target);
  return true;
}

}  // namespace fileio
