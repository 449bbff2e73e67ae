// The committed track, data/melody5.ogg, as the player and any decoder see it, and listened to
// by numbers: energy in a band, onsets and transients.
#include <gtest/gtest.h>

#include <SFML/Audio/Music.hpp>
#include <algorithm>
#include <cmath>

#include "committed_score.h"
#include "dsp.h"
#include "master.h"
#include "render.h"
#include "score.h"
#include "vorbis_io.h"

namespace {

const std::string kRoot = TESSARY_SOURCE_DIR;
const std::string kTrack = kRoot + "/data/melody5.ogg";
const double kRate = music::kSampleRate;

// The average of both channels.
std::vector<double> mono(const music::Stereo& audio) {
  std::vector<double> x(audio.Frames());
  for (size_t i = 0; i < x.size(); ++i) x[i] = 0.5 * (audio.left[i] + audio.right[i]);
  return x;
}

// The signal through a second-order Butterworth low-pass (or high-pass) at `hz` run forward then
// backward, so the result has no delay: onsets stay put.
std::vector<double> band(std::vector<double> x, double hz, bool high) {
  const double w0 = music::kTwoPi * hz / kRate, c = std::cos(w0),
               alpha = std::sin(w0) / std::sqrt(2.0);
  const double b0 = (high ? 1.0 + c : 1.0 - c) / 2.0 / (1.0 + alpha), b1 = (high ? -2 : 2) * b0;
  const double a1 = -2.0 * c / (1.0 + alpha), a2 = (1.0 - alpha) / (1.0 + alpha);
  for (int pass = 0; pass < 2; ++pass) {
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    for (size_t k = 0; k < x.size(); ++k) {
      double& v = x[pass ? x.size() - 1 - k : k];
      const double y = b0 * (v + x2) + b1 * x1 - a1 * y1 - a2 * y2;
      x2 = x1, x1 = v, y2 = y1, y1 = v = y;
    }
  }
  return x;
}

// Mean power of a signal over any stretch of time, from running sums.
struct Energy {
  std::vector<double> sum{0.0};
  explicit Energy(const std::vector<double>& x) {
    for (double v : x) sum.push_back(sum.back() + v * v);
  }
  double Mean(double from, double to) const {
    const size_t a = std::min(sum.size() - 1, static_cast<size_t>(std::max(0.0, from) * kRate));
    const size_t b = std::min(sum.size() - 1, static_cast<size_t>(std::max(0.0, to) * kRate));
    return b > a ? (sum[b] - sum[a]) / static_cast<double>(b - a) : 0.0;
  }
  // Level after a time over the level before it, in dB: [2, 20] ms after against [-50, -10].
  double RiseDb(double t) const {
    return 10.0 *
           std::log10((Mean(t + 0.002, t + 0.020) + 1e-12) / (Mean(t - 0.050, t - 0.010) + 1e-12));
  }
  // The onset near an expected time t, in ms from it: the first moment from 25 ms before on at
  // which the energy over 6 ms has risen halfway from its level before t to its level after.
  double OnsetErrorMs(double t) const {
    const double before = Mean(t - 0.050, t - 0.010), after = Mean(t + 0.002, t + 0.020);
    double s = t - 0.025;
    while (s < t + 0.030 && Mean(s - 0.003, s + 0.003) < 0.5 * (before + after)) s += 1.0 / kRate;
    return (s - t) * 1000.0;
  }
};

// The decoded track, shared by the tests of one run.
const music::Stereo& track() {
  static music::Stereo audio;
  static bool loaded = false;
  if (!loaded) {
    std::vector<unsigned char> bytes;
    long rate = 0;
    int channels = 0;
    std::string error;
    loaded = music::read_file(kTrack, bytes) &&
             music::decode_vorbis(bytes, audio, rate, channels, error);
    EXPECT_TRUE(loaded) << error;
  }
  return audio;
}

// Stereo, 44100 Hz, 167 to 168.5 s, as the player opens it (the video's muxing reads it
// through ffmpeg: tests/capture/cli_test.sh).
TEST(Track, DecodesAsVorbisStereoAt44100OfTheShowsLength) {
  sf::Music music;
  ASSERT_TRUE(music.openFromFile(kTrack));
  EXPECT_EQ(music.getChannelCount(), 2u);
  EXPECT_EQ(music.getSampleRate(), 44100u);
  EXPECT_NEAR(music.getDuration().asSeconds(), 167.75, 0.75);
}

// The file was made from the score as it stands: after editing the score, run `make music`.
TEST(Track, WasRenderedFromTheCurrentScore) {
  std::vector<unsigned char> bytes, text;
  std::vector<std::string> comments;
  ASSERT_TRUE(music::read_file(kTrack, bytes) && music::read_vorbis_comments(bytes, comments));
  ASSERT_TRUE(music::read_file(kRoot + "/assets/music/melody5.score", text));
  const std::string expected =
      "SCORE_HASH=" + music::text_hash(std::string(text.begin(), text.end()));
  EXPECT_NE(std::find(comments.begin(), comments.end(), expected), comments.end())
      << "data/melody5.ogg is stale: run make music";
}

// Every kick of the score falls on a whole beat and shows in the decoded signal as a rise of
// energy below 1 kHz that starts within 5 ms of its beat.
TEST(Track, KickOnsetsSitOnTheBeatGrid) {
  const double spb = committed_score().SecondsPerBeat();
  const Energy kick(band(mono(track()), 1000.0, false));
  size_t checked = 0;
  for (const music::Track& t : committed_score().tracks) {
    if (t.type != "kick") continue;
    for (const music::Note& n : t.notes) {
      const double at = n.beat * spb;
      EXPECT_EQ(n.beat, std::floor(n.beat)) << t.name << " off the beat grid";
      EXPECT_LE(std::fabs(kick.OnsetErrorMs(at)), 5.0) << t.name << " at beat " << n.beat;
      EXPECT_GE(kick.RiseDb(at), 2.0) << t.name << " at beat " << n.beat << " barely rises";
      ++checked;
    }
  }
  EXPECT_GT(checked, 250u);
}

// On each flash beat the 50 ms after carry at least 6 dB more energy than the 200 ms before,
// over the whole band and above 4 kHz (the crash), and the beat stands out as an accent: the RMS
// of its first 100 ms is at least 3 dB over the mean of the same on the eight beats before.
TEST(Track, FlashBeatsCarryAClearTransientAndAnAccent) {
  const double spb = committed_score().SecondsPerBeat();
  const Energy full(mono(track())), high(band(mono(track()), 4000.0, true));
  const auto rms = [&](double beat) {
    const double t = beat * spb;
    return std::sqrt(full.Mean(t, t + 0.1));
  };
  for (int beat : {50, 64, 80, 144, 160, 224, 236, 250, 266, 330, 372}) {
    const double t = beat * spb;
    for (const Energy* e : {&full, &high})
      EXPECT_GE(10.0 * std::log10(e->Mean(t, t + 0.05) / e->Mean(t - 0.2, t - 0.02)), 6.0)
          << "beat " << beat;
    double before = 0.0;
    for (int k = 1; k <= 8; ++k) before += rms(beat - k) / 8.0;
    EXPECT_GE(20.0 * std::log10(rms(beat) / before), 3.0) << "beat " << beat;
  }
}

// Between the hits no bed of hiss: in every part the quietest 5% of 100 ms windows carry at most
// -60 dBFS between 12 and 18 kHz.
TEST(Track, NoHissBetweenTheHits) {
  const double spb = committed_score().SecondsPerBeat();
  const std::vector<double> x = mono(track());
  const Energy top(band(band(band(x, 12000.0, true), 12000.0, true), 18000.0, false));
  const std::vector<music::Section>& parts = committed_score().sections;
  for (size_t p = 0; p < parts.size(); ++p) {
    const double end = p + 1 < parts.size() ? parts[p + 1].beat * spb : x.size() / kRate;
    std::vector<double> windows;
    for (double t = parts[p].beat * spb; t + 0.1 <= end; t += 0.1)
      windows.push_back(top.Mean(t, t + 0.1));
    std::nth_element(windows.begin(), windows.begin() + windows.size() / 20, windows.end());
    EXPECT_LE(10.0 * std::log10(windows[windows.size() / 20] + 1e-20), -60.0) << parts[p].name;
  }
}

// About -14 LUFS integrated, true peak under -1 dBTP, and the end of the show (from 167.1 s)
// silent.
TEST(Track, LoudnessPeakAndEnding) {
  music::Loudness l;
  std::string error;
  ASSERT_TRUE(music::measure_loudness(track(), true, l, error)) << error;
  EXPECT_NEAR(l.integrated_lufs, -14.0, 0.5);
  EXPECT_LT(l.true_peak_db, -1.0);
  const music::Stereo& audio = track();
  double tail = 0.0;
  for (size_t i = static_cast<size_t>(167.1 * kRate); i < audio.Frames(); ++i)
    tail = std::max({tail, std::fabs(double(audio.left[i])), std::fabs(double(audio.right[i]))});
  EXPECT_LT(tail, 0.001);
}

}  // namespace
