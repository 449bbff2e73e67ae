// The score format and the committed score's fit to the show's script.
#include "score.h"

#include <gtest/gtest.h>

#include <sstream>

#include "committed_score.h"

namespace {

// The notes of a track as "beat+length@velocity pitches; ...", chords marked.
std::string notes(const music::Track* track) {
  std::ostringstream out;
  for (const music::Note& n : track ? track->notes : std::vector<music::Note>()) {
    out << n.beat << '+' << n.length << '@' << n.velocity << (n.chord ? " chord" : "");
    for (double p : n.pitches) out << ' ' << p;
    out << "; ";
  }
  return out.str();
}

TEST(ScoreNotes, NamesAndChords) {
  double midi = 0.0;
  for (const auto& [name, expected] : {std::make_pair("A4", 69.0), {"C#3", 49.0}, {"Bb2", 46.0}})
    EXPECT_TRUE(music::parse_note_name(name, midi) && midi == expected) << name;
  for (const char* bad : {"H2", "A", "A10", "a4", "C#", "x", "Cb"})
    EXPECT_FALSE(music::parse_note_name(bad, midi)) << bad;
  std::vector<double> chord;
  ASSERT_TRUE(music::parse_chord("A:m", chord));
  EXPECT_EQ(chord, (std::vector<double>{57, 60, 64, 69}));
  ASSERT_TRUE(music::parse_chord("F:maj7", chord));
  EXPECT_EQ(chord, (std::vector<double>{53, 57, 60, 64}));
  EXPECT_FALSE(music::parse_chord("A:dim13", chord) || music::parse_chord("Am", chord));
}

// Patterns place their steps (hits, held notes, chords) at their beats, transposed and repeated;
// events, hushes and automation land where they say.
TEST(ScoreParse, PatternsEventsAndAutomation) {
  music::Score score;
  std::string error;
  ASSERT_TRUE(music::parse_score(R"(
tempo 140
length 10   # seconds
instrument drums kick
instrument line bass cutoff=500
pattern groove 2
  drums X . x . | o . . .
  line  A1 - . C#2 | Bb1 - - -
pattern chords 4 1
  line A:m - F:maj -
section one 4
  4 play groove x2 +12
  12 play chords
  9.5 drums X len 0.5 vel 0.3
  ramp line cutoff 4 8 500 1500
  set line cutoff 10 900
  ramp line cutoff 12 14 900 300
  hush 12 0.5 -6
)",
                                 score, error))
      << error;
  EXPECT_DOUBLE_EQ(score.SecondsPerBeat(), 60.0 / 140.0);
  ASSERT_EQ(score.sections.size(), 1u);
  EXPECT_EQ(score.sections[0].beat, 4.0);
  ASSERT_EQ(score.hushes.size(), 1u);
  EXPECT_TRUE(score.hushes[0].beat == 12 && score.hushes[0].length == 0.5 &&
              score.hushes[0].db == -6);
  // Three hits twice, and the single one; hits are not transposed into notes.
  EXPECT_EQ(notes(score.FindTrack("drums")),
            "4+0.25@1; 4.5+0.25@0.75; 5+0.25@0.45; 6+0.25@1; 6.5+0.25@0.75; 7+0.25@0.45; "
            "9.5+0.5@0.3; ");
  // A1 held two steps, C#2 one step, Bb1 four steps, all up an octave; then one chord a bar.
  EXPECT_EQ(notes(score.FindTrack("line")),
            "4+0.5@0.8 45; 4.75+0.25@0.8 49; 5+1@0.8 46; 6+0.5@0.8 45; 6.75+0.25@0.8 49; "
            "7+1@0.8 46; 12+2@0.8 chord 57 60 64 69; 14+2@0.8 chord 53 57 60 65; ");
  const music::Track& line = *score.FindTrack("line");
  // The instrument's value before the first ramp; ramps; holds between them; jumps at sets.
  for (const auto& [beat, cutoff] : {std::make_pair(2.0, 500.0),
                                     {6.0, 1000.0},
                                     {9.0, 1500.0},
                                     {10.0, 900.0},
                                     {13.0, 600.0},
                                     {99.0, 300.0}})
    EXPECT_EQ(line.Param("cutoff", beat), cutoff) << "beat " << beat;
  EXPECT_EQ(line.Param("gain", 6.0), 0.0);
}

TEST(ScoreParse, MistakesAreReportedWithTheirLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"length 5\ninstrument k kick\npattern p 1\n  k x x x\n",
       "line 3: pattern 'p': track k has 3 steps, expected 4"},
      {"length 5\ninstrument k kick\npattern p 1\n  q x x x x\n", "line 4: unknown track 'q'"},
      {"length 5\ninstrument b bass\npattern p 1\n  b A1 . - .\n", "holds ('-') after no note"},
      {"length 5\nsection a 8\nsection b 4\n", "line 3: sections must start in ascending beat"},
      {"length 5\ninstrument p pad\nsection a 0\n  ramp p gain 0 4 0 1\n  ramp p gain 2 6 0 1\n",
       "line 5: ramps of p gain overlap"},
      {"instrument p pad\n", "the score gives no length"},
  };
  for (const auto& [text, expected] : cases) {
    music::Score score;
    std::string error;
    EXPECT_FALSE(music::parse_score(text, score, error)) << text;
    EXPECT_NE(error.find(expected), std::string::npos) << "got: " << error;
  }
  music::Score score;
  std::string error;
  EXPECT_FALSE(music::load_score("/nonexistent/score", score, error));
  EXPECT_EQ(error, "cannot open /nonexistent/score");
}

// The committed score follows the show's script: its tempo, its length, its sections changing
// where the parts change, and the pillar walk entering with the flash at beat 160. (A crash on
// every flash beat, kicks on whole beats: the decoded track's tests.)
TEST(CommittedScore, FollowsTheShow) {
  const music::Score& score = committed_score();
  EXPECT_EQ(score.bpm, 140.0);
  EXPECT_NEAR(score.length_seconds, 167.75, 0.75);
  EXPECT_NEAR(score.fade_end_seconds, 167.1, 0.05);
  std::vector<double> starts;
  for (const music::Section& s : score.sections) starts.push_back(s.beat);
  EXPECT_EQ(starts, (std::vector<double>{0, 50, 94, 150, 224, 266, 330, 372}));
  ASSERT_FALSE(notes(score.FindTrack("walk")).empty());
  EXPECT_EQ(score.FindTrack("walk")->notes.front().beat, 160.0);
}

}  // namespace

const music::Score& committed_score() {
  static music::Score parsed;
  static bool loaded = false;
  if (!loaded) {
    std::string error;
    loaded = music::load_score(TESSARY_SOURCE_DIR "/assets/music/melody5.score", parsed, error);
    EXPECT_TRUE(loaded) << error;
  }
  return parsed;
}
