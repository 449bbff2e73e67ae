// Rendering, mastering and encoding: repeatable, audible, loud enough and never over the ceiling.
#include "render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "committed_score.h"
#include "dsp.h"
#include "master.h"
#include "score.h"
#include "vorbis_io.h"

namespace {

music::Score parse(const std::string& text) {
  music::Score score;
  std::string error;
  EXPECT_TRUE(music::parse_score(text, score, error)) << error;
  return score;
}

// Mean power of both channels over [from, to) seconds (the whole of it by default), in dB.
double rms_db(const music::Stereo& a, double from = 0.0, double to = 1e9) {
  const size_t i = static_cast<size_t>(from * music::kSampleRate);
  const size_t j = std::min(a.Frames(), static_cast<size_t>(to * music::kSampleRate));
  double sum = 0.0;
  for (size_t k = i; k < j; ++k) sum += a.left[k] * a.left[k] + a.right[k] * a.right[k];
  return 10.0 * std::log10(sum / (2.0 * (j - i)) + 1e-20);
}

// An excerpt of the real score around the pillar walk's entry, rendered twice, gives the same
// samples and the same bytes once encoded; they decode to the same length and shape.
TEST(Render, TwiceGivesIdenticalPcmAndVorbis) {
  const music::Stereo a = music::render_mix(committed_score(), 66.0, 72.0);
  const music::Stereo b = music::render_mix(committed_score(), 66.0, 72.0);
  std::string error;
  ASSERT_EQ(a.Frames(), static_cast<size_t>(6.0 * music::kSampleRate));
  EXPECT_GT(rms_db(a), -40.0);
  EXPECT_TRUE(a.left == b.left && a.right == b.right);
  EXPECT_EQ(music::hash_pcm(a), music::hash_pcm(b));

  std::vector<unsigned char> ea, eb;
  ASSERT_TRUE(music::encode_vorbis(a, 0.4f, ea, error)) << error;
  ASSERT_TRUE(music::encode_vorbis(b, 0.4f, eb, error)) << error;
  EXPECT_EQ(ea, eb);
  music::Stereo back;
  long rate = 0;
  int channels = 0;
  ASSERT_TRUE(music::decode_vorbis(ea, back, rate, channels, error)) << error;
  EXPECT_EQ(rate, music::kSampleRate);
  EXPECT_EQ(channels, 2);
  ASSERT_EQ(back.Frames(), a.Frames());
  double ab = 0.0, aa = 0.0, bb = 0.0;  // both channels keep their shape, each in its place
  for (size_t i = 0; i < a.Frames(); ++i) {
    ab += a.left[i] * back.left[i] + a.right[i] * back.right[i];
    aa += a.left[i] * a.left[i] + a.right[i] * a.right[i];
    bb += back.left[i] * back.left[i] + back.right[i] * back.right[i];
  }
  EXPECT_GT(ab / std::sqrt(aa * bb), 0.97);
  EXPECT_FALSE(
      music::decode_vorbis(std::vector<unsigned char>(1000, 0x55), back, rate, channels, error));
}

// Every voice of the score format renders something audible and finite.
TEST(Render, EveryVoiceSounds) {
  for (const char* type : {"kick", "snare", "clap", "hat", "crash", "tom", "boom", "bass", "pluck",
                           "lead", "pad", "chip", "tri", "noise", "bell", "riser"}) {
    const music::Stereo audio =
        music::render_mix(parse(std::string("length 3\ninstrument v ") + type +
                                "\nsection a 0\n  0 v A:m len 2\n  2 v A3 len 2\n"));
    EXPECT_TRUE(std::isfinite(rms_db(audio))) << type;
    EXPECT_GT(rms_db(audio), -45.0) << type;
  }
}

// A hush sinks the whole mix before its beat, echoes included, and lets go on it.
TEST(Render, HushSinksTheMixBeforeItsBeat) {
  const std::string base =
      "length 4\ninstrument p pad reverb=0.5 attack=0.01\nsection a 0\n  0 p A:m len 8\n";
  const music::Stereo plain = music::render_mix(parse(base));
  const music::Stereo hushed = music::render_mix(parse(base + "  hush 4 1 -12\n"));
  const double spb = 60.0 / 140.0;
  EXPECT_NEAR(rms_db(hushed, 3.2 * spb, 3.9 * spb) - rms_db(plain, 3.2 * spb, 3.9 * spb), -12.0,
              0.1);
  const size_t before = static_cast<size_t>(2.9 * spb * music::kSampleRate),
               from = static_cast<size_t>(4 * spb * music::kSampleRate) + 1;
  EXPECT_TRUE(std::equal(plain.left.begin(), plain.left.begin() + before, hushed.left.begin()));
  EXPECT_TRUE(std::equal(plain.left.begin() + from, plain.left.end(), hushed.left.begin() + from));
}

// Mastering a far too loud mix reaches the loudness target with the true peak under the ceiling,
// and reports what the mastered mix measures.
TEST(Master, ReachesTheTargetUnderTheCeiling) {
  music::Stereo audio = music::render_mix(parse(R"(length 12
instrument k kick
instrument b bass
instrument s snare
pattern beat 4
  k X . . . | X . . . | X . . . | X . . .
  s . . . . | X . . . | . . . . | X . . .
  b . A1 A2 A1 | . A1 A2 A1 | . A1 A2 A1 | . A1 A2 A1
section a 0
  0 play beat x6
)"));
  for (size_t i = 0; i < audio.Frames(); ++i) audio.left[i] *= 4.0f, audio.right[i] *= 4.0f;
  music::MasterResult result;
  std::string error;
  ASSERT_TRUE(music::master_mix(audio, -14.0, -1.5, result, error)) << error;
  EXPECT_NEAR(result.loudness.integrated_lufs, -14.0, 0.1);
  EXPECT_LE(result.loudness.true_peak_db, -1.5);
  music::Loudness check;
  ASSERT_TRUE(music::measure_loudness(audio, true, check, error)) << error;
  EXPECT_NEAR(check.integrated_lufs, result.loudness.integrated_lufs, 1e-9);
  EXPECT_NEAR(check.true_peak_db, result.loudness.true_peak_db, 1e-9);
}

}  // namespace
