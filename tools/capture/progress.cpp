#include "progress.h"

#include <unistd.h>

#include <cstdio>

Progress::Progress(const std::string& what, int total)
    : what_(what),
      total_(total),
      terminal_(isatty(STDERR_FILENO) != 0),
      start_(std::chrono::steady_clock::now()),
      last_print_(start_) {}

void Progress::Update(int done, const char* part) {
  const auto now = std::chrono::steady_clock::now();
  if (terminal_) {
    if (now - last_print_ < std::chrono::milliseconds(250)) return;
    last_print_ = now;
    Print(done, part, false);
  } else {
    const int tenth = total_ > 0 ? done * 10 / total_ : 10;
    if (tenth == last_tenth_) return;
    last_tenth_ = tenth;
    Print(done, part, false);
  }
}

void Progress::Finish() {
  Print(total_, "", true);
}

void Progress::Print(int done, const char* part, bool last) {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double fps = seconds > 0 ? done / seconds : 0.0;
  const int left = fps > 0 ? static_cast<int>((total_ - done) / fps + 0.5) : 0;
  constexpr int width = 24;
  const int filled = total_ > 0 ? done * width / total_ : width;
  char bar[width + 1];
  for (int i = 0; i < width; ++i) bar[i] = i < filled ? '#' : '-';
  bar[width] = '\0';
  if (last) {
    std::fprintf(stderr, "%s%s [%s] %d/%d frames in %d:%02d, %.1f fps\n",
                 terminal_ ? "\r\033[K" : "", what_.c_str(), bar, done, total_,
                 static_cast<int>(seconds) / 60, static_cast<int>(seconds) % 60, fps);
  } else {
    std::fprintf(stderr, "%s%s [%s] %d/%d frames  %-9s %5.1f fps  %d:%02d left%s",
                 terminal_ ? "\r\033[K" : "", what_.c_str(), bar, done, total_, part, fps,
                 left / 60, left % 60, terminal_ ? "" : "\n");
  }
  std::fflush(stderr);
}
