#include "demo/frametimes.h"

#include <algorithm>
#include <cmath>
#include <numeric>

TimeStats time_stats(std::vector<double> ms) {
  TimeStats stats;
  if (ms.empty()) return stats;
  std::sort(ms.begin(), ms.end());
  const size_t n = ms.size();
  stats.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(n);
  stats.median = n % 2 == 1 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  const size_t rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(n)));
  stats.p99 = ms[std::max<size_t>(rank, 1) - 1];
  stats.max = ms.back();
  return stats;
}

FrameTimes::FrameTimes(size_t reserved) {
  part_.reserve(reserved);
  frame_.reserve(reserved);
  step_.reserve(reserved);
  finish_.reserve(reserved);
}

void FrameTimes::Add(const char* part, double frame_ms) {
  part_.push_back(part);
  frame_.push_back(frame_ms);
}

void FrameTimes::Add(const char* part, double step_ms, double finish_ms) {
  if (step_.size() == frame_.size()) {
    step_.push_back(step_ms);
    finish_.push_back(finish_ms);
  }
  Add(part, step_ms + finish_ms);
}

std::vector<PartTimes> FrameTimes::Parts() const {
  const bool split = step_.size() == frame_.size();
  std::vector<PartTimes> parts;
  PartTimes all;
  all.part = "all";
  for (size_t i = 0; i < frame_.size(); ++i) {
    if (parts.empty() || parts.back().part != part_[i]) {
      parts.push_back(PartTimes());
      parts.back().part = part_[i];
    }
    for (PartTimes* times : {&parts.back(), &all}) {
      times->frame.push_back(frame_[i]);
      if (split) {
        times->step.push_back(step_[i]);
        times->finish.push_back(finish_[i]);
      }
    }
  }
  parts.push_back(all);
  return parts;
}

namespace {

int share_percent(double ms) {
  return static_cast<int>(std::lround(100.0 * ms / frame_budget_ms));
}

// Frames a second that a mean frame time gives.
double fps_of(double mean_ms) {
  return mean_ms > 0 ? 1000.0 / mean_ms : 0.0;
}

struct Row {
  const char* name;
  const std::vector<double>& ms;
};

// The time kinds of a part that have times: the whole frame, then its step and finish.
std::vector<Row> rows_of(const PartTimes& part) {
  std::vector<Row> rows = {{"frame", part.frame}};
  if (!part.step.empty()) rows.push_back({"step", part.step});
  if (!part.finish.empty()) rows.push_back({"finish", part.finish});
  return rows;
}

void print_table(const std::vector<PartTimes>& parts, const std::string& heading, std::FILE* out) {
  std::fprintf(out,
               "%s; each time in ms and as a share of the %.2f ms a frame has at %d fps; fps: "
               "the frames a second of the mean frame\n\n",
               heading.c_str(), frame_budget_ms, show_fps);
  std::fprintf(out, "| part | frames | time | mean | median | p99 | max | fps |\n");
  std::fprintf(out, "|---|---:|---|---:|---:|---:|---:|---:|\n");
  for (const PartTimes& part : parts) {
    bool first = true;
    for (const Row& row : rows_of(part)) {
      const TimeStats s = time_stats(row.ms);
      if (first) {
        std::fprintf(out, "| %s | %zu ", part.part.c_str(), part.frame.size());
      } else {
        std::fprintf(out, "| | ");
      }
      std::fprintf(out, "| %s ", row.name);
      for (double value : {s.mean, s.median, s.p99, s.max}) {
        std::fprintf(out, "| %.2f (%d%%) ", value, share_percent(value));
      }
      if (first) {
        std::fprintf(out, "| %.1f |\n", fps_of(s.mean));
      } else {
        std::fprintf(out, "| |\n");
      }
      first = false;
    }
  }
}

// Writes `text` as a JSON string.
void print_json_string(const std::string& text, std::FILE* out) {
  std::fputc('"', out);
  for (char c : text) {
    if (c == '"' || c == '\\') {
      std::fprintf(out, "\\%c", c);
    } else if (static_cast<unsigned char>(c) < 0x20) {
      std::fprintf(out, "\\u%04x", c);
    } else {
      std::fputc(c, out);
    }
  }
  std::fputc('"', out);
}

void print_json(const std::vector<PartTimes>& parts, const std::string& heading, std::FILE* out) {
  std::fprintf(out, "{\n  \"run\": ");
  print_json_string(heading, out);
  std::fprintf(out, ",\n  \"budget_ms\": %.4f,\n  \"parts\": [\n", frame_budget_ms);
  for (size_t i = 0; i < parts.size(); ++i) {
    const PartTimes& part = parts[i];
    std::fprintf(out, "    {\"part\": ");
    print_json_string(part.part, out);
    std::fprintf(out, ", \"frames\": %zu, \"fps\": %.4f", part.frame.size(),
                 fps_of(time_stats(part.frame).mean));
    for (const Row& row : rows_of(part)) {
      const TimeStats s = time_stats(row.ms);
      std::fprintf(out,
                   ",\n     \"%s\": {\"mean_ms\": %.4f, \"median_ms\": %.4f, \"p99_ms\": %.4f, "
                   "\"max_ms\": %.4f, \"mean_share\": %.4f, \"median_share\": %.4f, "
                   "\"p99_share\": %.4f, \"max_share\": %.4f}",
                   row.name, s.mean, s.median, s.p99, s.max, s.mean / frame_budget_ms,
                   s.median / frame_budget_ms, s.p99 / frame_budget_ms, s.max / frame_budget_ms);
    }
    std::fprintf(out, "}%s\n", i + 1 < parts.size() ? "," : "");
  }
  std::fprintf(out, "  ]\n}\n");
}

}  // namespace

void print_frame_times(const std::vector<PartTimes>& parts, const std::string& heading, bool json,
                       std::FILE* out) {
  if (json) {
    print_json(parts, heading, out);
  } else {
    print_table(parts, heading, out);
  }
  std::fflush(out);
}
