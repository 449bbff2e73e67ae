// Mastering: loudness measurement with libebur128, a look-ahead peak limiter, and
// normalisation of a mix to a target integrated loudness under a peak ceiling.
#pragma once

#include <string>

#include "render.h"

namespace music {

struct Loudness {
  double integrated_lufs = -70.0;  // EBU R128 integrated loudness
  double true_peak_db = -120.0;    // highest true peak of both channels, dBTP
  double sample_peak_db = -120.0;  // highest sample magnitude, dBFS
};

// Measures a stereo signal; with true_peak false only the integrated loudness and
// the sample peak are filled. Returns false when libebur128 fails.
bool measure_loudness(const Stereo& audio, bool true_peak, Loudness& out, std::string& error);

// Limits the signal's sample peaks to ceiling_db with a look-ahead gain that
// never lets a sample through above the ceiling. Returns the share of samples
// whose gain was cut by more than 1 dB; max_reduction_db gets the deepest cut.
double limit_peaks(Stereo& audio, double ceiling_db, double* max_reduction_db = nullptr);

struct MasterResult {
  double gain_db = 0.0;           // gain applied before the limiter
  double ceiling_db = 0.0;        // limiter ceiling finally used
  double limited_share = 0.0;     // share of samples cut by more than 1 dB
  double max_reduction_db = 0.0;  // deepest gain cut of the limiter
  Loudness loudness;              // of the mastered signal
};

// Scales the mix to target_lufs through the limiter so that its true peak stays
// at or below max_true_peak_db; the input is replaced by the mastered signal.
bool master_mix(Stereo& audio, double target_lufs, double max_true_peak_db, MasterResult& result,
                std::string& error);

}  // namespace music
