// The score format and the committed score's fit to the show's script.
#include "score.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

const char* kRoot = TESSARY_SOURCE_DIR;

TEST(ScoreNotes, NamesAndChords) {
  double midi = 0.0;
  ASSERT_TRUE(music::parse_note_name("A4", midi));
  EXPECT_EQ(midi, 69.0);
  ASSERT_TRUE(music::parse_note_name("C#3", midi));
  EXPECT_EQ(midi, 49.0);
  ASSERT_TRUE(music::parse_note_name("Bb2", midi));
  EXPECT_EQ(midi, 46.0);
  for (const char* bad : {"H2", "A", "A10", "a4", "C#", "x", "Cb"})
    EXPECT_FALSE(music::parse_note_name(bad, midi)) << bad;

  std::vector<double> chord;
  ASSERT_TRUE(music::parse_chord("A:m", chord));
  EXPECT_EQ(chord, (std::vector<double>{57, 60, 64, 69}));
  ASSERT_TRUE(music::parse_chord("F:maj7", chord));
  EXPECT_EQ(chord, (std::vector<double>{53, 57, 60, 64}));
  ASSERT_TRUE(music::parse_chord("C#:7", chord));  // roots stay within C3..B3
  EXPECT_EQ(chord.front(), 49.0);
  EXPECT_FALSE(music::parse_chord("A:dim13", chord));
  EXPECT_FALSE(music::parse_chord("Am", chord));
}

TEST(ScoreParse, PatternsPlaceEventsAtTheirBeats) {
  const std::string text = R"(
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
  hush 12 0.5 -6
)";
  music::Score score;
  std::string error;
  ASSERT_TRUE(music::parse_score(text, score, error)) << error;
  EXPECT_DOUBLE_EQ(score.SecondsPerBeat(), 60.0 / 140.0);
  ASSERT_EQ(score.sections.size(), 1u);
  EXPECT_EQ(score.sections[0].beat, 4.0);
  ASSERT_EQ(score.hushes.size(), 1u);
  EXPECT_EQ(score.hushes[0].beat, 12.0);
  EXPECT_EQ(score.hushes[0].length, 0.5);
  EXPECT_EQ(score.hushes[0].db, -6.0);

  const music::Track* drums = score.FindTrack("drums");
  ASSERT_TRUE(drums);
  ASSERT_EQ(drums->notes.size(), 7u);  // three hits twice, and the single one
  EXPECT_EQ(drums->notes[0].beat, 4.0);
  EXPECT_EQ(drums->notes[0].velocity, 1.0);
  EXPECT_EQ(drums->notes[1].beat, 4.5);
  EXPECT_EQ(drums->notes[1].velocity, 0.75);
  EXPECT_EQ(drums->notes[2].beat, 5.0);
  EXPECT_EQ(drums->notes[2].velocity, 0.45);
  EXPECT_EQ(drums->notes[3].beat, 6.0);
  EXPECT_TRUE(drums->notes[0].pitches.empty());  // hits are not transposed into notes
  EXPECT_EQ(drums->notes[6].beat, 9.5);
  EXPECT_EQ(drums->notes[6].length, 0.5);
  EXPECT_EQ(drums->notes[6].velocity, 0.3);

  const music::Track* line = score.FindTrack("line");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->params.at("cutoff"), 500.0);
  ASSERT_EQ(line->notes.size(), 8u);
  // A1 held two steps, C#2 one step, Bb1 four steps; all up an octave.
  EXPECT_EQ(line->notes[0].pitches, std::vector<double>{45.0});
  EXPECT_EQ(line->notes[0].length, 0.5);
  EXPECT_EQ(line->notes[1].beat, 4.75);
  EXPECT_EQ(line->notes[1].length, 0.25);
  EXPECT_EQ(line->notes[1].pitches, std::vector<double>{49.0});
  EXPECT_EQ(line->notes[2].beat, 5.0);
  EXPECT_EQ(line->notes[2].length, 1.0);
  EXPECT_EQ(line->notes[3].beat, 6.0);
  EXPECT_EQ(line->notes[6].beat, 12.0);
  EXPECT_TRUE(line->notes[6].chord);
  EXPECT_EQ(line->notes[6].length, 2.0);
  EXPECT_EQ(line->notes[7].beat, 14.0);

  // Before the ramp the instrument's value, then the ramp, then its end value.
  EXPECT_EQ(line->Param("cutoff", 2.0), 500.0);
  EXPECT_EQ(line->Param("cutoff", 6.0), 1000.0);
  EXPECT_EQ(line->Param("cutoff", 20.0), 1500.0);
  EXPECT_EQ(line->Param("gain", 6.0), 0.0);
}

TEST(ScoreParse, AutomationHoldsBetweenRampsAndJumpsAtSets) {
  music::Score score;
  std::string error;
  ASSERT_TRUE(music::parse_score(R"(length 5
instrument p pad
section a 0
  ramp p cutoff 0 4 100 200
  set p cutoff 10 900
  ramp p cutoff 12 14 900 300
)",
                                 score, error))
      << error;
  const music::Track& p = score.tracks[0];
  EXPECT_EQ(p.Param("cutoff", 2.0), 150.0);
  EXPECT_EQ(p.Param("cutoff", 8.0), 200.0);
  EXPECT_EQ(p.Param("cutoff", 10.0), 900.0);
  EXPECT_EQ(p.Param("cutoff", 13.0), 600.0);
  EXPECT_EQ(p.Param("cutoff", 99.0), 300.0);
}

TEST(ScoreParse, MistakesAreReportedWithTheirLine) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"length 5\ninstrument k kick\npattern p 1\n  k x x x\n",
       "line 3: pattern 'p': track k has 3 steps, expected 4"},
      {"length 5\ninstrument k kick\npattern p 1\n  q x x x x\n", "line 4: unknown track 'q'"},
      {"length 5\ninstrument k kick wobble=2\n", "line 2: voice kick has no parameter 'wobble'"},
      {"length 5\ninstrument k theremin\n", "line 2: unknown voice type 'theremin'"},
      {"length 5\ninstrument b bass\npattern p 1\n  b A1 . - .\n", "holds ('-') after no note"},
      {"length 5\ninstrument b bass\npattern p 1\n  b A1 H2 . .\n",
       "line 4: cannot read step 'H2'"},
      {"length 5\nsection a 8\nsection b 4\n",
       "line 3: sections must start in ascending beat order"},
      {"length 5\nsection a 0\n  0 play nothing\n", "line 3: unknown pattern 'nothing'"},
      {"length 5\ninstrument p pad\nsection a 0\n  ramp p gain 0 4 0 1\n  ramp p gain 2 6 0 1\n",
       "line 5: ramps of p gain overlap"},
      {"instrument p pad\n", "the score gives no length"},
      {"length 5\n  0 p A:m\n", "line 2: indented line outside a pattern or section"},
      {"length 5\ninstrument p pad\nsection a 0\n  0 p A:m len\n", "event options come in pairs"},
      {"length 5\nsection a 0\n  hush 8 1 3\n", "line 3: hush needs: hush BEAT LENGTH DB"},
  };
  for (const Case& c : cases) {
    music::Score score;
    std::string error;
    EXPECT_FALSE(music::parse_score(c.text, score, error)) << c.text;
    EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error;
  }
  music::Score score;
  std::string error;
  EXPECT_FALSE(music::load_score("/nonexistent/score", score, error));
  EXPECT_EQ(error, "cannot open /nonexistent/score");
}

// The committed score follows the show's script: its sections change where the
// parts change, a crash marks every flash beat, the kicks stay on whole beats,
// and the pillar walk enters with the flash at beat 160.
TEST(CommittedScore, FollowsTheShow) {
  music::Score score;
  std::string error;
  ASSERT_TRUE(music::load_score(std::string(kRoot) + "/assets/music/melody5.score", score, error))
      << error;
  EXPECT_EQ(score.bpm, 140.0);
  EXPECT_GE(score.length_seconds, 167.0);
  EXPECT_LE(score.length_seconds, 168.5);
  EXPECT_NEAR(score.fade_end_seconds, 167.1, 0.05);

  std::vector<double> starts;
  for (const music::Section& s : score.sections) starts.push_back(s.beat);
  EXPECT_EQ(starts, (std::vector<double>{0, 50, 94, 150, 224, 266, 330, 372}));

  const music::Track* crash = score.FindTrack("crash");
  ASSERT_TRUE(crash);
  std::set<double> crashes;
  for (const music::Note& n : crash->notes) crashes.insert(n.beat);
  for (int beat : {50, 64, 80, 144, 160, 224, 236, 250, 266, 330, 372})
    EXPECT_TRUE(crashes.count(beat)) << "no crash on flash beat " << beat;

  size_t kicks = 0;
  for (const music::Track& t : score.tracks) {
    if (t.type != "kick") continue;
    for (const music::Note& n : t.notes) {
      EXPECT_EQ(n.beat, std::floor(n.beat)) << t.name << " off the beat grid";
      ++kicks;
    }
  }
  EXPECT_GT(kicks, 250u);

  const music::Track* walk = score.FindTrack("walk");
  ASSERT_TRUE(walk);
  ASSERT_FALSE(walk->notes.empty());
  EXPECT_EQ(walk->notes.front().beat, 160.0);
}

}  // namespace
