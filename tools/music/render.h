// Renders a score into a stereo mix: every track's events through its voice, its
// level automation and ducking under the kick, and the shared delay and reverb.
#pragma once

#include <cstdint>
#include <vector>

#include "score.h"

namespace music {

// Interleaving-free stereo float audio at 44.1 kHz.
struct Stereo {
  std::vector<float> left;
  std::vector<float> right;

  size_t Frames() const { return left.size(); }
};

// Renders the mix of the whole score, or of the window [start, end) in seconds
// (end < 0 means the score's length). A window starts its effects a few seconds
// early so that echoes of earlier events are present, and is repeatable: the same
// score and window give the same samples.
Stereo render_mix(const Score& score, double start_seconds = 0.0, double end_seconds = -1.0);

// 64-bit FNV-1a hash of the samples' bit patterns, left then right.
uint64_t hash_pcm(const Stereo& audio);

}  // namespace music
