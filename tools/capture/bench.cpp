#include "bench.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>

#include "demo/demo.h"
#include "gl/glcheck.h"
#include "progress.h"
#include "showrenderer.h"

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

std::vector<PartTimes> run_bench(ShowRenderer& renderer, int end_frame) {
  using clock = std::chrono::steady_clock;
  std::vector<PartTimes> parts;
  PartTimes all;
  all.part = "all";
  Progress progress("bench", end_frame - renderer.NextFrame());
  const int first = renderer.NextFrame();
  while (renderer.NextFrame() < end_frame) {
    const clock::time_point start = clock::now();
    renderer.DrawNext();
    const clock::time_point stepped = clock::now();
    glCheck(glFinish());
    const clock::time_point finished = clock::now();

    const double step = std::chrono::duration<double, std::milli>(stepped - start).count();
    const double finish = std::chrono::duration<double, std::milli>(finished - stepped).count();
    const char* name = part_name_at(renderer.Beat());
    if (parts.empty() || parts.back().part != name) {
      parts.push_back(PartTimes());
      parts.back().part = name;
    }
    for (PartTimes* times : {&parts.back(), &all}) {
      times->frame.push_back(step + finish);
      times->step.push_back(step);
      times->finish.push_back(finish);
    }
    progress.Update(renderer.NextFrame() - first, name);
  }
  progress.Finish();
  parts.push_back(all);
  return parts;
}

namespace {

int share_percent(double ms) {
  return static_cast<int>(std::lround(100.0 * ms / frame_budget_ms));
}

void print_table(const std::vector<PartTimes>& parts, const std::string& heading, std::FILE* out) {
  std::fprintf(out, "%s; each time in ms and as a share of the %.2f ms a frame has at 120 fps\n\n",
               heading.c_str(), frame_budget_ms);
  std::fprintf(out, "| part | frames | time | mean | median | p99 | max |\n");
  std::fprintf(out, "|---|---:|---|---:|---:|---:|---:|\n");
  for (const PartTimes& part : parts) {
    const struct {
      const char* name;
      const std::vector<double>& ms;
    } rows[] = {{"frame", part.frame}, {"step", part.step}, {"finish", part.finish}};
    bool first = true;
    for (const auto& row : rows) {
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
      std::fprintf(out, "|\n");
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
    std::fprintf(out, ", \"frames\": %zu", part.frame.size());
    const struct {
      const char* name;
      const std::vector<double>& ms;
    } rows[] = {{"frame", part.frame}, {"step", part.step}, {"finish", part.finish}};
    for (const auto& row : rows) {
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

void print_bench(const std::vector<PartTimes>& parts, const std::string& heading, bool json,
                 std::FILE* out) {
  if (json) {
    print_json(parts, heading, out);
  } else {
    print_table(parts, heading, out);
  }
  std::fflush(out);
}
