#ifndef TESSARY_CAPTURE_BENCH_H
#define TESSARY_CAPTURE_BENCH_H

#include <cstdio>
#include <string>
#include <vector>

class ShowRenderer;

// The time a frame has at 120 frames per second.
constexpr double frame_budget_ms = 1000.0 / 120.0;

// Mean, median, 99th percentile (nearest rank) and maximum of a set of times in ms.
struct TimeStats {
  double mean = 0;
  double median = 0;
  double p99 = 0;
  double max = 0;
};
TimeStats time_stats(std::vector<double> ms);

// Frame times of one part of the show.
struct PartTimes {
  std::string part;
  std::vector<double> frame;   // step + finish
  std::vector<double> step;    // the frame step on the CPU (issuing the GL calls)
  std::vector<double> finish;  // then glFinish: waiting for the GL work to complete
};

// Renders frames [next frame, end_frame) in full as the player does, timing each, and returns
// the times per part in show order (parts with no frame left out) followed by "all".
std::vector<PartTimes> run_bench(ShowRenderer& renderer, int end_frame);

// Prints the times as a Markdown table (or as JSON) with each time also as a share of the frame
// budget. `heading` describes the run (size, renderer).
void print_bench(const std::vector<PartTimes>& parts, const std::string& heading, bool json,
                 std::FILE* out);

#endif
