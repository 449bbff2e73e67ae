#ifndef TESSARY_CAPTURE_PROGRESS_H
#define TESSARY_CAPTURE_PROGRESS_H

#include <chrono>
#include <string>

// A progress line on standard error: a bar, frames done, the part playing, frames per second and
// the time left. On a terminal it redraws one line a few times a second; otherwise it writes a
// line at every tenth of the way.
class Progress {
 public:
  Progress(const std::string& what, int total);
  // `done` frames of `total` are finished; `part` is the part of the show playing.
  void Update(int done, const char* part);
  // Ends the line with the totals.
  void Finish();

 private:
  void Print(int done, const char* part, bool last);

  std::string what_;
  int total_ = 0;
  bool terminal_ = false;
  int last_tenth_ = -1;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_print_;
};

#endif
