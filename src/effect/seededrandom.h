#ifndef TESSARY_EFFECT_SEEDEDRANDOM_H
#define TESSARY_EFFECT_SEEDEDRANDOM_H

#include <array>
#include <cstddef>
#include <cstdint>

namespace effect {

// The sequence glibc's rand() gives after srand(seed), on every platform: the show was made
// with it, and the C library of another system (Windows') draws other numbers, so a random
// walk seeded alike would walk elsewhere. An additive generator, r[i] = r[i-3] + r[i-31] mod
// 2^32, seeded by a multiplicative one; each value is r[i] >> 1, from 0 to 2^31 - 1.
class SeededRandom {
 public:
  explicit SeededRandom(std::uint32_t seed);
  // The next value, as rand() would give it.
  int Next();

 private:
  std::array<std::uint32_t, 31> recent_{};  // the last 31 terms, oldest at `oldest_`
  std::size_t oldest_ = 0;
  std::uint32_t Advance();
};

}  // namespace effect

#endif
