#include "video.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks at the interrupt flag, the stall limit and whether ffmpeg has ended.
constexpr int poll_ms = 20;

// x264's speed and quality for the standard video, chosen by measurement on two cores shared
// with the drawing (see the README's Releasing section): superfast at quality 15 took about 70%
// of the CPU time veryfast at 18 did, its frames closer to the stills. x264 picks its own thread
// count: one thread cost more CPU time, and two no less than its own choice.
const char* const standard_x264_preset = "superfast";
const char* const standard_x264_crf = "15";
const char* const standard_audio_rate = "192k";

// The web preset: quality first, measured side by side on two seconds of the lines and plasma
// parts at 4K (the README's Releasing section has the table). The quality setting decides the
// picture, the speed preset hardly: slow gave medium's SSIM for 44% more time. CRF 12 (about
// 110 Mb/s) halves CRF 16's SSIM loss for the same time and 40% more bytes, which a video site
// takes as an upload and re-encodes.
const char* const web_x264_preset = "medium";
const char* const web_x264_crf = "12";
const char* const web_audio_rate = "384k";
const char* const web_audio_hz = "48000";
constexpr int web_gop_seconds_denominator = 2;  // a key frame every half second

// Signals the capture's main thread handles (or ignores, for EPIPE instead of a kill): a thread
// started while they are blocked never takes them.
sigset_t main_thread_signals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  sigaddset(&set, SIGPIPE);
  return set;
}

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

// The encoder program's path: `program` itself when it names a path, else found on PATH.
std::string resolve_program(const std::string& program) {
  if (program.find('/') == std::string::npos) return find_program(program);
  return access(program.c_str(), X_OK) == 0 ? program : "";
}

std::string seconds_text(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", seconds);
  return text;
}

// The video filter: rows turned the right way up, converted to 4:2:0 with BT.709's matrix (what
// the tags say), and for the web the frame centred on a black 16:9 canvas of the same height.
std::string video_filter(const VideoSettings& s) {
  std::string filter =
      "vflip,scale=out_color_matrix=bt709:out_range=tv:flags=bicubic+accurate_rnd,format=yuv420p";
  if (s.preset == VideoPreset::web) {
    const int canvas_width = (s.height * 16 / 9 + 1) / 2 * 2;
    filter += ",pad=" + std::to_string(canvas_width) + ":" + std::to_string(s.height) +
              ":(ow-iw)/2:0:black";
  }
  return filter;
}

// Starts `program` with `args`, reading `input` and writing its errors to `log`, as the leader of
// its own process group with every signal as usual whatever this process does. Returns 0 or the
// error number.
int spawn_encoder(const std::string& program, const std::vector<std::string>& args, int input,
                  int log, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, log, 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  const sigset_t defaults = main_thread_signals();
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return spawned;
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
  const bool web = s.preset == VideoPreset::web;
  char size[32], duration[32];
  std::snprintf(size, sizeof size, "%dx%d", s.width, s.height);
  std::snprintf(duration, sizeof duration, "%.6f", static_cast<double>(s.frame_count) / s.fps);
  const std::string rate = std::to_string(s.fps);
  std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                                   "-f",     "rawvideo",     "-pix_fmt",  "rgba",  "-s",
                                   size,     "-framerate",   rate,        "-i",    "pipe:0"};
  if (s.music_path.empty()) {
    args.insert(args.end(), {"-f", "lavfi", "-t", duration, "-i",
                             "anullsrc=channel_layout=stereo:sample_rate=48000"});
  } else {
    if (s.music_start > 0) {
      char start[32];
      std::snprintf(start, sizeof start, "%.6f", static_cast<double>(s.music_start));
      args.insert(args.end(), {"-ss", start});
    }
    args.insert(args.end(), {"-t", duration, "-i", s.music_path});
  }
  const std::string speed = !s.speed.empty() ? s.speed
                            : web            ? web_x264_preset
                                             : standard_x264_preset;
  args.insert(args.end(), {"-map",
                           "0:v:0",
                           "-map",
                           "1:a:0",
                           "-vf",
                           video_filter(s),
                           "-c:v",
                           "libx264",
                           "-preset",
                           speed,
                           "-crf",
                           web ? web_x264_crf : standard_x264_crf,
                           "-pix_fmt",
                           "yuv420p",
                           "-colorspace",
                           "bt709",
                           "-color_primaries",
                           "bt709",
                           "-color_trc",
                           "bt709",
                           "-color_range",
                           "tv"});
  if (web) {
    const std::string gop = std::to_string(s.fps / web_gop_seconds_denominator);
    args.insert(args.end(), {"-profile:v", "high", "-g", gop, "-flags", "+cgop", "-c:a", "aac",
                             "-profile:a", "aac_low", "-b:a", web_audio_rate, "-ar", web_audio_hz});
  } else {
    args.insert(args.end(), {"-c:a", "aac", "-b:a", standard_audio_rate});
  }
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

size_t VideoEncoder::FrameBytes(const VideoSettings& settings) {
  return static_cast<size_t>(settings.width) * static_cast<size_t>(settings.height) * 4;
}

bool VideoEncoder::Start(const VideoSettings& settings, std::string& error) {
  if (started_) {
    error = "a video is already being written (finish or abort it first)";
    return false;
  }
  const std::string program = resolve_program(settings.program);
  if (program.empty()) {
    error = settings.program == "ffmpeg"
                ? "ffmpeg not found on PATH: install Debian's ffmpeg (scripts/install-deps does)"
                : "encoder program " + settings.program + " not found or not executable";
    return false;
  }
  settings_ = settings;
  temp_path_ = partial_path(settings.path);
  char log_name[] = "/tmp/tessary-capture-ffmpeg-XXXXXX";
  log_ = mkostemp(log_name, O_CLOEXEC);
  if (log_ < 0) {
    error = std::string("cannot make a temporary file: ") + std::strerror(errno);
    return false;
  }
  unlink(log_name);
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    Abort();
    return false;
  }
  input_ = pipe_fds[1];
  fcntl(input_, F_SETFL, fcntl(input_, F_GETFL) | O_NONBLOCK);

  const int spawned =
      spawn_encoder(program, ffmpeg_arguments(settings, temp_path_), pipe_fds[0], log_, pid_);
  close(pipe_fds[0]);
  if (spawned != 0) {
    pid_ = -1;
    error = "cannot start " + program + ": " + std::strerror(spawned);
    Abort();
    return false;
  }
  queued_.assign(FrameBytes(settings), 0);
  has_queued_ = stopping_ = write_failed_ = false;
  write_error_.clear();
  aborting_ = false;
  started_ = true;
  // The writer inherits this thread's signal mask: blocked here, restored at once.
  const sigset_t blocked = main_thread_signals();
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &blocked, &previous);
  writer_ = std::thread(&VideoEncoder::WriteFrames, this);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return true;
}

bool VideoEncoder::Write(std::vector<unsigned char>& frame, std::string& error) {
  if (!started_) {
    error = "no video is being written (start one first)";
    return false;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  while (!changed_.wait_for(lock, std::chrono::milliseconds(poll_ms),
                            [this] { return !has_queued_ || write_failed_; })) {
    if (Interrupted()) break;
  }
  if (write_failed_ || has_queued_) {
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
    if (!SendFrame(frame)) return;
  }
}

bool VideoEncoder::SendFrame(const std::vector<unsigned char>& frame) {
  const unsigned char* data = frame.data();
  size_t left = frame.size();
  Clock::time_point last_taken = Clock::now();
  std::string reason;
  while (left > 0) {
    if (aborting_ || Interrupted()) {
      reason = "interrupted";
      break;
    }
    const ssize_t n = write(input_, data, left);
    if (n > 0) {
      data += n;
      left -= static_cast<size_t>(n);
      last_taken = Clock::now();
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) break;  // ffmpeg stopped reading: its own reason counts
    if (std::chrono::duration<double>(Clock::now() - last_taken).count() >
        settings_.stall_seconds) {
      reason = "ffmpeg took no frame data for " + seconds_text(settings_.stall_seconds);
      break;
    }
    pollfd ready = {input_, POLLOUT, 0};
    poll(&ready, 1, poll_ms);
  }
  if (left == 0) return true;
  std::lock_guard<std::mutex> lock(mutex_);
  write_failed_ = true;
  write_error_ = reason;
  changed_.notify_all();
  return false;
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
  if (Interrupted()) aborting_ = true;  // the writer gives up at once
  StopWriter();
  if (input_ >= 0) close(input_);
  input_ = -1;
  if (Interrupted()) {
    error = "interrupted";
  } else if (!write_error_.empty()) {
    error = write_error_;
  } else if (Wait(error) || error.empty()) {
    // It stopped reading but claims success: say what is known.
    error = "ffmpeg stopped reading frames";
  }
  Abort();
  return false;
}

bool VideoEncoder::Finish(std::string& error) {
  if (!started_) {
    error = "no video is being written (start one first)";
    return false;
  }
  if (!StopWriter()) return Failed(error);
  close(input_);
  input_ = -1;
  if (!Wait(error)) {
    Abort();
    return false;
  }
  if (std::rename(temp_path_.c_str(), settings_.path.c_str()) != 0) {
    error = "cannot move " + temp_path_ + " to " + settings_.path + ": " + std::strerror(errno);
    Abort();
    return false;
  }
  temp_path_.clear();
  Abort();  // only the log is left to close
  return true;
}

bool VideoEncoder::Wait(std::string& error) {
  if (pid_ < 0) return false;
  const Clock::time_point start = Clock::now();
  siginfo_t info = {};
  for (;;) {
    // Looked at without collecting it, so that its process group stays ffmpeg's.
    info.si_pid = 0;
    const int found = waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
    if (found < 0 && errno != EINTR) break;
    if (found == 0 && info.si_pid == pid_) break;
    if (Interrupted()) {
      KillGroup();
      error = "interrupted";
      return false;
    }
    if (std::chrono::duration<double>(Clock::now() - start).count() > settings_.stall_seconds) {
      KillGroup();
      error = "ffmpeg did not end within " + seconds_text(settings_.stall_seconds) +
              " of its input's end";
      return false;
    }
    usleep(poll_ms * 1000);
  }
  const bool exited = info.si_code == CLD_EXITED;
  const int status = info.si_status;
  KillGroup();  // anything it left behind; ffmpeg itself is collected
  if (exited && status == 0) return true;
  const std::string reason = log_ >= 0 ? last_log_line(log_) : "";
  char how[64];
  std::snprintf(how, sizeof how, exited ? "exit status %d" : "signal %d", status);
  error = std::string("ffmpeg failed (") + how + ")" + (reason.empty() ? "" : ": " + reason);
  return false;
}

void VideoEncoder::KillGroup() {
  if (pid_ <= 0) return;
  // ffmpeg is not yet collected, so the group's number cannot have been reused.
  kill(-pid_, SIGKILL);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

void VideoEncoder::Abort() {
  aborting_ = true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    has_queued_ = false;
    stopping_ = true;
    changed_.notify_all();
  }
  // ffmpeg goes first, killed outright since its output is removed anyway.
  KillGroup();
  StopWriter();
  if (input_ >= 0) close(input_);
  input_ = -1;
  if (!temp_path_.empty()) std::remove(temp_path_.c_str());
  temp_path_.clear();
  if (log_ >= 0) close(log_);
  log_ = -1;
  started_ = false;
}
