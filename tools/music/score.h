// The score: instruments (tracks), patterns of steps, and an arrangement that
// places patterns and single events at absolute beats. Read from a small text
// format (see assets/music/melody5.score for the grammar in use).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace music {

// One event on a track: a drum hit (no pitches), a note or a chord.
struct Note {
  double beat = 0.0;            // start, in beats from the first sample
  double length = 0.0;          // held length in beats
  std::vector<double> pitches;  // MIDI note numbers; empty for a drum hit
  double velocity = 0.8;        // 0 to 1
  bool chord = false;           // pitches came from a chord symbol
};

// Linear automation of one track parameter: segments (b0, b1, v0, v1) in beat order.
// Before the first segment the instrument's own value holds; between and after
// segments the last reached value holds.
struct Automation {
  struct Segment {
    double beat0 = 0.0, beat1 = 0.0, value0 = 0.0, value1 = 0.0;
  };
  std::vector<Segment> segments;

  // Value at a beat, or fallback before the first segment.
  double At(double beat, double fallback) const;
};

// An instrument line of the score and the events placed on it.
struct Track {
  std::string name;                      // how patterns and events refer to it
  std::string type;                      // the voice that renders it (kick, bass, pad, ...)
  std::map<std::string, double> params;  // every parameter of the voice, defaults filled in
  std::vector<Note> notes;               // in placement order
  std::map<std::string, Automation> automation;

  // The parameter's value at a beat: its automation if any, else its fixed value.
  double Param(const std::string& key, double beat) const;
};

// A named block of steps, one row of tokens per track.
struct Pattern {
  std::string name;
  int beats = 0;
  int steps_per_beat = 4;
  std::vector<std::pair<std::string, std::vector<std::string>>> rows;  // track, tokens
  int line = 0;                                                        // where it was defined
};

// The whole mix sinking by `db` over the `length` beats before `beat` (after a
// 10 ms fade) and coming back on it: the breath before a hit.
struct Hush {
  double beat = 0.0;
  double length = 0.0;
  double db = 0.0;
};

// A labelled part of the arrangement starting at a beat.
struct Section {
  std::string name;
  double beat = 0.0;
};

struct Score {
  double bpm = 140.0;
  double length_seconds = 0.0;
  double fade_start_seconds = -1.0;  // master fade-out start, -1 for none
  double fade_end_seconds = -1.0;    // silence from here on
  std::vector<Track> tracks;
  std::vector<Section> sections;
  std::vector<Hush> hushes;
  std::map<std::string, Pattern> patterns;

  double SecondsPerBeat() const { return 60.0 / bpm; }
  // The track of that name, or null.
  const Track* FindTrack(const std::string& name) const;
  Track* FindTrack(const std::string& name);
};

// The parameters a voice type accepts, with their defaults; empty for an unknown type.
std::map<std::string, double> voice_defaults(const std::string& type);

// Parses a note name such as "A4", "C#3" or "Bb2" into a MIDI number (A4 = 69).
bool parse_note_name(const std::string& token, double& midi);

// Parses a chord symbol "ROOT:QUALITY" (for example "A:m", "F:maj7", "E:7") into
// pitches voiced with the root between C3 and B3.
bool parse_chord(const std::string& token, std::vector<double>& pitches);

// Parses score text; on failure returns false and sets error to "line N: why".
bool parse_score(const std::string& text, Score& score, std::string& error);

// Reads and parses a score file; on failure error says why.
bool load_score(const std::string& path, Score& score, std::string& error);

}  // namespace music
