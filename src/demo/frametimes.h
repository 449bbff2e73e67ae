#ifndef TESSARY_DEMO_FRAMETIMES_H
#define TESSARY_DEMO_FRAMETIMES_H

// Frame times per part of the show, and the table (or JSON) that reports them: the same
// report for the offline renderer's benchmark and the player's --stats.
//
// How to use:
//   FrameTimes times;                                   // before the frame loop
//   times.Add(part_name_at(beat), frame_ms);            // once per shown frame, or
//   times.Add(part_name_at(beat), step_ms, finish_ms);  // with the frame split in two
//   print_frame_times(times.Parts(), "1024x768, player under Xvfb", false, stdout);  // at exit

#include <cstdio>
#include <string>
#include <vector>

#include "tunables.h"

// The time a frame has at the show's step rate.
constexpr double frame_budget_ms = 1000.0 / show_fps;

// Mean, median, 99th percentile (nearest rank) and maximum of a set of times in ms.
struct TimeStats {
  double mean = 0;
  double median = 0;
  double p99 = 0;
  double max = 0;
};
TimeStats time_stats(std::vector<double> ms);

// Frame times of one part of the show. `step` and `finish` are empty when the frames were
// recorded whole.
struct PartTimes {
  std::string part;
  std::vector<double> frame;   // the whole frame: step + finish
  std::vector<double> step;    // the frame step on the CPU (issuing the GL calls)
  std::vector<double> finish;  // then waiting for the GL work to complete
};

// Records frame times in show order, each with the name of the part it belongs to. Recording
// allocates nothing for the first `reserved` frames.
class FrameTimes {
 public:
  // Room for the whole show at the step rate, with some to spare.
  static constexpr size_t default_reserve = 200 * show_fps;

  explicit FrameTimes(size_t reserved = default_reserve);

  // One frame of `part` (not null, and outliving this object, as part_name_at's names do)
  // lasting `frame_ms`.
  void Add(const char* part, double frame_ms);
  // One frame of `part` split into its step and its finish.
  void Add(const char* part, double step_ms, double finish_ms);

  // The frames grouped by part in show order (a part that comes back gets a second group),
  // followed by "all". Split times are kept only when every frame was recorded split.
  std::vector<PartTimes> Parts() const;
  // Every frame's whole time, in the order recorded.
  const std::vector<double>& Frames() const { return frame_; }

 private:
  std::vector<const char*> part_;
  std::vector<double> frame_;
  std::vector<double> step_;
  std::vector<double> finish_;
};

// Prints the parts as a Markdown table (or as JSON): frames, then per time kind the mean,
// median, 99th percentile and maximum, in ms and as a share of the frame budget, and the frames
// a second the mean frame gives. `heading` describes the run (size, renderer, duration).
void print_frame_times(const std::vector<PartTimes>& parts, const std::string& heading, bool json,
                       std::FILE* out);

#endif
