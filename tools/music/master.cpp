#include "master.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "dsp.h"

namespace music {

bool measure_loudness(const Stereo& audio, bool true_peak, Loudness& out, std::string& error) {
  const int mode =
      EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK | (true_peak ? EBUR128_MODE_TRUE_PEAK : 0);
  ebur128_state* st = ebur128_init(2, static_cast<unsigned long>(kSampleRate), mode);
  if (!st) {
    error = "ebur128_init failed";
    return false;
  }
  const size_t chunk = 65536;
  std::vector<float> interleaved(chunk * 2);
  bool ok = true;
  for (size_t pos = 0; pos < audio.Frames() && ok; pos += chunk) {
    const size_t n = std::min(chunk, audio.Frames() - pos);
    for (size_t i = 0; i < n; ++i) {
      interleaved[2 * i] = audio.left[pos + i];
      interleaved[2 * i + 1] = audio.right[pos + i];
    }
    ok = ebur128_add_frames_float(st, interleaved.data(), n) == EBUR128_SUCCESS;
  }
  double lufs = 0.0, peak_l = 0.0, peak_r = 0.0, tp_l = 0.0, tp_r = 0.0;
  ok = ok && ebur128_loudness_global(st, &lufs) == EBUR128_SUCCESS;
  ok = ok && ebur128_sample_peak(st, 0, &peak_l) == EBUR128_SUCCESS &&
       ebur128_sample_peak(st, 1, &peak_r) == EBUR128_SUCCESS;
  if (ok && true_peak)
    ok = ebur128_true_peak(st, 0, &tp_l) == EBUR128_SUCCESS &&
         ebur128_true_peak(st, 1, &tp_r) == EBUR128_SUCCESS;
  ebur128_destroy(&st);
  if (!ok) {
    error = "libebur128 could not measure the signal";
    return false;
  }
  const auto db = [](double v) { return v > 0.0 ? 20.0 * std::log10(v) : -120.0; };
  out.integrated_lufs = std::isfinite(lufs) ? lufs : -70.0;
  out.sample_peak_db = db(std::max(peak_l, peak_r));
  out.true_peak_db = true_peak ? db(std::max(tp_l, tp_r)) : out.sample_peak_db;
  return true;
}

double limit_peaks(Stereo& audio, double ceiling_db, double* max_reduction_db) {
  const size_t n = audio.Frames();
  const double ceiling = db_to_gain(ceiling_db);
  const size_t look = static_cast<size_t>(0.0015 * kSampleRate);  // 1.5 ms look-ahead
  const double release = 1.0 - std::exp(-1.0 / (0.09 * kSampleRate));
  // Gain each sample needs on its own.
  std::vector<double> need(n);
  for (size_t i = 0; i < n; ++i) {
    const double peak = std::max(std::fabs(audio.left[i]), std::fabs(audio.right[i]));
    need[i] = peak > ceiling ? ceiling / peak : 1.0;
  }
  // Minimum over the coming look-ahead window, then a smooth release.
  std::vector<double> held(n);
  std::deque<size_t> window;  // indices with increasing need values
  double smooth = 1.0;
  for (size_t i = 0, j = 0; i < n; ++i) {
    for (; j < n && j <= i + look; ++j) {
      while (!window.empty() && need[window.back()] >= need[j]) window.pop_back();
      window.push_back(j);
    }
    while (window.front() < i) window.pop_front();
    const double hold = need[window.front()];
    smooth = hold < smooth ? hold : smooth + (hold - smooth) * release;
    held[i] = smooth;
  }
  // A moving average over the look-ahead length turns the steps into ramps; every
  // value averaged covers sample i in its window, so the result stays below need[i].
  double sum = 0.0, lowest = 1.0;
  size_t limited = 0;
  const double one_db = db_to_gain(-1.0);
  for (size_t i = 0; i < n; ++i) {
    sum += held[i];
    if (i > look) sum -= held[i - look - 1];
    const double g = sum / static_cast<double>(std::min(i + 1, look + 1));
    const double gain = std::min(g, need[i]);
    audio.left[i] = static_cast<float>(audio.left[i] * gain);
    audio.right[i] = static_cast<float>(audio.right[i] * gain);
    lowest = std::min(lowest, gain);
    if (gain < one_db) ++limited;
  }
  if (max_reduction_db) *max_reduction_db = -20.0 * std::log10(lowest);
  return n ? static_cast<double>(limited) / n : 0.0;
}

bool master_mix(Stereo& audio, double target_lufs, double max_true_peak_db, MasterResult& result,
                std::string& error) {
  Loudness raw;
  if (!measure_loudness(audio, false, raw, error)) return false;
  double gain_db = target_lufs - raw.integrated_lufs;
  double ceiling_db = max_true_peak_db - 0.3;
  Stereo out;
  for (int attempt = 0; attempt < 6; ++attempt) {
    for (int pass = 0; pass < 4; ++pass) {
      out = audio;
      const float g = static_cast<float>(db_to_gain(gain_db));
      for (size_t i = 0; i < out.Frames(); ++i) {
        out.left[i] *= g;
        out.right[i] *= g;
      }
      result.limited_share = limit_peaks(out, ceiling_db, &result.max_reduction_db);
      Loudness l;
      if (!measure_loudness(out, false, l, error)) return false;
      const double miss = target_lufs - l.integrated_lufs;
      if (std::fabs(miss) < 0.02) break;
      gain_db += miss;
    }
    if (!measure_loudness(out, true, result.loudness, error)) return false;
    if (result.loudness.true_peak_db <= max_true_peak_db) break;
    ceiling_db -= result.loudness.true_peak_db - max_true_peak_db + 0.05;
  }
  result.gain_db = gain_db;
  result.ceiling_db = ceiling_db;
  audio = out;
  return true;
}

}  // namespace music
