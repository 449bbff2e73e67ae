#include "effect/seededrandom.h"

#include <cstddef>

namespace effect {

SeededRandom::SeededRandom(std::uint32_t seed) {
  // r0 = seed, r1..r30 = 16807 r(i-1) mod (2^31 - 1) (signed, as the C library computes it),
  // r31..r33 = r0..r2; the 310 terms after those are drawn and dropped.
  std::int64_t term = static_cast<std::int32_t>(seed == 0 ? 1 : seed);
  recent_[0] = static_cast<std::uint32_t>(term);
  for (std::size_t i = 1; i < recent_.size(); ++i) {
    term = (16807 * term) % 2147483647;
    if (term < 0) term += 2147483647;
    recent_[i] = static_cast<std::uint32_t>(term);
  }
  // The ring now holds r0..r30; r31..r33 repeat r0..r2, which the ring already has in place of
  // the terms they follow, so rotate instead of computing them.
  oldest_ = 3;
  for (int i = 34; i < 344; ++i) Advance();
}

std::uint32_t SeededRandom::Advance() {
  // recent_[oldest_] is r(i-31); r(i-3) sits 28 places after it.
  const std::uint32_t sum = recent_[oldest_] + recent_[(oldest_ + 28) % 31];
  recent_[oldest_] = sum;
  oldest_ = (oldest_ + 1) % 31;
  return sum;
}

int SeededRandom::Next() {
  return static_cast<int>(Advance() >> 1);
}

}  // namespace effect
