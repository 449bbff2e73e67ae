#ifndef TESSARY_CAPTURE_VIDEO_H
#define TESSARY_CAPTURE_VIDEO_H

#include <sys/types.h>

#include <string>
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

// Feeds raw RGB frames to Debian's ffmpeg on its standard input, which encodes them as H.264
// (yuv420p) with the music as AAC. ffmpeg writes under a temporary name next to the target, and
// the file takes its name only once ffmpeg has finished cleanly: a failure or an interruption
// leaves nothing behind. Owns the ffmpeg process.
class VideoEncoder {
 public:
  VideoEncoder() = default;
  ~VideoEncoder();  // aborts a video not finished
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  // Starts ffmpeg. Returns false with a one-line reason (ffmpeg missing, cannot start).
  bool Start(const VideoSettings& settings, std::string& error);
  // Sends one frame (RGB rows, top row first). Returns false once ffmpeg has failed, with its
  // reason; the caller then stops and the output is already removed.
  bool Write(const std::vector<unsigned char>& rgb, std::string& error);
  // Ends the input, waits for ffmpeg and moves the file into place.
  bool Finish(std::string& error);
  // Stops ffmpeg and removes what it wrote.
  void Abort();

 private:
  // Waits for ffmpeg; true when it ended with status 0, else its last error line in `error`.
  bool Wait(std::string& error);

  pid_t pid_ = -1;
  int input_ = -1;  // write end of ffmpeg's standard input
  int log_ = -1;    // ffmpeg's standard error, an unlinked temporary file
  std::string path_;
  std::string temp_path_;
};

// The path of an executable `name` found on $PATH, or "" when there is none.
std::string find_program(const std::string& name);

// The ffmpeg command line for a video written to `output`.
std::vector<std::string> ffmpeg_arguments(const VideoSettings& settings, const std::string& output);

#endif
