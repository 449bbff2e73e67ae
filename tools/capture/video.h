#ifndef TESSARY_CAPTURE_VIDEO_H
#define TESSARY_CAPTURE_VIDEO_H

#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What the video is made of.
struct VideoSettings {
  std::string path;  // the file to make; its extension picks the container
  int width = 0;
  int height = 0;
  int fps = 60;
  int frame_count = 0;
  std::string music_path;  // muxed as AAC; empty for a silent audio track
};

// Feeds raw frames to Debian's ffmpeg on its standard input, which encodes them as H.264
// (yuv420p) with the music as AAC. A frame is RGBA rows, bottom row first, as glReadPixels
// gives them. Frames go to ffmpeg from a writer thread, so the caller renders the next frame
// while ffmpeg takes the last one. ffmpeg writes under a temporary name next to the target, and
// the file takes its name only once ffmpeg has finished cleanly: a failure or an interruption
// leaves nothing behind. Owns the ffmpeg process and the writer thread.
class VideoEncoder {
 public:
  VideoEncoder() = default;
  ~VideoEncoder();  // aborts a video not finished
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Bytes of one frame: width x height x 4.
  static size_t FrameBytes(const VideoSettings& settings);

  // Starts ffmpeg and the writer. Returns false with a one-line reason (ffmpeg missing, cannot
  // start).
  bool Start(const VideoSettings& settings, std::string& error);
  // Queues one frame (FrameBytes long) and returns once the writer has room for it, at most one
  // frame behind: `frame` is swapped with a free buffer of the same size, whose contents are
  // stale. Returns false once ffmpeg has failed, with its reason; the caller then stops and the
  // output is already removed.
  bool Write(std::vector<unsigned char>& frame, std::string& error);
  // Sends the queued frames, ends the input, waits for ffmpeg and moves the file into place.
  bool Finish(std::string& error);
  // Stops ffmpeg and the writer and removes what ffmpeg wrote.
  void Abort();

 private:
  // The writer thread: sends each queued frame down the pipe until told to stop or the pipe
  // breaks.
  void WriteFrames();
  // Tells the writer to stop after the queued frame and waits for it; false when it failed.
  bool StopWriter();
  // Waits for ffmpeg; true when it ended with status 0, else its last error line in `error`.
  bool Wait(std::string& error);
  // After the writer failed: ffmpeg's reason in `error`, and everything removed.
  bool Failed(std::string& error);

  pid_t pid_ = -1;
  int input_ = -1;  // write end of ffmpeg's standard input
  int log_ = -1;    // ffmpeg's standard error, an unlinked temporary file
  std::string path_;
  std::string temp_path_;

  std::thread writer_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<unsigned char> queued_;  // the frame waiting for the writer
  bool has_queued_ = false;            // queued_ holds a frame not yet taken
  bool stopping_ = false;              // no more frames: the writer ends once the queue is empty
  bool write_failed_ = false;          // the pipe broke: ffmpeg stopped reading
};

// Reads the current framebuffer as the encoder takes a frame: RGBA rows, bottom row first.
void read_frame(int width, int height, std::vector<unsigned char>& frame);

// The path of an executable `name` found on $PATH, or "" when there is none.
std::string find_program(const std::string& name);

// The ffmpeg command line for a video written to `output`.
std::vector<std::string> ffmpeg_arguments(const VideoSettings& settings, const std::string& output);

#endif
