#ifndef TESSARY_CAPTURE_BENCH_H
#define TESSARY_CAPTURE_BENCH_H

#include <string>

#include "demo/frametimes.h"

class ShowRenderer;

// Renders steps [next step, end_step) in full as the player does and returns each frame's
// time, split into the step (issuing the GL calls) and the finish (glFinish), with its part.
FrameTimes run_bench(ShowRenderer& renderer, int end_step);

// Writes what a plot of the run needs into the directory `dir` (which must exist):
// "frames.csv", one line a frame (seconds into the show, frame, step and finish ms), the first
// frame being `first_frame`, and "parts.csv", one line a part (start and end second, name,
// mean frame ms). Returns false with the reason when a file cannot be written.
bool write_plot_data(const FrameTimes& times, int first_frame, const std::string& dir,
                     std::string& error);

#endif
