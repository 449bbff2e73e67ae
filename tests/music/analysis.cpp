#include "analysis.h"

#include <algorithm>
#include <cmath>

#include "vorbis_io.h"

namespace music_test {

namespace {

const double kRate = 44100.0;

struct Biquad {
  double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;

  // Runs the filter over x in place, forward or backward.
  void Run(std::vector<double>& x, bool backward) const {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    const size_t n = x.size();
    for (size_t k = 0; k < n; ++k) {
      double& v = x[backward ? n - 1 - k : k];
      const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1;
      x1 = v;
      y2 = y1;
      y1 = y;
      v = y;
    }
  }
};

// Butterworth (Q = 1/sqrt 2) coefficients from the usual bilinear design.
Biquad butterworth(double hz, bool high) {
  const double w0 = 2.0 * 3.141592653589793 * hz / kRate;
  const double alpha = std::sin(w0) / (2.0 * std::sqrt(0.5));
  const double c = std::cos(w0);
  const double a0 = 1.0 + alpha;
  Biquad q;
  if (high) {
    q.b0 = (1.0 + c) / 2.0 / a0;
    q.b1 = -(1.0 + c) / a0;
  } else {
    q.b0 = (1.0 - c) / 2.0 / a0;
    q.b1 = (1.0 - c) / a0;
  }
  q.b2 = q.b0;
  q.a1 = -2.0 * c / a0;
  q.a2 = (1.0 - alpha) / a0;
  return q;
}

size_t at(double seconds) {
  return static_cast<size_t>(std::max(0.0, seconds) * kRate);
}

double mean(const std::vector<double>& x, size_t from, size_t to) {
  to = std::min(to, x.size());
  if (from >= to) return 0.0;
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) sum += x[i];
  return sum / static_cast<double>(to - from);
}

}  // namespace

std::vector<double> mono(const music::Stereo& audio) {
  std::vector<double> m(audio.Frames());
  for (size_t i = 0; i < m.size(); ++i) m[i] = 0.5 * (audio.left[i] + audio.right[i]);
  return m;
}

void zero_phase_lowpass(std::vector<double>& x, double hz) {
  const Biquad q = butterworth(hz, false);
  q.Run(x, false);
  q.Run(x, true);
}

void zero_phase_highpass(std::vector<double>& x, double hz) {
  const Biquad q = butterworth(hz, true);
  q.Run(x, false);
  q.Run(x, true);
}

std::vector<double> energy_envelope(const std::vector<double>& x, size_t window) {
  std::vector<double> prefix(x.size() + 1, 0.0);
  for (size_t i = 0; i < x.size(); ++i) prefix[i + 1] = prefix[i] + x[i] * x[i];
  std::vector<double> e(x.size());
  const size_t half = window / 2;
  for (size_t i = 0; i < x.size(); ++i) {
    const size_t a = i > half ? i - half : 0;
    const size_t b = std::min(x.size(), i + window - half);
    e[i] = (prefix[b] - prefix[a]) / static_cast<double>(b - a);
  }
  return e;
}

std::vector<double> kick_envelope(const std::vector<double>& mono_signal) {
  std::vector<double> low = mono_signal;
  zero_phase_lowpass(low, 1000.0);
  return energy_envelope(low, at(0.006));
}

Onset find_onset(const std::vector<double>& envelope, double seconds) {
  const double before = mean(envelope, at(seconds - 0.050), at(seconds - 0.010));
  const double after = mean(envelope, at(seconds + 0.002), at(seconds + 0.020));
  const double threshold = before + 0.5 * (after - before);
  Onset onset;
  onset.rise_db = 10.0 * std::log10((after + 1e-12) / (before + 1e-12));
  const size_t from = at(seconds - 0.025), to = std::min(envelope.size(), at(seconds + 0.030));
  size_t i = from;
  while (i < to && envelope[i] < threshold) ++i;
  onset.error_ms = (static_cast<double>(i) / kRate - seconds) * 1000.0;
  return onset;
}

double transient_db(const std::vector<double>& x, double seconds) {
  const auto power = [&](size_t from, size_t to) {
    to = std::min(to, x.size());
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += x[i] * x[i];
    return to > from ? sum / static_cast<double>(to - from) : 0.0;
  };
  const double before = power(at(seconds - 0.200), at(seconds - 0.020));
  const double after = power(at(seconds), at(seconds + 0.050));
  return 10.0 * std::log10((after + 1e-12) / (before + 1e-12));
}

bool decode_file(const std::string& path, music::Stereo& audio, long& rate, int& channels,
                 std::string& error) {
  std::vector<unsigned char> bytes;
  if (!music::read_file(path, bytes)) {
    error = "cannot read " + path;
    return false;
  }
  return music::decode_vorbis(bytes, audio, rate, channels, error);
}

}  // namespace music_test
