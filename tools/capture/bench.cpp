#include "bench.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "demo/demo.h"
#include "gl/glcheck.h"
#include "progress.h"
#include "showrenderer.h"

std::vector<FrameTimes> run_bench(const std::vector<ShowRenderer*>& renderers, int end_step) {
  using clock = std::chrono::steady_clock;
  std::vector<FrameTimes> times(renderers.size());
  if (renderers.empty()) return times;
  ShowRenderer& lead = *renderers.front();
  Progress progress("bench", end_step - lead.NextStep());
  const int first = lead.NextStep();
  while (lead.NextStep() < end_step) {
    const char* name = "";
    for (size_t r = 0; r < renderers.size(); ++r) {
      ShowRenderer& renderer = *renderers[r];
      if (renderers.size() > 1) renderer.Activate();
      const clock::time_point start = clock::now();
      renderer.DrawNext();
      const clock::time_point stepped = clock::now();
      glCheck(glFinish());
      const clock::time_point finished = clock::now();
      name = part_name_at(renderer.Beat());
      times[r].Add(name, std::chrono::duration<double, std::milli>(stepped - start).count(),
                   std::chrono::duration<double, std::milli>(finished - stepped).count());
    }
    progress.Update(lead.NextStep() - first, name);
  }
  progress.Finish();
  return times;
}

void print_side_by_side(const std::vector<std::string>& names, const std::vector<FrameTimes>& runs,
                        std::FILE* out) {
  if (runs.size() < 2) return;
  std::vector<std::vector<PartTimes>> parts;
  for (const FrameTimes& run : runs) parts.push_back(run.Parts());
  std::fprintf(out, "\nMean and p99 frame in ms side by side%s\n\n| part |",
               " (the runs interleaved frame by frame)");
  for (const std::string& name : names)
    std::fprintf(out, " %s mean | %s p99 |", name.c_str(), name.c_str());
  for (size_t r = 1; r < names.size(); ++r) std::fprintf(out, " %s speed-up |", names[r].c_str());
  std::fprintf(out, "\n|---|");
  for (size_t r = 0; r < names.size(); ++r) std::fprintf(out, "---:|---:|");
  for (size_t r = 1; r < names.size(); ++r) std::fprintf(out, "---:|");
  std::fprintf(out, "\n");
  for (size_t p = 0; p < parts[0].size(); ++p) {
    std::vector<TimeStats> stats;
    for (const auto& run : parts) {
      stats.push_back(p < run.size() ? time_stats(run[p].frame) : TimeStats());
    }
    std::fprintf(out, "| %s |", parts[0][p].part.c_str());
    for (const TimeStats& s : stats) std::fprintf(out, " %.2f | %.2f |", s.mean, s.p99);
    for (size_t r = 1; r < stats.size(); ++r) {
      std::fprintf(out, " %.2fx |", stats[r].mean > 0 ? stats[0].mean / stats[r].mean : 0.0);
    }
    std::fprintf(out, "\n");
  }
  std::fflush(out);
}

namespace {

// Opens `path` for writing, or says why not.
std::FILE* open_for_writing(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) error = "cannot write " + path + ": " + std::strerror(errno);
  return file;
}

// Closes `file`, turning a failed write into an error.
bool close_written(std::FILE* file, const std::string& path, std::string& error) {
  const bool failed = std::ferror(file) != 0;
  if (std::fclose(file) != 0 || failed) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace

bool write_plot_data(const FrameTimes& times, int first_frame, const std::string& dir,
                     std::string& error, const std::string& run) {
  const std::vector<PartTimes> parts = times.Parts();
  const std::string suffix = run.empty() ? ".csv" : "-" + run + ".csv";
  const std::string frames_path = dir + "/frames" + suffix;
  std::FILE* frames = open_for_writing(frames_path, error);
  if (frames == nullptr) return false;
  std::fprintf(frames, "# seconds,frame,step_ms,finish_ms\n");
  int frame = first_frame;
  for (size_t p = 0; p + 1 < parts.size(); ++p) {  // the last is "all"
    const PartTimes& part = parts[p];
    for (size_t i = 0; i < part.frame.size(); ++i, ++frame) {
      const double step = part.step.empty() ? part.frame[i] : part.step[i];
      const double finish = part.finish.empty() ? 0.0 : part.finish[i];
      std::fprintf(frames, "%.5f,%d,%.4f,%.4f\n", static_cast<double>(frame) / show_fps, frame,
                   step, finish);
    }
  }
  if (!close_written(frames, frames_path, error)) return false;

  const std::string parts_path = dir + "/parts" + suffix;
  std::FILE* ranges = open_for_writing(parts_path, error);
  if (ranges == nullptr) return false;
  std::fprintf(ranges, "# start_second,end_second,part,mean_ms\n");
  frame = first_frame;
  for (size_t p = 0; p + 1 < parts.size(); ++p) {
    const PartTimes& part = parts[p];
    const int end = frame + static_cast<int>(part.frame.size());
    std::fprintf(ranges, "%.5f,%.5f,%s,%.4f\n", static_cast<double>(frame) / show_fps,
                 static_cast<double>(end) / show_fps, part.part.c_str(),
                 time_stats(part.frame).mean);
    frame = end;
  }
  return close_written(ranges, parts_path, error);
}
