// music_match RECORDING.wav TRACK.ogg: checks that a recording of the player holds
// the track's opening seconds. The recording may start with any amount of silence
// (the player builds its show before the music starts); the opening is found by
// matching loudness envelopes, then aligned to the sample. Exits 0 when the
// recording is not silent and correlates with the track at 0.9 or better.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis.h"
#include "vorbis_io.h"

namespace {

const size_t kRate = 44100;

uint32_t le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
uint16_t le16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Reads 16-bit or float WAV into mono samples. A data chunk whose size was never
// filled in (a recorder stopped abruptly) runs to the end of the file.
bool read_wav(const std::string& path, std::vector<double>& out, std::string& error) {
  std::vector<unsigned char> b;
  if (!music::read_file(path, b) || b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) ||
      std::memcmp(b.data() + 8, "WAVE", 4)) {
    error = "not a WAV file: " + path;
    return false;
  }
  int format = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  for (size_t pos = 12; pos + 8 <= b.size();) {
    const uint32_t size = le32(b.data() + pos + 4);
    const unsigned char* body = b.data() + pos + 8;
    if (!std::memcmp(b.data() + pos, "fmt ", 4) && size >= 16) {
      format = le16(body);
      channels = le16(body + 2);
      rate = le32(body + 4);
      bits = le16(body + 14);
      if (format == 0xFFFE && size >= 26) format = le16(body + 24);  // extensible: sub-format
    } else if (!std::memcmp(b.data() + pos, "data", 4)) {
      if (rate != kRate || channels < 1 ||
          !((format == 1 && bits == 16) || (format == 3 && bits == 32))) {
        error = "unexpected WAV format " + std::to_string(format) + ", " + std::to_string(bits) +
                " bits, " + std::to_string(rate) + " Hz";
        return false;
      }
      size_t bytes = b.size() - (pos + 8);
      if (size != 0 && size != 0xFFFFFFFFu) bytes = std::min<size_t>(bytes, size);
      const size_t frame = static_cast<size_t>(channels) * bits / 8;
      for (size_t f = 0; f + frame <= bytes; f += frame) {
        double sum = 0.0;
        for (int c = 0; c < channels; ++c) {
          const unsigned char* s = body + f + c * bits / 8;
          if (format == 1) {
            sum += static_cast<int16_t>(le16(s)) / 32768.0;
          } else {
            float v = 0.0f;
            std::memcpy(&v, s, 4);
            sum += v;
          }
        }
        out.push_back(sum / channels);
      }
      return true;
    }
    pos += 8 + size + (size & 1);
  }
  error = "no data in " + path;
  return false;
}

// Loudness envelope in 10 ms frames.
std::vector<double> frames_rms(const std::vector<double>& x) {
  std::vector<double> e;
  for (size_t i = 0; i + 441 <= x.size(); i += 441) {
    double s = 0.0;
    for (size_t k = i; k < i + 441; ++k) s += x[k] * x[k];
    e.push_back(std::sqrt(s / 441.0));
  }
  return e;
}

// Normalised correlation of a against b from offset `lag` in b.
double correlation(const std::vector<double>& a, const std::vector<double>& b, size_t lag,
                   size_t n) {
  double ab = 0.0, aa = 0.0, bb = 0.0;
  for (size_t i = 0; i < n; ++i) {
    ab += a[i] * b[lag + i];
    aa += a[i] * a[i];
    bb += b[lag + i] * b[lag + i];
  }
  return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: music_match RECORDING.wav TRACK.ogg\n");
    return 2;
  }
  std::vector<double> recorded;
  std::string error;
  if (!read_wav(argv[1], recorded, error)) {
    std::fprintf(stderr, "FAIL: %s\n", error.c_str());
    return 1;
  }
  music::Stereo track;
  long rate = 0;
  int channels = 0;
  if (!music_test::decode_file(argv[2], track, rate, channels, error)) {
    std::fprintf(stderr, "FAIL: %s\n", error.c_str());
    return 1;
  }
  std::vector<double> reference = music_test::mono(track);
  const size_t opening = 6 * kRate;  // the part of the track to find
  reference.resize(std::min(reference.size(), opening));

  double power = 0.0;
  for (double v : recorded) power += v * v;
  const double level_db = 10.0 * std::log10(power / std::max<size_t>(1, recorded.size()) + 1e-20);
  std::printf("recorded %.2f s at %.1f dBFS\n", recorded.size() / double(kRate), level_db);
  if (level_db < -50.0) {
    std::fprintf(stderr, "FAIL: the recording is silent\n");
    return 1;
  }
  if (recorded.size() < reference.size()) {
    std::fprintf(stderr, "FAIL: the recording is shorter than the opening to find\n");
    return 1;
  }

  // Coarse: where the loudness envelope of the opening fits best.
  const std::vector<double> er = frames_rms(reference), ec = frames_rms(recorded);
  size_t best_frame = 0;
  double best = -1.0;
  for (size_t lag = 0; lag + er.size() <= ec.size(); ++lag) {
    const double c = correlation(er, ec, lag, er.size());
    if (c > best) {
      best = c;
      best_frame = lag;
    }
  }
  // Fine: sample by sample within two frames of it, over the whole opening.
  const size_t centre = best_frame * 441;
  size_t best_lag = centre;
  double best_fine = -1.0;
  for (size_t lag = centre > 882 ? centre - 882 : 0; lag <= centre + 882; ++lag) {
    if (lag + reference.size() > recorded.size()) break;
    const double c = correlation(reference, recorded, lag, reference.size());
    if (c > best_fine) {
      best_fine = c;
      best_lag = lag;
    }
  }
  std::printf(
      "the track starts %.3f s into the recording: envelope match %.3f, waveform match %.3f\n",
      best_lag / double(kRate), best, best_fine);
  if (best_fine < 0.9) {
    std::fprintf(stderr, "FAIL: the recording does not match the track's opening\n");
    return 1;
  }
  return 0;
}
