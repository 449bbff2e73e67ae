// The instruments: one function per voice type renders one event of a track into
// a stereo buffer that covers a window of the track.
#pragma once

#include <cstdint>
#include <vector>

#include "score.h"

namespace music {

// Stereo float buffer covering absolute samples [offset, offset + size).
struct Span {
  std::vector<float>* left = nullptr;
  std::vector<float>* right = nullptr;
  int64_t offset = 0;

  int64_t Size() const { return static_cast<int64_t>(left->size()); }
  // Adds a stereo sample at an absolute sample index; outside the window it is dropped.
  void Add(int64_t index, double l, double r) const {
    const int64_t i = index - offset;
    if (i < 0 || i >= Size()) return;
    (*left)[static_cast<size_t>(i)] += static_cast<float>(l);
    (*right)[static_cast<size_t>(i)] += static_cast<float>(r);
  }
};

// How long, in seconds after its start, an event of this track sounds at most.
double voice_duration(const Track& track, const Note& note, double seconds_per_beat);

// Renders one event of the track into the span; seed varies the noise and
// oscillator phases from event to event while keeping the render repeatable.
void render_voice(const Track& track, const Note& note, double seconds_per_beat, uint32_t seed,
                  const Span& out);

}  // namespace music
