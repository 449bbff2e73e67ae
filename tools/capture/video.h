#ifndef TESSARY_CAPTURE_VIDEO_H
#define TESSARY_CAPTURE_VIDEO_H

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A flag a signal handler sets: lock-free, so the handler may write it and any thread read it.
using InterruptFlag = std::atomic<bool>;
static_assert(InterruptFlag::is_always_lock_free, "a signal handler sets the flag");

// How the video is encoded.
enum class VideoPreset {
  standard,  // quick to make: the frames as drawn, x264 at a fast setting
  web,       // for video sites: 16:9 3840x2160 with the frames in the middle, High profile,
             // closed half-second GOPs, fast start, AAC-LC 48 kHz at 384 kb/s
};

// What the video is made of.
struct VideoSettings {
  std::string path;  // the file to make; its extension picks the container
  int width = 0;     // the frames given to Write
  int height = 0;
  int fps = 60;
  int frame_count = 0;
  std::string music_path;  // muxed as AAC; empty for a silent audio track
  float music_start = 0;   // where in the music the video begins, in seconds
  VideoPreset preset = VideoPreset::standard;
  std::string speed;  // x264's speed preset instead of the preset's own (e.g. ultrafast)
  // The encoder program: a name looked up on PATH, or a path. Anything that takes ffmpeg's
  // arguments and reads the frames on its standard input will do (the tests use stand-ins).
  std::string program = "ffmpeg";
  // Set by the caller's signal handler: every wait then ends within a tenth of a second.
  const InterruptFlag* interrupted = nullptr;
  // How long the encoder may take no data, or take to end once its input has ended, before it
  // counts as hung. At 3840x2160 x264 flushes some 40 frames at the end, about 20 s of CPU: this
  // leaves room for a machine shared with other work.
  double stall_seconds = 600;
};

// Feeds raw frames to ffmpeg on its standard input, which encodes them as H.264 (yuv420p,
// BT.709) with the music as AAC. A frame is RGBA rows, bottom row first, as glReadPixels gives
// them. Frames go to ffmpeg from a writer thread, so the caller renders the next frame while
// ffmpeg takes the last one. ffmpeg writes under a temporary name next to the target, and the
// file takes its name only once ffmpeg has finished cleanly: a failure or an interruption leaves
// nothing behind. ffmpeg runs in its own process group, which Abort kills whole, so that no
// helper it started keeps the pipe open. No call waits longer than the stall limit, and none
// longer than a tenth of a second once the interrupt flag is set. Owns the process, the pipe and
// the writer thread.
class VideoEncoder {
 public:
  VideoEncoder() = default;
  ~VideoEncoder();  // aborts a video not finished
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Bytes of one frame: width x height x 4.
  static size_t FrameBytes(const VideoSettings& settings);

  // Starts ffmpeg and the writer. Returns false with a one-line reason (ffmpeg missing, cannot
  // start, a video already being written).
  bool Start(const VideoSettings& settings, std::string& error);
  // Queues one frame (FrameBytes long) and returns once the writer has room for it, at most one
  // frame behind: `frame` is swapped with a free buffer of the same size, whose contents are
  // stale. Returns false once ffmpeg has failed, stalled or the capture was interrupted, with
  // the reason; the output is then already removed.
  bool Write(std::vector<unsigned char>& frame, std::string& error);
  // Sends the queued frames, ends the input, waits for ffmpeg and moves the file into place.
  bool Finish(std::string& error);
  // Stops ffmpeg and the writer and removes what ffmpeg wrote. Safe at any time.
  void Abort();

 private:
  // The writer thread: sends each queued frame down the pipe until told to stop or it fails.
  void WriteFrames();
  // Sends one frame; false, with the reason kept for the caller, when it cannot.
  bool SendFrame(const std::vector<unsigned char>& frame);
  // Tells the writer to stop after the queued frame and waits for it; false when it failed.
  bool StopWriter();
  // Waits for ffmpeg to end by itself, at most the stall limit; true when it ended with status
  // 0, else the reason in `error`.
  bool Wait(std::string& error);
  // Kills ffmpeg's process group and collects ffmpeg.
  void KillGroup();
  // After the writer failed: the reason in `error`, and everything removed.
  bool Failed(std::string& error);
  bool Interrupted() const { return settings_.interrupted != nullptr && *settings_.interrupted; }

  VideoSettings settings_;
  bool started_ = false;  // between Start and Finish or Abort
  pid_t pid_ = -1;        // ffmpeg, also its process group
  int input_ = -1;        // write end of ffmpeg's standard input, non-blocking
  int log_ = -1;          // ffmpeg's standard error, an unlinked temporary file
  std::string temp_path_;

  std::thread writer_;
  std::atomic<bool> aborting_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<unsigned char> queued_;  // the frame waiting for the writer
  bool has_queued_ = false;            // queued_ holds a frame not yet taken
  bool stopping_ = false;              // no more frames: the writer ends once the queue is empty
  bool write_failed_ = false;          // the writer stopped early; see write_error_
  std::string write_error_;            // why, or empty when ffmpeg stopped reading
};

// The path of an executable `name` found on $PATH, or "" when there is none.
std::string find_program(const std::string& name);

// The ffmpeg command line for a video written to `output`.
std::vector<std::string> ffmpeg_arguments(const VideoSettings& settings, const std::string& output);

#endif
