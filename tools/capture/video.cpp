#include "video.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "gl/glcheck.h"

extern char** environ;

namespace {

// x264's speed preset and quality, chosen by measurement on two cores shared with the drawing:
// superfast at quality 15 takes about 70% of the CPU time veryfast at 18 took, and its frames
// are closer to the stills (SSIM 0.887 to 0.979 at 30, 70, 100, 130 and 150 s, against 0.880 to
// 0.977), for a file 1.8 times the size. x264 picks its own thread count: one thread cost more
// CPU time, and two no less than its own choice.
const char* const x264_preset = "superfast";
const char* const x264_crf = "15";

// "dir/name.mp4" -> "dir/name.partial.mp4": same directory (the final rename is atomic) and same
// extension (ffmpeg picks the container from it).
std::string partial_path(const std::string& path) {
  std::filesystem::path p(path);
  std::filesystem::path partial = p;
  partial.replace_filename(p.stem().string() + ".partial" + p.extension().string());
  return partial.string();
}

// The last non-empty line of what ffmpeg wrote to its standard error.
std::string last_log_line(int fd) {
  std::string text;
  char buffer[4096];
  off_t offset = 0;
  ssize_t n = 0;
  while ((n = pread(fd, buffer, sizeof buffer, offset)) > 0) {
    text.append(buffer, static_cast<size_t>(n));
    offset += n;
  }
  std::istringstream lines(text);
  std::string line, last;
  while (std::getline(lines, line)) {
    if (line.find_first_not_of(" \t\r") != std::string::npos) last = line;
  }
  return last;
}

}  // namespace

std::string find_program(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return "";
  std::istringstream dirs(path);
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + name;
    struct stat info;
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return "";
}

std::vector<std::string> ffmpeg_arguments(const VideoSettings& s, const std::string& output) {
  char size[32], rate[16], duration[32];
  std::snprintf(size, sizeof size, "%dx%d", s.width, s.height);
  std::snprintf(rate, sizeof rate, "%d", s.fps);
  std::snprintf(duration, sizeof duration, "%.6f", static_cast<double>(s.frame_count) / s.fps);
  std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                                   "-f",     "rawvideo",     "-pix_fmt",  "rgba",  "-s",
                                   size,     "-framerate",   rate,        "-i",    "pipe:0"};
  if (s.music_path.empty()) {
    args.insert(args.end(), {"-f", "lavfi", "-t", duration, "-i",
                             "anullsrc=channel_layout=stereo:sample_rate=44100"});
  } else {
    args.insert(args.end(), {"-t", duration, "-i", s.music_path});
  }
  // The frames come bottom row first: vflip only turns the row order around, copying nothing.
  args.insert(args.end(), {"-map", "0:v:0", "-map", "1:a:0", "-vf", "vflip", "-c:v", "libx264",
                           "-preset", x264_preset, "-crf", x264_crf, "-pix_fmt", "yuv420p", "-c:a",
                           "aac", "-b:a", "192k"});
  const std::string ext = std::filesystem::path(output).extension().string();
  if (ext == ".mp4" || ext == ".mov" || ext == ".m4v") {
    args.insert(args.end(), {"-movflags", "+faststart"});
  }
  args.push_back(output);
  return args;
}

VideoEncoder::~VideoEncoder() {
  Abort();
}

bool VideoEncoder::Start(const VideoSettings& settings, std::string& error) {
  const std::string ffmpeg = find_program("ffmpeg");
  if (ffmpeg.empty()) {
    error = "ffmpeg not found on PATH: install Debian's ffmpeg (scripts/install-deps does)";
    return false;
  }
  path_ = settings.path;
  temp_path_ = partial_path(settings.path);

  char log_name[] = "/tmp/tessary-capture-ffmpeg-XXXXXX";
  log_ = mkstemp(log_name);
  if (log_ < 0) {
    error = std::string("cannot make a temporary file: ") + std::strerror(errno);
    return false;
  }
  unlink(log_name);
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  input_ = pipe_fds[1];

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[0], 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, log_, 2);
  // ffmpeg dies of a broken pipe or an interrupt as usual, whatever this process ignores.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  const std::vector<std::string> args = ffmpeg_arguments(settings, temp_path_);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const int spawned =
      posix_spawn(&pid_, ffmpeg.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(pipe_fds[0]);
  if (spawned != 0) {
    pid_ = -1;
    error = "cannot start " + ffmpeg + ": " + std::strerror(spawned);
    Abort();
    return false;
  }
  queued_.assign(FrameBytes(settings), 0);
  has_queued_ = stopping_ = write_failed_ = false;
  writer_ = std::thread(&VideoEncoder::WriteFrames, this);
  return true;
}

void read_frame(int width, int height, std::vector<unsigned char>& frame) {
  frame.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  glCheck(glPixelStorei(GL_PACK_ALIGNMENT, 4));
  glCheck(glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.data()));
}

size_t VideoEncoder::FrameBytes(const VideoSettings& settings) {
  return static_cast<size_t>(settings.width) * static_cast<size_t>(settings.height) * 4;
}

bool VideoEncoder::Write(std::vector<unsigned char>& frame, std::string& error) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !has_queued_ || write_failed_; });
  if (write_failed_) {
    lock.unlock();
    return Failed(error);
  }
  queued_.swap(frame);
  has_queued_ = true;
  changed_.notify_all();
  frame.resize(queued_.size());
  return true;
}

void VideoEncoder::WriteFrames() {
  // A write to a pipe that ffmpeg closed then fails with EPIPE instead of killing the process.
  sigset_t pipe_signal;
  sigemptyset(&pipe_signal);
  sigaddset(&pipe_signal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);
  std::vector<unsigned char> frame;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return has_queued_ || stopping_; });
      if (!has_queued_) return;  // stopping, and nothing left
      frame.swap(queued_);
      has_queued_ = false;
      changed_.notify_all();
    }
    const unsigned char* data = frame.data();
    size_t left = frame.size();
    while (left > 0) {
      const ssize_t n = write(input_, data, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        // ffmpeg has stopped reading: it failed, or it was stopped.
        std::lock_guard<std::mutex> lock(mutex_);
        write_failed_ = true;
        changed_.notify_all();
        return;
      }
      data += n;
      left -= static_cast<size_t>(n);
    }
  }
}

bool VideoEncoder::StopWriter() {
  if (!writer_.joinable()) return !write_failed_;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
  }
  writer_.join();
  return !write_failed_;
}

bool VideoEncoder::Failed(std::string& error) {
  StopWriter();
  if (input_ >= 0) close(input_);
  input_ = -1;
  // Its own reason is the useful one.
  Wait(error);
  if (error.empty()) error = "ffmpeg stopped reading frames";
  Abort();
  return false;
}

bool VideoEncoder::Finish(std::string& error) {
  if (!StopWriter()) return Failed(error);
  if (input_ >= 0) close(input_);
  input_ = -1;
  if (!Wait(error)) {
    Abort();
    return false;
  }
  if (std::rename(temp_path_.c_str(), path_.c_str()) != 0) {
    error = "cannot move " + temp_path_ + " to " + path_ + ": " + std::strerror(errno);
    Abort();
    return false;
  }
  temp_path_.clear();
  if (log_ >= 0) close(log_);
  log_ = -1;
  return true;
}

bool VideoEncoder::Wait(std::string& error) {
  if (pid_ < 0) return false;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  const std::string reason = log_ >= 0 ? last_log_line(log_) : "";
  char how[64];
  if (WIFEXITED(status)) {
    std::snprintf(how, sizeof how, "exit status %d", WEXITSTATUS(status));
  } else {
    std::snprintf(how, sizeof how, "signal %d", WTERMSIG(status));
  }
  error = std::string("ffmpeg failed (") + how + ")" + (reason.empty() ? "" : ": " + reason);
  return false;
}

void VideoEncoder::Abort() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    has_queued_ = false;
    stopping_ = true;
    changed_.notify_all();
  }
  // ffmpeg goes first, killed outright since its output is removed anyway: a writer blocked on
  // the pipe then fails, and can be joined. (Asked to end, ffmpeg would wait for its input.)
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }
  StopWriter();
  if (input_ >= 0) close(input_);
  input_ = -1;
  if (!temp_path_.empty()) std::remove(temp_path_.c_str());
  temp_path_.clear();
  if (log_ >= 0) close(log_);
  log_ = -1;
}
