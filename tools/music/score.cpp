#include "score.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace music {

double Automation::At(double beat, double fallback) const {
  double value = fallback;
  for (const Segment& s : segments) {
    if (beat < s.beat0) break;
    if (beat >= s.beat1) {
      value = s.value1;
      continue;
    }
    const double f = (beat - s.beat0) / (s.beat1 - s.beat0);
    return s.value0 + (s.value1 - s.value0) * f;
  }
  return value;
}

double Track::Param(const std::string& key, double beat) const {
  const auto p = params.find(key);
  const double fixed = p == params.end() ? 0.0 : p->second;
  const auto a = automation.find(key);
  return a == automation.end() ? fixed : a->second.At(beat, fixed);
}

const Track* Score::FindTrack(const std::string& name) const {
  for (const Track& t : tracks)
    if (t.name == name) return &t;
  return nullptr;
}

Track* Score::FindTrack(const std::string& name) {
  for (Track& t : tracks)
    if (t.name == name) return &t;
  return nullptr;
}

// Defaults shared by every voice: level in dB, pan, effect sends and the amount
// of ducking under the kick.
std::map<std::string, double> voice_defaults(const std::string& type) {
  std::map<std::string, double> p = {
      {"gain", 0.0}, {"pan", 0.0}, {"reverb", 0.0}, {"delay", 0.0}, {"duck", 0.0}};
  using Extra = std::map<std::string, double>;
  static const std::map<std::string, Extra> extras = {
      {"kick",
       {{"pitch", 48},
        {"punch", 170},
        {"snap", 500},
        {"decay", 0.24},
        {"click", 0.3},
        {"drive", 1.6},
        {"bend", 0.016}}},
      {"snare", {{"tone", 185}, {"decay", 0.17}, {"snap", 0.75}, {"cutoff", 2500}}},
      {"clap", {{"decay", 0.22}, {"cutoff", 1300}}},
      {"hat", {{"decay", 0.04}, {"cutoff", 7500}, {"top", 11000}}},
      {"crash", {{"decay", 1.7}, {"cutoff", 3200}, {"top", 7000}}},
      {"tom", {{"decay", 0.4}}},
      {"boom", {{"decay", 2.2}, {"noise", 0.4}}},
      {"bass",
       {{"cutoff", 300},
        {"reso", 0.3},
        {"env", 1800},
        {"envdecay", 0.12},
        {"detune", 0.12},
        {"sub", 0.7},
        {"release", 0.02},
        {"drive", 1.5},
        {"cut", 0.03}}},
      {"pluck",
       {{"cutoff", 400},
        {"reso", 0.25},
        {"env", 4000},
        {"envdecay", 0.14},
        {"decay", 0.35},
        {"release", 0.08},
        {"detune", 0.08},
        {"width", 0.5}}},
      {"lead",
       {{"cutoff", 3200},
        {"reso", 0.15},
        {"voices", 5},
        {"detune", 0.18},
        {"attack", 0.004},
        {"release", 0.16},
        {"vibrato", 0.15},
        {"width", 0.7},
        {"env", 2000},
        {"glide", 0.0}}},
      {"pad",
       {{"cutoff", 1400},
        {"reso", 0.1},
        {"voices", 4},
        {"detune", 0.14},
        {"attack", 0.5},
        {"release", 1.0},
        {"width", 1.0}}},
      {"chip",
       {{"duty", 0.25},
        {"speed", 20},
        {"decay", 0.25},
        {"sustain", 0.6},
        {"release", 0.03},
        {"vibrato", 0.12},
        {"octave", 0},
        {"width", 0}}},
      {"tri", {{"release", 0.02}, {"steps", 16}}},
      {"noise", {{"decay", 0.05}, {"cutoff", 9000}, {"metal", 0}}},
      {"bell", {{"decay", 1.1}, {"release", 0.3}}},
      {"riser", {{"low", 300}, {"high", 9000}, {"reso", 0.55}}},
  };
  const auto e = extras.find(type);
  if (e == extras.end()) return {};
  for (const auto& kv : e->second) p[kv.first] = kv.second;
  return p;
}

bool parse_note_name(const std::string& token, double& midi) {
  static const int kSemis[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (token.size() < 2 || token[0] < 'A' || token[0] > 'G') return false;
  int semi = kSemis[token[0] - 'A'];
  size_t i = 1;
  if (token[i] == '#') {
    ++semi;
    ++i;
  } else if (token[i] == 'b') {
    --semi;
    ++i;
  }
  if (i + 1 != token.size() || !std::isdigit(static_cast<unsigned char>(token[i]))) return false;
  const int octave = token[i] - '0';
  midi = 12.0 * (octave + 1) + semi;
  return true;
}

bool parse_chord(const std::string& token, std::vector<double>& pitches) {
  const size_t colon = token.find(':');
  if (colon == std::string::npos) return false;
  double root = 0.0;
  if (!parse_note_name(token.substr(0, colon) + "3", root)) return false;
  while (root >= 60.0) root -= 12.0;  // keep the root within C3..B3 after flats or sharps
  while (root < 48.0) root += 12.0;
  static const std::map<std::string, std::vector<int>> kQualities = {
      {"maj", {0, 4, 7, 12}},   {"m", {0, 3, 7, 12}},    {"7", {0, 4, 7, 10}},
      {"maj7", {0, 4, 7, 11}},  {"m7", {0, 3, 7, 10}},   {"sus2", {0, 2, 7, 12}},
      {"sus4", {0, 5, 7, 12}},  {"add9", {0, 4, 7, 14}}, {"m9", {0, 3, 10, 14}},
      {"maj9", {0, 4, 11, 14}}, {"5", {0, 7, 12}},       {"madd9", {0, 3, 7, 14}},
  };
  const auto q = kQualities.find(token.substr(colon + 1));
  if (q == kQualities.end()) return false;
  pitches.clear();
  for (int interval : q->second) pitches.push_back(root + interval);
  return true;
}

namespace {

struct Parser {
  Score& score;
  std::string& error;
  int line_no = 0;

  bool Fail(const std::string& why) {
    error = "line " + std::to_string(line_no) + ": " + why;
    return false;
  }

  static bool Number(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size();
  }

  // Reads a velocity suffix ("!" loud, "~" soft) off a pitched token.
  static double Suffix(std::string& token, double velocity) {
    if (token.size() > 1 && token.back() == '!') {
      token.pop_back();
      return 1.0;
    }
    if (token.size() > 1 && token.back() == '~') {
      token.pop_back();
      return 0.5;
    }
    return velocity;
  }

  // Turns one step token into an event; returns false for a token that means
  // nothing. Rests and holds are handled by the caller.
  static bool Event(std::string token, double transpose, Note& note) {
    if (token == "x" || token == "X" || token == "o") {
      note.velocity = token == "X" ? 1.0 : token == "x" ? 0.75 : 0.45;
      return true;
    }
    note.velocity = Suffix(token, 0.8);
    double midi = 0.0;
    if (parse_note_name(token, midi)) {
      note.pitches = {midi + transpose};
      return true;
    }
    if (parse_chord(token, note.pitches)) {
      for (double& p : note.pitches) p += transpose;
      note.chord = true;
      return true;
    }
    return false;
  }

  bool Instrument(const std::vector<std::string>& w) {
    if (w.size() < 3) return Fail("instrument needs a name and a voice type");
    if (score.FindTrack(w[1])) return Fail("instrument '" + w[1] + "' defined twice");
    Track t;
    t.name = w[1];
    t.type = w[2];
    t.params = voice_defaults(w[2]);
    if (t.params.empty()) return Fail("unknown voice type '" + w[2] + "'");
    for (size_t i = 3; i < w.size(); ++i) {
      const size_t eq = w[i].find('=');
      double v = 0.0;
      if (eq == std::string::npos || !Number(w[i].substr(eq + 1), v))
        return Fail("expected key=value, got '" + w[i] + "'");
      const std::string key = w[i].substr(0, eq);
      if (!t.params.count(key)) return Fail("voice " + w[2] + " has no parameter '" + key + "'");
      t.params[key] = v;
    }
    score.tracks.push_back(t);
    return true;
  }

  bool PatternHeader(const std::vector<std::string>& w, Pattern*& current) {
    double beats = 0.0, spb = 4.0;
    if (w.size() < 3 || w.size() > 4 || !Number(w[2], beats) || beats < 1 ||
        (w.size() == 4 && (!Number(w[3], spb) || spb < 1)))
      return Fail("pattern needs: pattern NAME BEATS [STEPS_PER_BEAT]");
    if (score.patterns.count(w[1])) return Fail("pattern '" + w[1] + "' defined twice");
    Pattern& p = score.patterns[w[1]];
    p.name = w[1];
    p.beats = static_cast<int>(beats);
    p.steps_per_beat = static_cast<int>(spb);
    p.line = line_no;
    current = &p;
    return true;
  }

  // Adds a row of steps to the current pattern; a track named on consecutive
  // rows continues its row.
  bool PatternRow(const std::vector<std::string>& w, Pattern& p) {
    if (!score.FindTrack(w[0])) return Fail("unknown track '" + w[0] + "'");
    std::vector<std::string>* row = nullptr;
    if (!p.rows.empty() && p.rows.back().first == w[0]) row = &p.rows.back().second;
    for (const auto& r : p.rows)
      if (!row && r.first == w[0]) return Fail("track '" + w[0] + "' has two rows in this pattern");
    if (!row) {
      p.rows.push_back({w[0], {}});
      row = &p.rows.back().second;
    }
    for (size_t i = 1; i < w.size(); ++i) {
      if (w[i] == "|") continue;
      Note probe;
      if (w[i] != "." && w[i] != "-" && !Event(w[i], 0.0, probe))
        return Fail("cannot read step '" + w[i] + "'");
      row->push_back(w[i]);
    }
    return true;
  }

  // Checks that every row of a finished pattern fills it exactly.
  bool CloseCheck(const Pattern* p) {
    if (!p) return true;
    const size_t steps = static_cast<size_t>(p->beats * p->steps_per_beat);
    for (const auto& r : p->rows) {
      for (size_t i = 0; i < r.second.size(); ++i)
        if (r.second[i] == "-" && (i == 0 || r.second[i - 1] == ".")) {
          line_no = p->line;
          return Fail("pattern '" + p->name + "': track " + r.first + " holds ('-') after no note");
        }
      if (r.second.size() != steps) {
        line_no = p->line;
        return Fail("pattern '" + p->name + "': track " + r.first + " has " +
                    std::to_string(r.second.size()) + " steps, expected " + std::to_string(steps));
      }
    }
    return true;
  }

  // Places a pattern's events from a beat on.
  void Place(const Pattern& p, double at, double transpose) {
    const double step = 1.0 / p.steps_per_beat;
    for (const auto& r : p.rows) {
      Track* t = score.FindTrack(r.first);
      size_t last = std::string::npos;
      for (size_t i = 0; i < r.second.size(); ++i) {
        const std::string& token = r.second[i];
        if (token == ".") {
          last = std::string::npos;
          continue;
        }
        if (token == "-") {
          if (last != std::string::npos) t->notes[last].length += step;
          continue;
        }
        Note n;
        Event(token, transpose, n);
        n.beat = at + i * step;
        n.length = step;
        t->notes.push_back(n);
        last = t->notes.size() - 1;
      }
    }
  }

  bool SectionLine(const std::vector<std::string>& w) {
    if (w[0] == "ramp" || w[0] == "set") {
      Automation::Segment s;
      if (w[0] == "set") {
        if (w.size() != 5 || !Number(w[3], s.beat0) || !Number(w[4], s.value0))
          return Fail("set needs: set TRACK PARAM BEAT VALUE");
        s.beat1 = s.beat0;
        s.value1 = s.value0;
      } else if (w.size() != 7 || !Number(w[3], s.beat0) || !Number(w[4], s.beat1) ||
                 !Number(w[5], s.value0) || !Number(w[6], s.value1) || s.beat1 <= s.beat0) {
        return Fail("ramp needs: ramp TRACK PARAM BEAT0 BEAT1 VALUE0 VALUE1");
      }
      Track* t = score.FindTrack(w[1]);
      if (!t) return Fail("unknown track '" + w[1] + "'");
      if (!t->params.count(w[2])) return Fail("track " + w[1] + " has no parameter '" + w[2] + "'");
      auto& segs = t->automation[w[2]].segments;
      if (!segs.empty() && segs.back().beat1 > s.beat0)
        return Fail("ramps of " + w[1] + " " + w[2] + " overlap or are out of order");
      segs.push_back(s);
      return true;
    }
    if (w[0] == "hush") {
      Hush h;
      if (w.size() != 4 || !Number(w[1], h.beat) || !Number(w[2], h.length) ||
          !Number(w[3], h.db) || h.length <= 0 || h.db > 0)
        return Fail("hush needs: hush BEAT LENGTH DB (a positive length, a cut of 0 dB or less)");
      score.hushes.push_back(h);
      return true;
    }
    double at = 0.0;
    if (!Number(w[0], at))
      return Fail("expected a beat, 'ramp', 'set', 'hush' or a new section, got '" + w[0] + "'");
    if (w.size() < 3) return Fail("an event needs a beat, a track or 'play', and a step");
    if (w[1] == "play") {
      const auto p = score.patterns.find(w[2]);
      if (p == score.patterns.end()) return Fail("unknown pattern '" + w[2] + "'");
      int times = 1;
      double transpose = 0.0;
      for (size_t i = 3; i < w.size(); ++i) {
        double v = 0.0;
        if (w[i].size() > 1 && w[i][0] == 'x' && Number(w[i].substr(1), v) && v >= 1) {
          times = static_cast<int>(v);
        } else if ((w[i][0] == '+' || w[i][0] == '-') && Number(w[i], v)) {
          transpose = v;
        } else {
          return Fail("play takes xN and +N/-N, got '" + w[i] + "'");
        }
      }
      for (int k = 0; k < times; ++k) Place(p->second, at + k * p->second.beats, transpose);
      return true;
    }
    Track* t = score.FindTrack(w[1]);
    if (!t) return Fail("unknown track '" + w[1] + "'");
    Note n;
    if (!Event(w[2], 0.0, n)) return Fail("cannot read step '" + w[2] + "'");
    n.beat = at;
    n.length = 1.0;
    for (size_t i = 3; i + 1 < w.size(); i += 2) {
      double v = 0.0;
      if (!Number(w[i + 1], v)) return Fail("expected a number after " + w[i]);
      if (w[i] == "len" && v > 0)
        n.length = v;
      else if (w[i] == "vel" && v >= 0 && v <= 1)
        n.velocity = v;
      else
        return Fail("unknown event option '" + w[i] + "'");
    }
    if ((w.size() - 3) % 2) return Fail("event options come in pairs (len L, vel V)");
    t->notes.push_back(n);
    return true;
  }

  bool Run(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    Pattern* pattern = nullptr;
    bool in_section = false;
    while (std::getline(in, line)) {
      ++line_no;
      // A '#' that starts a word begins a comment; inside a word it is a sharp.
      for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1])))) {
          line.erase(i);
          break;
        }
      std::istringstream words(line);
      std::vector<std::string> w;
      for (std::string s; words >> s;) w.push_back(s);
      if (w.empty()) continue;
      const bool indented = std::isspace(static_cast<unsigned char>(line[0]));
      if (indented) {
        if (pattern) {
          if (!PatternRow(w, *pattern)) return false;
        } else if (in_section) {
          if (!SectionLine(w)) return false;
        } else {
          return Fail("indented line outside a pattern or section");
        }
        continue;
      }
      if (!CloseCheck(pattern)) return false;
      pattern = nullptr;
      in_section = false;
      double v = 0.0, v2 = 0.0;
      if (w[0] == "tempo" && w.size() == 2 && Number(w[1], v) && v > 0) {
        score.bpm = v;
      } else if (w[0] == "length" && w.size() == 2 && Number(w[1], v) && v > 0) {
        score.length_seconds = v;
      } else if (w[0] == "fade" && w.size() == 3 && Number(w[1], v) && Number(w[2], v2) && v2 > v) {
        score.fade_start_seconds = v;
        score.fade_end_seconds = v2;
      } else if (w[0] == "instrument") {
        if (!Instrument(w)) return false;
      } else if (w[0] == "pattern") {
        if (!PatternHeader(w, pattern)) return false;
      } else if (w[0] == "section") {
        if (w.size() != 3 || !Number(w[2], v)) return Fail("section needs: section NAME BEAT");
        if (!score.sections.empty() && v <= score.sections.back().beat)
          return Fail("sections must start in ascending beat order");
        score.sections.push_back({w[1], v});
        in_section = true;
      } else {
        return Fail("cannot read '" + w[0] + "'");
      }
    }
    if (!CloseCheck(pattern)) return false;
    if (score.length_seconds <= 0) return Fail("the score gives no length");
    return true;
  }
};

}  // namespace

bool parse_score(const std::string& text, Score& score, std::string& error) {
  score = Score();
  Parser parser{score, error};
  return parser.Run(text);
}

bool load_score(const std::string& path, Score& score, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (!parse_score(text.str(), score, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace music
