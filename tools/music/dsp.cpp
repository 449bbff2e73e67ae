#include "dsp.h"

namespace music {

namespace {
const size_t kCombLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const size_t kAllpassLengths[4] = {556, 441, 341, 225};
const size_t kStereoSpread = 23;
}  // namespace

// Builds the comb and allpass banks; room in [0, 1] sets the decay time, damping in
// [0, 1] how fast the highs die, predelay_seconds the gap before the first echo.
Reverb::Reverb(double room, double damping, double predelay_seconds)
    : predelay_l(static_cast<size_t>(predelay_seconds * kSampleRate) + 1),
      predelay_r(static_cast<size_t>(predelay_seconds * kSampleRate) + 1),
      feedback(static_cast<float>(0.7 + 0.28 * room)),
      damp(static_cast<float>(damping)) {
  for (size_t n : kCombLengths) {
    combs_l.emplace_back(n);
    combs_r.emplace_back(n + kStereoSpread);
  }
  for (size_t n : kAllpassLengths) {
    passes_l.emplace_back(n);
    passes_r.emplace_back(n + kStereoSpread);
  }
}

// One stereo sample through the reverb; the wet signal is added to the outputs.
void Reverb::Process(float in_l, float in_r, float& out_l, float& out_r) {
  const float dl = predelay_l.Read();
  const float dr = predelay_r.Read();
  predelay_l.Write(in_l);
  predelay_r.Write(in_r);
  const float input = (dl + dr) * 0.5f * 0.03f;
  float l = 0.0f, r = 0.0f;
  for (size_t i = 0; i < combs_l.size(); ++i) {
    l += combs_l[i].Process(input, feedback, damp);
    r += combs_r[i].Process(input, feedback, damp);
  }
  for (size_t i = 0; i < passes_l.size(); ++i) {
    l = passes_l[i].Process(l);
    r = passes_r[i].Process(r);
  }
  out_l += l;
  out_r += r;
}

}  // namespace music
