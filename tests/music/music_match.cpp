// music_match RECORDING.wav TRACK.ogg: checks that a recording of the player holds the track's
// opening seconds. The recording may start with any amount of silence (the player builds its show
// before the music starts); the opening is found by matching loudness envelopes, then aligned to
// the sample. Exits 0 when the recording is not silent and correlates with the track at 0.9 or
// better.
#include <SFML/Audio/InputSoundFile.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const size_t kRate = 44100;

// Reads at most `limit` frames of a 44.1 kHz sound file as mono samples.
bool read_mono(const char* path, size_t limit, std::vector<double>& out) {
  sf::InputSoundFile file;
  if (!file.openFromFile(path) || file.getSampleRate() != kRate) return false;
  const unsigned channels = file.getChannelCount();
  std::vector<sf::Int16> buffer(4096 * channels);
  while (out.size() < limit) {
    const size_t n = file.read(buffer.data(), buffer.size());
    if (n == 0) break;
    for (size_t i = 0; i + channels <= n; i += channels) {
      double sum = 0.0;
      for (unsigned c = 0; c < channels; ++c) sum += buffer[i + c];
      out.push_back(sum / channels / 32768.0);
    }
  }
  return true;
}

// Loudness envelope: 10 ms windows every 1 ms (a coarser hop can miss the true alignment).
std::vector<double> frames_rms(const std::vector<double>& x) {
  std::vector<double> e;
  for (size_t i = 0; i + 441 <= x.size(); i += 44) {
    double s = 0.0;
    for (size_t k = i; k < i + 441; ++k) s += x[k] * x[k];
    e.push_back(std::sqrt(s / 441.0));
  }
  return e;
}

// Normalised correlation of a against b from offset `lag` in b.
double correlation(const std::vector<double>& a, const std::vector<double>& b, size_t lag) {
  double ab = 0.0, aa = 0.0, bb = 0.0;
  for (size_t i = 0; i < a.size(); ++i) {
    ab += a[i] * b[lag + i];
    aa += a[i] * a[i];
    bb += b[lag + i] * b[lag + i];
  }
  return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// The lag in [from, to] at which `a` best matches `b`, and that match.
size_t best_lag(const std::vector<double>& a, const std::vector<double>& b, size_t from, size_t to,
                double& best) {
  size_t lag = from;
  best = -1.0;
  for (size_t l = from; l <= to && l + a.size() <= b.size(); ++l) {
    const double c = correlation(a, b, l);
    if (c > best) best = c, lag = l;
  }
  return lag;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<double> recorded, reference;
  if (argc != 3 || !read_mono(argv[1], SIZE_MAX, recorded) ||
      !read_mono(argv[2], 6 * kRate, reference)) {
    std::fprintf(stderr, "FAIL: usage: music_match RECORDING.wav TRACK.ogg (both 44.1 kHz)\n");
    return 1;
  }
  double power = 0.0;
  for (double v : recorded) power += v * v;
  const double level_db = 10.0 * std::log10(power / (recorded.size() + 1.0) + 1e-20);
  std::printf("recorded %.2f s at %.1f dBFS\n", recorded.size() / double(kRate), level_db);
  if (level_db < -50.0 || recorded.size() < reference.size()) {
    std::fprintf(stderr, "FAIL: the recording is silent or shorter than the opening\n");
    return 1;
  }
  // Coarse: where the loudness envelope fits best; fine: to the sample, within 3 ms of it.
  double coarse = 0.0, fine = 0.0;
  const size_t centre =
      44 * best_lag(frames_rms(reference), frames_rms(recorded), 0, SIZE_MAX, coarse);
  const size_t lag =
      best_lag(reference, recorded, centre > 132 ? centre - 132 : 0, centre + 132, fine);
  std::printf("the track starts %.3f s into the recording: envelope match %.3f, waveform %.3f\n",
              lag / double(kRate), coarse, fine);
  if (fine < 0.9) {
    std::fprintf(stderr, "FAIL: the recording does not match the track's opening\n");
    return 1;
  }
  return 0;
}
