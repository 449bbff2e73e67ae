#ifndef TESSARY_CAPTURE_BENCH_H
#define TESSARY_CAPTURE_BENCH_H

#include <string>
#include <vector>

#include "demo/frametimes.h"

class ShowRenderer;

// Renders steps [next step, end_step) in full as the player does and returns each frame's
// time, split into the step (issuing the GL calls) and the finish (glFinish), with its part.
// With several renderers the frames interleave (frame n by each in turn, then frame n + 1), so
// that a machine busy at times weighs on them all alike; one set of times each, in order.
std::vector<FrameTimes> run_bench(const std::vector<ShowRenderer*>& renderers, int end_step);

// Writes what a plot of the run needs into the directory `dir` (which must exist):
// "frames.csv", one line a frame (seconds into the show, frame, step and finish ms), the first
// frame being `first_frame`, and "parts.csv", one line a part (start and end second, name,
// mean frame ms); with a `run` name, "frames-RUN.csv" and "parts-RUN.csv". Returns false with
// the reason when a file cannot be written.
bool write_plot_data(const FrameTimes& times, int first_frame, const std::string& dir,
                     std::string& error, const std::string& run = "");

// The runs side by side: per part, each run's mean and p99 frame in ms, and how many times
// faster than the first run the others are (Markdown).
void print_side_by_side(const std::vector<std::string>& names, const std::vector<FrameTimes>& runs,
                        std::FILE* out);

#endif
