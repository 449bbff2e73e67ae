// The committed track, data/melody5.ogg, as the player and any decoder see it.
#include <gtest/gtest.h>

#include <SFML/Audio/Music.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "analysis.h"
#include "master.h"
#include "score.h"
#include "vorbis_io.h"

namespace {

const std::string kRoot = TESSARY_SOURCE_DIR;
const std::string kTrack = kRoot + "/data/melody5.ogg";
const double kSecondsPerBeat = 60.0 / 140.0;
const int kFlashBeats[] = {50, 64, 80, 144, 160, 224, 236, 250, 266, 330, 372};

// Runs a command and returns what it printed.
std::string run(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  if (!pipe) return out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
  return out;
}

// The decoded track, shared by the tests of one run.
const music::Stereo& track() {
  static music::Stereo audio;
  static bool loaded = false;
  if (!loaded) {
    long rate = 0;
    int channels = 0;
    std::string error;
    loaded = music_test::decode_file(kTrack, audio, rate, channels, error);
    EXPECT_TRUE(loaded) << error;
  }
  return audio;
}

TEST(Track, FfprobeSeesVorbisStereoAt44100) {
  const std::string out =
      run("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels:format=duration "
          "-of default=noprint_wrappers=1 '" +
          kTrack + "' 2>&1");
  EXPECT_NE(out.find("codec_name=vorbis\n"), std::string::npos) << out;
  EXPECT_NE(out.find("sample_rate=44100\n"), std::string::npos) << out;
  EXPECT_NE(out.find("channels=2\n"), std::string::npos) << out;
  const size_t at = out.find("duration=");
  ASSERT_NE(at, std::string::npos) << out;
  const double duration = std::atof(out.c_str() + at + 9);
  EXPECT_GE(duration, 167.0);
  EXPECT_LE(duration, 168.5);
}

// The file was made from the score as it stands: after editing the score, run
// `make music`.
TEST(Track, WasRenderedFromTheCurrentScore) {
  std::vector<unsigned char> bytes, score_text;
  ASSERT_TRUE(music::read_file(kTrack, bytes));
  ASSERT_TRUE(music::read_file(kRoot + "/assets/music/melody5.score", score_text));
  std::vector<std::string> comments;
  ASSERT_TRUE(music::read_vorbis_comments(bytes, comments));
  const std::string expected =
      "SCORE_HASH=" + music::text_hash(std::string(score_text.begin(), score_text.end()));
  EXPECT_NE(std::find(comments.begin(), comments.end(), expected), comments.end())
      << "data/melody5.ogg is stale: run make music";
}

TEST(Track, SfmlMusicOpensIt) {
  sf::Music music;
  ASSERT_TRUE(music.openFromFile(kTrack));
  EXPECT_EQ(music.getChannelCount(), 2u);
  EXPECT_EQ(music.getSampleRate(), 44100u);
  EXPECT_GE(music.getDuration().asSeconds(), 167.0f);
  EXPECT_LE(music.getDuration().asSeconds(), 168.5f);
}

// Every kick of the score shows in the decoded signal as a rise of energy below
// 1 kHz that starts within 5 ms of its beat.
TEST(Track, KickOnsetsSitOnTheBeatGrid) {
  music::Score score;
  std::string error;
  ASSERT_TRUE(music::load_score(kRoot + "/assets/music/melody5.score", score, error)) << error;
  const std::vector<double> env = music_test::kick_envelope(music_test::mono(track()));
  size_t checked = 0;
  for (const music::Track& t : score.tracks) {
    if (t.type != "kick") continue;
    for (const music::Note& n : t.notes) {
      const music_test::Onset onset = music_test::find_onset(env, n.beat * kSecondsPerBeat);
      EXPECT_LE(std::fabs(onset.error_ms), 5.0) << t.name << " at beat " << n.beat;
      EXPECT_GE(onset.rise_db, 2.0) << t.name << " at beat " << n.beat << " barely rises";
      ++checked;
    }
  }
  EXPECT_GT(checked, 250u);
}

// On each flash beat the 50 ms after carry at least 6 dB more energy than the
// 200 ms before, over the whole band and above 4 kHz (the crash).
TEST(Track, FlashBeatsCarryAClearTransient) {
  const std::vector<double> full = music_test::mono(track());
  std::vector<double> high = full;
  music_test::zero_phase_highpass(high, 4000.0);
  for (int beat : kFlashBeats) {
    EXPECT_GE(music_test::transient_db(full, beat * kSecondsPerBeat), 6.0) << "beat " << beat;
    EXPECT_GE(music_test::transient_db(high, beat * kSecondsPerBeat), 6.0) << "beat " << beat;
  }
}

// About -14 LUFS integrated, true peak under -1 dBTP, no clipped sample, and the
// end of the show (from 167.1 s) silent.
TEST(Track, LoudnessPeakAndEnding) {
  const music::Stereo& audio = track();
  music::Loudness l;
  std::string error;
  ASSERT_TRUE(music::measure_loudness(audio, true, l, error)) << error;
  EXPECT_NEAR(l.integrated_lufs, -14.0, 0.5);
  EXPECT_LT(l.true_peak_db, -1.0);
  EXPECT_LT(l.sample_peak_db, -1.0);

  double tail = 0.0;
  for (size_t i = static_cast<size_t>(167.1 * 44100); i < audio.Frames(); ++i)
    tail = std::max({tail, std::fabs(double(audio.left[i])), std::fabs(double(audio.right[i]))});
  EXPECT_LT(tail, 0.001);
}

}  // namespace
