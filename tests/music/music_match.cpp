// music_match RECORDING.wav TRACK.ogg [--from SECONDS] [--stopped]: checks that a recording of
// the player holds the track's six seconds from SECONDS (0: its opening). The recording may start
// with any amount of silence (the player builds its show before the music starts); those seconds
// are found by matching loudness envelopes, then aligned to the sample. Exits 0 when the
// recording is not silent and correlates with the track at 0.9 or better.
// With --stopped the music was paused before the recording ended: it also prints which moment of
// the track was the last to sound ("stopped at the track's S s"), found by matching the second of
// sound before the silence against the track near where the music should then be.
#include <SFML/Audio/InputSoundFile.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const size_t kRate = 44100;

// Reads at most `limit` frames of a 44.1 kHz sound file from `from_seconds` as mono samples.
bool read_mono(const char* path, size_t limit, std::vector<double>& out, double from_seconds = 0) {
  sf::InputSoundFile file;
  if (!file.openFromFile(path) || file.getSampleRate() != kRate) return false;
  if (from_seconds > 0) file.seek(sf::seconds(static_cast<float>(from_seconds)));
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

// Where in `b` the stretch `a` lies, searched at lags [from, to]: the loudness envelopes place
// it to the millisecond, the waveform to the sample within 3 ms of that. `coarse` and `fine`
// receive the two matches.
size_t locate(const std::vector<double>& a, const std::vector<double>& b, size_t from, size_t to,
              double& coarse, double& fine) {
  const size_t centre = 44 * best_lag(frames_rms(a), frames_rms(b), from / 44, to / 44, coarse);
  return best_lag(a, b, centre > 132 ? centre - 132 : 0, centre + 132, fine);
}

// One past the last sample louder than -70 dBFS (above the dither of a silent 16-bit output).
size_t sound_end(const std::vector<double>& x) {
  size_t end = x.size();
  while (end > 0 && std::fabs(x[end - 1]) < 3e-4) --end;
  return end;
}

// With the music paused before the recording ended: the track's moment (seconds from `from`)
// that sounded last, given that `from` starts at sample `start` of the recording. False when
// the second before the silence is not the track near where it should be.
bool stopped_at(const std::vector<double>& recorded, size_t start, const char* track, double from,
                double& moment) {
  const size_t end = sound_end(recorded);
  if (end < start + 2 * kRate || end + kRate / 2 > recorded.size()) {
    std::fprintf(stderr, "FAIL: no second of music followed by silence in the recording\n");
    return false;
  }
  const std::vector<double> last(recorded.begin() + (end - kRate), recorded.begin() + end);
  // Read the track a second past where it should have stopped, and look for the
  // last second within half a second of its expected place.
  const size_t expected = end - kRate - start;
  std::vector<double> reference;
  if (!read_mono(track, expected + 2 * kRate, reference, from)) return false;
  double coarse = 0.0, fine = 0.0;
  const size_t lag = locate(last, reference, expected > kRate / 2 ? expected - kRate / 2 : 0,
                            expected + kRate / 2, coarse, fine);
  moment = from + (lag + kRate) / double(kRate);
  std::printf("stopped at the track's %.3f s (%.3f s into the recording): match %.3f, %.3f\n",
              moment, end / double(kRate), coarse, fine);
  if (fine < 0.9) {
    std::fprintf(stderr, "FAIL: the sound before the silence is not the track where expected\n");
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  double from = 0.0;
  bool stopped = false;
  bool usage_ok = argc >= 3;
  for (int i = 3; usage_ok && i < argc; ++i) {
    if (std::strcmp(argv[i], "--from") == 0 && i + 1 < argc) {
      from = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--stopped") == 0) {
      stopped = true;
    } else {
      usage_ok = false;
    }
  }
  std::vector<double> recorded, reference;
  if (!usage_ok || !read_mono(argv[1], SIZE_MAX, recorded) ||
      !read_mono(argv[2], 6 * kRate, reference, from)) {
    std::fprintf(stderr,
                 "FAIL: usage: music_match RECORDING.wav TRACK.ogg [--from SECONDS] [--stopped] "
                 "(both 44.1 kHz)\n");
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
  double coarse = 0.0, fine = 0.0;
  const size_t lag = locate(reference, recorded, 0, SIZE_MAX, coarse, fine);
  std::printf(
      "the track's %.3f s is %.3f s into the recording: envelope match %.3f, waveform %.3f\n", from,
      lag / double(kRate), coarse, fine);
  if (fine < 0.9) {
    std::fprintf(stderr, "FAIL: the recording does not match the track from %.3f s\n", from);
    return 1;
  }
  double moment = 0.0;
  if (stopped && !stopped_at(recorded, lag, argv[2], from, moment)) return 1;
  return 0;
}
