// Rendering, mastering and encoding: repeatable, on time, loud enough and never
// over the ceiling.
#include "render.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis.h"
#include "master.h"
#include "score.h"
#include "vorbis_io.h"

namespace {

const char* kRoot = TESSARY_SOURCE_DIR;

music::Score parse(const std::string& text) {
  music::Score score;
  std::string error;
  EXPECT_TRUE(music::parse_score(text, score, error)) << error;
  return score;
}

double rms_db(const music::Stereo& a) {
  double sum = 0.0;
  for (size_t i = 0; i < a.Frames(); ++i) sum += a.left[i] * a.left[i] + a.right[i] * a.right[i];
  return 10.0 * std::log10(sum / (2.0 * a.Frames()) + 1e-20);
}

// An excerpt of the real score around the pillar walk's entry, rendered twice,
// gives the same samples, and the same bytes once encoded.
TEST(Render, TwiceGivesIdenticalPcm) {
  music::Score score;
  std::string error;
  ASSERT_TRUE(music::load_score(std::string(kRoot) + "/assets/music/melody5.score", score, error))
      << error;
  const music::Stereo a = music::render_mix(score, 66.0, 72.0);
  const music::Stereo b = music::render_mix(score, 66.0, 72.0);
  ASSERT_EQ(a.Frames(), static_cast<size_t>(6.0 * 44100));
  EXPECT_GT(rms_db(a), -40.0);
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.right, b.right);
  EXPECT_EQ(music::hash_pcm(a), music::hash_pcm(b));

  std::vector<unsigned char> ea, eb;
  ASSERT_TRUE(music::encode_vorbis(a, 0.4f, ea, error)) << error;
  ASSERT_TRUE(music::encode_vorbis(b, 0.4f, eb, error)) << error;
  EXPECT_EQ(ea, eb);
}

// A kick starts on its beat's sample, and the onset finder of the track tests
// sees it there; moved 10 ms late, the finder sees it 10 ms late.
TEST(Render, KickStartsOnItsBeatAndTheOnsetFinderSeesIt) {
  const double spb = 60.0 / 140.0;
  const double late = 0.010 / spb;  // 10 ms in beats
  music::Score score = parse("length 6\ninstrument k kick\nsection a 0\n  2 k X\n  " +
                             std::to_string(6.0 + late) + " k X\n");
  const music::Stereo audio = music::render_mix(score);
  size_t first = 0;
  while (first < audio.Frames() && std::fabs(audio.left[first]) < 1e-4f) ++first;
  EXPECT_GE(first, 2u * 18900u);
  EXPECT_LE(first, 2u * 18900u + 4u);

  const std::vector<double> env = music_test::kick_envelope(music_test::mono(audio));
  const music_test::Onset on_time = music_test::find_onset(env, 2 * spb);
  EXPECT_NEAR(on_time.error_ms, 0.0, 1.5);
  EXPECT_GT(on_time.rise_db, 20.0);
  const music_test::Onset off = music_test::find_onset(env, 6 * spb);
  EXPECT_NEAR(off.error_ms, 10.0, 1.5);
}

// Every voice of the score format renders something audible and finite.
TEST(Render, EveryVoiceSounds) {
  for (const char* type : {"kick", "snare", "clap", "hat", "crash", "tom", "boom", "bass", "pluck",
                           "lead", "pad", "chip", "tri", "noise", "bell", "riser"}) {
    music::Score score = parse(std::string("length 3\ninstrument v ") + type +
                               "\nsection a 0\n  0 v A:m len 2\n  2 v A3 len 2\n");
    const music::Stereo audio = music::render_mix(score);
    bool finite = true;
    for (size_t i = 0; i < audio.Frames(); ++i)
      finite = finite && std::isfinite(audio.left[i]) && std::isfinite(audio.right[i]);
    EXPECT_TRUE(finite) << type;
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
  const auto slice = [](const music::Stereo& a, double from, double to) {
    music::Stereo s;
    const size_t i = static_cast<size_t>(from * 44100), j = static_cast<size_t>(to * 44100);
    s.left.assign(a.left.begin() + i, a.left.begin() + j);
    s.right.assign(a.right.begin() + i, a.right.begin() + j);
    return s;
  };
  EXPECT_NEAR(
      rms_db(slice(hushed, 3.2 * spb, 3.9 * spb)) - rms_db(slice(plain, 3.2 * spb, 3.9 * spb)),
      -12.0, 0.1);
  EXPECT_EQ(slice(hushed, 0.0, 2.9 * spb).left, slice(plain, 0.0, 2.9 * spb).left);
  EXPECT_EQ(slice(hushed, 4.0 * spb, 6.0 * spb).left, slice(plain, 4.0 * spb, 6.0 * spb).left);
}

// Mastering reaches the loudness target with the true peak under the ceiling,
// and the limiter alone never lets a sample above its ceiling.
TEST(Master, ReachesTheTargetUnderTheCeiling) {
  music::Score score = parse(R"(length 12
instrument k kick
instrument b bass
instrument s snare
pattern beat 4
  k X . . . | X . . . | X . . . | X . . .
  s . . . . | X . . . | . . . . | X . . .
  b . A1 A2 A1 | . A1 A2 A1 | . A1 A2 A1 | . A1 A2 A1
section a 0
  0 play beat x6
)");
  music::Stereo audio = music::render_mix(score);
  for (size_t i = 0; i < audio.Frames(); ++i) {  // far too loud to begin with
    audio.left[i] *= 4.0f;
    audio.right[i] *= 4.0f;
  }
  music::Stereo limited = audio;
  music::limit_peaks(limited, -3.0);
  float peak = 0.0f;
  for (size_t i = 0; i < limited.Frames(); ++i)
    peak = std::max({peak, std::fabs(limited.left[i]), std::fabs(limited.right[i])});
  EXPECT_LE(peak, std::pow(10.0, -3.0 / 20.0) + 1e-6);

  music::MasterResult result;
  std::string error;
  ASSERT_TRUE(music::master_mix(audio, -14.0, -1.5, result, error)) << error;
  EXPECT_NEAR(result.loudness.integrated_lufs, -14.0, 0.1);
  EXPECT_LE(result.loudness.true_peak_db, -1.5);
  music::Loudness check;
  ASSERT_TRUE(music::measure_loudness(audio, true, check, error)) << error;
  EXPECT_NEAR(check.integrated_lufs, result.loudness.integrated_lufs, 1e-9);
}

TEST(Vorbis, RoundTripKeepsFormatLengthAndShape) {
  music::Stereo tone;
  for (size_t i = 0; i < 44100 * 2; ++i) {
    tone.left.push_back(
        static_cast<float>(0.5 * std::sin(2.0 * 3.141592653589793 * 440.0 * i / 44100)));
    tone.right.push_back(
        static_cast<float>(0.25 * std::sin(2.0 * 3.141592653589793 * 660.0 * i / 44100)));
  }
  std::vector<unsigned char> bytes;
  std::string error;
  ASSERT_TRUE(music::encode_vorbis(tone, 0.4f, bytes, error)) << error;
  music::Stereo back;
  long rate = 0;
  int channels = 0;
  ASSERT_TRUE(music::decode_vorbis(bytes, back, rate, channels, error)) << error;
  EXPECT_EQ(rate, 44100);
  EXPECT_EQ(channels, 2);
  ASSERT_EQ(back.Frames(), tone.Frames());
  double dot = 0.0, a2 = 0.0, b2 = 0.0;
  for (size_t i = 0; i < tone.Frames(); ++i) {
    dot += tone.left[i] * back.left[i];
    a2 += tone.left[i] * tone.left[i];
    b2 += back.left[i] * back.left[i];
  }
  EXPECT_GT(dot / std::sqrt(a2 * b2), 0.99);

  const std::vector<unsigned char> garbage(1000, 0x55);
  EXPECT_FALSE(music::decode_vorbis(garbage, back, rate, channels, error));
}

}  // namespace
