#include "player/noise.h"

#include <SFML/System/Err.hpp>
#include <cstdio>

namespace {
// Said on every start by drivers that cannot sync to the display (Xvfb, software GL): the
// frame limit paces the show anyway.
const char* const vsync_noise = "Setting vertical sync not supported";
// The three lines of the report that a context is not the one asked for.
const char* const context_report[] = {"The created OpenGL context does not fully meet",
                                      "Requested: version =", "Created: version ="};
}  // namespace

NoiseFilter::NoiseFilter() {
  previous_ = sf::err().rdbuf(this);
}

NoiseFilter::~NoiseFilter() {
  FlushLine();
  sf::err().rdbuf(previous_);
}

int NoiseFilter::overflow(int c) {
  if (c == traits_type::eof()) return traits_type::not_eof(c);
  if (c == '\n') {
    FlushLine();
  } else {
    line_.push_back(static_cast<char>(c));
  }
  return c;
}

int NoiseFilter::sync() {
  return 0;
}

void NoiseFilter::FlushLine() {
  if (line_.empty()) return;
  bool report = false;
  for (const char* start : context_report)
    report = report || line_.find(start) != std::string::npos;
  if (line_.find(vsync_noise) != std::string::npos) {
    vsync_unsupported = true;
  } else if (report && quiet_context_report) {
    // The player's own line says what matters.
  } else {
    std::fprintf(stderr, "%s\n", line_.c_str());
  }
  line_.clear();
}
