#include "voices.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"

namespace music {

namespace {

// Everything a voice needs about the event it renders.
struct Ctx {
  const Track& track;
  const Note& note;
  double spb = 0.0;     // seconds per beat
  int64_t start = 0;    // absolute sample of the event's start
  int64_t samples = 0;  // samples to render
  double gate = 0.0;    // held length in seconds
  double vel = 0.0;
  double pan_l = 1.0, pan_r = 1.0;
  uint32_t seed = 1;

  double P(const char* key) const { return track.params.at(key); }
  // A parameter that may be automated, at an absolute sample index.
  double Auto(const char* key, int64_t index) const {
    return track.Param(key, static_cast<double>(index) / kSampleRate / spb);
  }
};

// Constant-power pan gains, 1 for both sides at the centre.
void pan_gains(double pan, double& l, double& r) {
  pan = std::clamp(pan, -1.0, 1.0);
  const double angle = (pan + 1.0) * 0.25 * kPi;
  l = std::cos(angle) * 1.41421356;
  r = std::sin(angle) * 1.41421356;
}

// Evenly spread values in [-1, 1] for voice i of n (0 for a single voice).
double spread(int i, int n) {
  return n <= 1 ? 0.0 : -1.0 + 2.0 * i / (n - 1);
}

// A phase in [0, 1) derived from a seed and an index, for free-running oscillators.
double seeded_phase(uint32_t seed, int i) {
  Noise n(seed * 2654435761u + static_cast<uint32_t>(i) * 40503u + 1u);
  n.Next();
  return 0.5 * (n.Next() + 1.0);
}

void mono_out(const Ctx& c, const Span& out, int64_t i, double v) {
  out.Add(c.start + i, v * c.pan_l, v * c.pan_r);
}

// A sine body that falls from `punch` to its settled `pitch` (both read at the hit, so the score
// can retune them part by part) with a time constant of `bend`, through a soft clipper, over a
// click.
void kick(const Ctx& c, const Span& out) {
  const double low = c.track.Param("pitch", c.note.beat);
  const double high = c.track.Param("punch", c.note.beat);
  const double decay = c.P("decay");
  const double click = c.P("click"), drive = c.P("drive");
  Osc body;
  Noise noise(c.seed);
  Svf click_filter;
  const double norm = 1.0 / std::tanh(drive);
  // Exponential decays advanced by one multiplication per sample.
  const double m_bend = std::exp(-1.0 / (c.P("bend") * kSampleRate));
  const double m_snap = std::exp(-1.0 / (0.0025 * kSampleRate));
  const double m_amp = std::exp(-1.0 / (decay * kSampleRate));
  const double m_click = std::exp(-1.0 / (0.0035 * kSampleRate));
  double bend = 1.0, snap = 1.0, level = 1.0, click_level = click;
  const int64_t click_samples = static_cast<int64_t>(0.03 * kSampleRate);
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const double hz = low + (high - low) * bend + c.P("snap") * snap;
    const double amp = std::min(1.0, t / 0.0006) * level;
    double v = std::tanh(drive * std::sin(kTwoPi * body.Step(hz)) * amp) * norm;
    if (i < click_samples) v += click_level * click_filter.Band(noise.Next(), 2600.0, 0.15);
    mono_out(c, out, i, v * c.vel);
    bend *= m_bend;
    snap *= m_snap;
    level *= m_amp;
    click_level *= m_click;
  }
}

void snare(const Ctx& c, const Span& out) {
  const double tone = c.P("tone"), decay = c.P("decay"), snap = c.P("snap");
  const double cutoff = c.P("cutoff");
  Osc a, b;
  Noise noise(c.seed);
  Svf hp, bp;
  Top<4> top;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const double bend = 1.0 + 0.6 * std::exp(-t / 0.012);
    double v =
        (0.7 * a.Sine(tone * bend) + 0.35 * b.Sine(tone * 1.72 * bend)) * std::exp(-t / 0.055);
    const double n = noise.Next();
    const double shaped =
        top.Low(hp.High(n, cutoff, 0.0) * 0.7 + bp.Band(n, 5200.0, 0.3) * 0.6, 11000.0);
    v += snap * shaped * std::exp(-t / decay);
    v *= std::min(1.0, t / 0.0005);
    mono_out(c, out, i, v * c.vel);
  }
}

void clap(const Ctx& c, const Span& out) {
  const double decay = c.P("decay"), cutoff = c.P("cutoff");
  Noise nl(c.seed), nr(c.seed + 77u);
  Svf fl, fr, hl, hr;
  Top<4> tl, tr;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    double env = 0.0;
    for (double at : {0.0, 0.010, 0.021}) {
      if (t >= at) env = std::max(env, std::exp(-(t - at) / 0.0045));
    }
    if (t >= 0.028) env = std::max(env, 0.75 * std::exp(-(t - 0.028) / decay));
    const double l =
        tl.Low(fl.Band(nl.Next(), cutoff, 0.35) + 0.25 * hl.High(nl.Next(), 4000.0, 0.0), 9000.0);
    const double r = tr.Low(
        fr.Band(nr.Next(), cutoff * 1.08, 0.35) + 0.25 * hr.High(nr.Next(), 4000.0, 0.0), 9000.0);
    out.Add(c.start + i, 1.6 * l * env * c.vel * c.pan_l, 1.6 * r * env * c.vel * c.pan_r);
  }
}

// Six detuned band-limited square waves: the metallic core of hats and cymbals.
struct Metal {
  Osc osc[6];
  double Next(double scale) {
    static const double kRatios[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double s = 0.0;
    for (int k = 0; k < 6; ++k) s += osc[k].Pulse(kRatios[k] * scale, 0.5);
    return s / 6.0;
  }
};

// Metal and noise between `cutoff` and `top`: the shine sits in between, and the hiss above
// falls away, so a run of hats leaves no bed of noise between its hits.
void hat(const Ctx& c, const Span& out) {
  const double decay = c.P("decay"), cutoff = c.P("cutoff"), top = c.P("top");
  Metal metal;
  Noise noise(c.seed);
  Svf h1, h2;
  Top<8> lp;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const double raw = 0.6 * metal.Next(1.9) + 0.55 * noise.Next();
    const double v = lp.Low(h2.High(h1.High(raw, cutoff, 0.1), cutoff, 0.1), top);
    const double env = std::min(1.0, t / 0.0003) * std::exp(-t / decay);
    mono_out(c, out, i, v * env * c.vel);
  }
}

// Two layers of metal and noise: a bright strike that dies in a fraction of a second over a
// ring whose top stops at `top`, as a cymbal's highest partials die first.
void crash(const Ctx& c, const Span& out) {
  const double decay = c.P("decay"), cutoff = c.P("cutoff"), top = c.P("top");
  Metal ml, mr;
  Noise nl(c.seed), nr(c.seed ^ 0x5bd1e995u), rl(c.seed + 3u), rr(c.seed + 4u);
  Svf hl[4], hr[4], bl, br;
  Top<4> sl, sr, tl, tr;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const double attack = std::min(1.0, t / 0.0004);
    const double strike = attack * 0.55 * std::exp(-t / 0.12);
    const double ring = attack * 0.45 * std::exp(-t / decay);
    const double metal_l = 0.45 * ml.Next(2.6), metal_r = 0.45 * mr.Next(2.63);
    const double al = metal_l + 0.7 * nl.Next(), ar = metal_r + 0.7 * nr.Next();
    const double bl_raw = metal_l + 0.7 * rl.Next(), br_raw = metal_r + 0.7 * rr.Next();
    const double l =
        strike * sl.Low(hl[1].High(hl[0].High(al, cutoff, 0.0), cutoff, 0.0), 14000.0) +
        ring * tl.Low(hl[3].High(hl[2].High(bl_raw, cutoff, 0.0), cutoff, 0.0), top) +
        0.4 * (strike + ring) * bl.Band(al, 6500.0, 0.2);
    const double r =
        strike * sr.Low(hr[1].High(hr[0].High(ar, cutoff, 0.0), cutoff, 0.0), 14000.0) +
        ring * tr.Low(hr[3].High(hr[2].High(br_raw, cutoff, 0.0), cutoff, 0.0), top) +
        0.4 * (strike + ring) * br.Band(ar, 6500.0, 0.2);
    out.Add(c.start + i, l * c.vel * c.pan_l, r * c.vel * c.pan_r);
  }
}

void tom(const Ctx& c, const Span& out) {
  const double decay = c.P("decay");
  const double hz = midi_to_hz(c.note.pitches.empty() ? 45.0 : c.note.pitches[0]);
  Osc osc;
  Noise noise(c.seed);
  Svf lp;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const double f = hz * (1.0 + 0.7 * std::exp(-t / 0.04));
    double v = std::tanh(1.4 * osc.Sine(f)) * std::exp(-t / decay);
    v += 0.25 * lp.Low(noise.Next(), 3000.0, 0.0) * std::exp(-t / 0.02);
    v *= std::min(1.0, t / 0.0005);
    mono_out(c, out, i, v * c.vel);
  }
}

void boom(const Ctx& c, const Span& out) {
  const double decay = c.P("decay"), noise_amount = c.P("noise");
  const double hz = midi_to_hz(c.note.pitches.empty() ? 33.0 : c.note.pitches[0]);
  Osc osc;
  Noise nl(c.seed), nr(c.seed + 9u);
  Svf fl, fr;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const double f = hz * (1.0 + 3.0 * std::exp(-t / 0.07));
    const double body =
        std::tanh(1.8 * osc.Sine(f)) * std::exp(-t / decay) * std::min(1.0, t / 0.001);
    const double cut = 200.0 + 5000.0 * std::exp(-t / 0.15);
    const double env = noise_amount * std::exp(-t / 0.35) * std::min(1.0, t / 0.001);
    const double l = body + env * fl.Low(nl.Next(), cut, 0.1);
    const double r = body + env * fr.Low(nr.Next(), cut, 0.1);
    out.Add(c.start + i, l * c.vel * c.pan_l, r * c.vel * c.pan_r);
  }
}

void bass(const Ctx& c, const Span& out) {
  const double reso = c.P("reso"), env_amount = c.P("env"), env_decay = c.P("envdecay");
  const double detune = c.P("detune"), sub = c.P("sub"), drive = c.P("drive");
  Adsr amp;
  amp.attack = 0.002;
  amp.decay = 0.35;
  amp.sustain = 0.8;
  amp.release = c.P("release");
  // Staccato: the note lets go `cut` seconds early (never before half its length),
  // which leaves the kick on the next step room to punch through.
  const double gate = std::max(c.gate * 0.5, c.gate - c.P("cut"));
  for (double pitch : c.note.pitches) {
    const double hz = midi_to_hz(pitch);
    Osc s1(seeded_phase(c.seed, 1)), s2(seeded_phase(c.seed, 2)), so;
    Svf filter;
    const double up = hz * std::pow(2.0, detune / 12.0), down = hz * std::pow(2.0, -detune / 12.0);
    double cutoff = c.Auto("cutoff", c.start), cut = cutoff;
    for (int64_t i = 0; i < c.samples; ++i) {
      const double t = i / kSampleRate;
      if ((i & 31) == 0) cutoff = c.Auto("cutoff", c.start + i);
      const double saws = 0.5 * (s1.Saw(up) + s2.Saw(down));
      if ((i & 7) == 0) cut = cutoff + env_amount * c.vel * std::exp(-t / env_decay);
      double v = filter.Low(saws, cut, reso) + sub * so.Sine(hz);
      v = std::tanh(drive * v) / std::tanh(drive);
      mono_out(c, out, i, v * amp.At(t, gate) * c.vel);
    }
  }
}

void pluck(const Ctx& c, const Span& out) {
  const double reso = c.P("reso"), env_amount = c.P("env"), env_decay = c.P("envdecay");
  const double decay = c.P("decay"), detune = c.P("detune"), width = c.P("width");
  Adsr amp;
  amp.attack = 0.001;
  amp.decay = decay;
  amp.sustain = 0.0;
  amp.release = c.P("release");
  const double scale = 1.0 / std::sqrt(static_cast<double>(c.note.pitches.size()));
  for (size_t k = 0; k < c.note.pitches.size(); ++k) {
    const double hz = midi_to_hz(c.note.pitches[k]);
    Osc a(seeded_phase(c.seed, 3 + static_cast<int>(k))),
        b(seeded_phase(c.seed, 9 + static_cast<int>(k)));
    Svf fa, fb;
    const double up = hz * std::pow(2.0, detune / 12.0), down = hz * std::pow(2.0, -detune / 12.0);
    double cutoff = c.Auto("cutoff", c.start), cut = cutoff, e = 0.0;
    for (int64_t i = 0; i < c.samples; ++i) {
      const double t = i / kSampleRate;
      if ((i & 31) == 0) cutoff = c.Auto("cutoff", c.start + i);
      if ((i & 7) == 0) cut = cutoff + env_amount * c.vel * std::exp(-t / env_decay);
      const double va = fa.Low(a.Saw(up), cut, reso);
      const double vb = fb.Low(b.Pulse(down, 0.3), cut, reso);
      if ((i & 7) == 0) e = amp.At(t, c.gate) * c.vel * scale;
      const double l = va * (1.0 + width) * 0.5 + vb * (1.0 - width) * 0.5;
      const double r = va * (1.0 - width) * 0.5 + vb * (1.0 + width) * 0.5;
      out.Add(c.start + i, l * e * c.pan_l, r * e * c.pan_r);
    }
  }
}

// Several detuned saws per pitch spread across the stereo field, through one
// low-pass per side: the lead and the pad share it with different settings.
void saw_stack(const Ctx& c, const Span& out, const Adsr& amp, bool vibrato, double env_amount) {
  struct Saw {
    double phase = 0.0, dt = 0.0, ratio = 1.0, gl = 1.0, gr = 1.0, pitch = 0.0;
  };
  const int voices = std::max(1, static_cast<int>(c.P("voices")));
  const double detune = c.P("detune"), reso = c.P("reso"), width = c.P("width");
  const double depth = vibrato ? c.P("vibrato") : 0.0;
  const double scale = 1.0 / std::sqrt(static_cast<double>(voices * c.note.pitches.size()));
  std::vector<Saw> saws;
  for (size_t k = 0; k < c.note.pitches.size(); ++k) {
    for (int v = 0; v < voices; ++v) {
      Saw w;
      w.phase = seeded_phase(c.seed, static_cast<int>(k * 16) + v);
      w.ratio = std::pow(2.0, detune * spread(v, voices) / 12.0);
      pan_gains(width * spread(v, voices) * (v % 2 ? -1.0 : 1.0), w.gl, w.gr);
      w.pitch = c.note.pitches[k];
      saws.push_back(w);
    }
  }
  Svf fl, fr;
  Top<4> top_l, top_r;
  double cut = 0.0, e = 0.0;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    if ((i & 15) == 0) {
      cut = c.Auto("cutoff", c.start + i) + env_amount * std::exp(-t / 0.25);
      double bend = 0.0;
      if (depth > 0.0 && t > 0.2)
        bend = depth * std::min(1.0, (t - 0.2) / 0.3) * std::sin(kTwoPi * 5.2 * t);
      const double factor = std::pow(2.0, bend / 12.0);
      for (Saw& w : saws) w.dt = midi_to_hz(w.pitch) * factor * w.ratio / kSampleRate;
    }
    if ((i & 7) == 0) e = amp.At(t, c.gate) * c.vel * scale;
    double l = 0.0, r = 0.0;
    for (Saw& w : saws) {
      w.phase += w.dt;
      if (w.phase >= 1.0) w.phase -= 1.0;
      const double v = 2.0 * w.phase - 1.0 - poly_blep(w.phase, w.dt);
      l += v * w.gl;
      r += v * w.gr;
    }
    out.Add(c.start + i, top_l.Low(fl.Low(l, cut, reso), 12000.0) * e * c.pan_l,
            top_r.Low(fr.Low(r, cut, reso), 12000.0) * e * c.pan_r);
  }
}

void lead(const Ctx& c, const Span& out) {
  Adsr amp;
  amp.attack = c.P("attack");
  amp.decay = 0.4;
  amp.sustain = 0.8;
  amp.release = c.P("release");
  saw_stack(c, out, amp, true, c.P("env") * c.vel);
}

void pad(const Ctx& c, const Span& out) {
  Adsr amp;
  amp.attack = c.P("attack");
  amp.decay = 1.0;
  amp.sustain = 1.0;
  amp.release = c.P("release");
  saw_stack(c, out, amp, false, 0.0);
}

// Envelope level rounded to sixteen steps, as a four-bit volume register would.
double steps16(double level) {
  return std::floor(level * 15.0 + 0.5) / 15.0;
}

// A pulse wave with a four-bit stepped envelope; a chord arpeggiates at `speed` steps a second.
// With `width` above 0 a copy 8 cents flat joins on the left and one 8 cents sharp on the right,
// at that level: a chorus that leaves the centre pulse whole in mono.
void chip(const Ctx& c, const Span& out) {
  const double duty = c.P("duty"), speed = c.P("speed"), depth = c.P("vibrato");
  const double octave = c.P("octave"), width = c.P("width");
  const double norm = 0.5 / std::sqrt(1.0 + width * width);
  const double flat = std::pow(2.0, -0.08 / 12.0), sharp = 1.0 / flat;
  Adsr amp;
  amp.attack = 0.002;
  amp.decay = c.P("decay");
  amp.sustain = c.P("sustain");
  amp.release = c.P("release");
  Osc osc, left(seeded_phase(c.seed, 1)), right(seeded_phase(c.seed, 2));
  Top<4> top_l, top_r;
  const size_t n = c.note.pitches.size();
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const size_t which = c.note.chord ? static_cast<size_t>(t * speed) % n : 0;
    double pitch = c.note.pitches[which] + 12.0 * octave;
    if (!c.note.chord && t > 0.18) pitch += depth * std::sin(kTwoPi * 6.0 * (t - 0.18));
    const double hz = midi_to_hz(pitch);
    const double v = osc.Pulse(hz, duty), e = norm * steps16(amp.At(t, c.gate)) * c.vel;
    if (width > 0.0) {
      const double l = top_l.Low(v + width * left.Pulse(hz * flat, duty), 10000.0);
      const double r = top_r.Low(v + width * right.Pulse(hz * sharp, duty), 10000.0);
      out.Add(c.start + i, l * e * c.pan_l, r * e * c.pan_r);
    } else {
      mono_out(c, out, i, top_l.Low(v, 10000.0) * e);
    }
  }
}

void tri(const Ctx& c, const Span& out) {
  const double steps = std::max(2.0, c.P("steps"));
  const double release = c.P("release");
  const double hz = midi_to_hz(c.note.pitches[0]);
  Osc osc;
  Svf smooth;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const double q = std::floor((osc.Triangle(hz) * 0.5 + 0.5) * (steps - 1) + 0.5) / (steps - 1);
    const double gate = t < c.gate ? 1.0 : std::exp(-(t - c.gate) / release);
    const double v = smooth.Low(q * 2.0 - 1.0, 7000.0, 0.3) * gate * std::min(1.0, t / 0.001);
    mono_out(c, out, i, v * c.vel);
  }
}

void chip_noise(const Ctx& c, const Span& out) {
  const double decay = c.P("decay"), cutoff = c.P("cutoff");
  const bool metal = c.P("metal") > 0.5;
  uint32_t lfsr = 0x7fffu ^ (c.seed & 0x3fffu);
  double phase = 0.0;
  double level = 1.0;
  Top<4> lp;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    phase += cutoff / kSampleRate;
    while (phase >= 1.0) {
      phase -= 1.0;
      const uint32_t bit = (lfsr ^ (lfsr >> (metal ? 6 : 1))) & 1u;
      lfsr = (lfsr >> 1) | (bit << 14);
      level = (lfsr & 1u) ? 1.0 : -1.0;
    }
    const double v = lp.Low(level, 9000.0) * steps16(std::exp(-t / decay));
    mono_out(c, out, i, 0.5 * v * c.vel);
  }
}

// Additive partials at whole multiples of the pitch (octaves and twelfths, so that every
// partial sits in the note's key) under the voice's envelope, the higher ones fading sooner; the
// fundamental and the octave each have a twin a little over a hertz above, and each pair beats
// slowly as a struck bell does. The partials stand at places across the stereo field whose
// left and right add up to the same mono sum.
void bell(const Ctx& c, const Span& out) {
  struct Partial {
    double ratio, level, fade;  // fade: time constant as a share of `decay`, 0 for none
    double place;               // -1 left to 1 right
  };
  static const Partial kPartials[] = {{1.0, 1.0, 0.0, 0.0},    {2.0, 0.55, 0.8, -0.5},
                                      {3.0, 0.4, 0.4, 0.6},    {4.0, 0.4, 0.25, -0.7},
                                      {6.0, 0.25, 0.12, 0.7},  {8.0, 0.2, 0.07, -0.4},
                                      {12.0, 0.12, 0.04, 0.5}, {16.0, 0.08, 0.025, -0.6},
                                      {1.0, 0.35, 0.9, 0.8},   {2.0, 0.25, 0.5, 0.6}};
  const size_t count = sizeof kPartials / sizeof kPartials[0];
  const double twin_hz = 1.3;  // added to the last two partials
  const double decay = c.P("decay");
  Adsr amp;
  amp.attack = 0.002;
  amp.decay = decay;
  amp.sustain = 0.0;
  amp.release = c.P("release");
  const double scale = 1.0 / std::sqrt(static_cast<double>(c.note.pitches.size()));
  for (double pitch : c.note.pitches) {
    const double hz = midi_to_hz(pitch);
    Osc osc[count];
    double level[count], fall[count], freq[count];
    for (size_t k = 0; k < count; ++k) {
      level[k] = kPartials[k].level;
      const double fade = kPartials[k].fade * decay;
      fall[k] = fade > 0.0 ? std::exp(-1.0 / (fade * kSampleRate)) : 1.0;
      freq[k] = hz * kPartials[k].ratio + (k + 2 >= count ? twin_hz : 0.0);
      if (freq[k] > 0.45 * kSampleRate) level[k] = 0.0;
    }
    for (int64_t i = 0; i < c.samples; ++i) {
      const double t = i / kSampleRate;
      double l = 0.0, r = 0.0;
      for (size_t k = 0; k < count; ++k) {
        const double v = level[k] * osc[k].Sine(freq[k]);
        l += v * (1.0 - kPartials[k].place);
        r += v * (1.0 + kPartials[k].place);
        level[k] *= fall[k];
      }
      const double e = 0.53 * amp.At(t, c.gate) * c.vel * scale;
      out.Add(c.start + i, l * e * c.pan_l, r * e * c.pan_r);
    }
  }
}

void riser(const Ctx& c, const Span& out) {
  const double low = c.P("low"), high = c.P("high"), reso = c.P("reso");
  Noise nl(c.seed), nr(c.seed + 5u);
  Svf fl, fr;
  for (int64_t i = 0; i < c.samples; ++i) {
    const double t = i / kSampleRate;
    const double f = std::min(1.0, t / c.gate);
    const double hz = low * std::pow(high / low, f);
    double env = f * f;
    if (t > c.gate - 0.004) env *= std::max(0.0, (c.gate - t) / 0.004);
    const double l = fl.Band(nl.Next(), hz, reso);
    const double r = fr.Band(nr.Next(), hz * 1.03, reso);
    out.Add(c.start + i, l * env * c.vel * c.pan_l, r * env * c.vel * c.pan_r);
  }
}

}  // namespace

double voice_duration(const Track& track, const Note& note, double seconds_per_beat) {
  const double gate = note.length * seconds_per_beat;
  const std::string& type = track.type;
  const auto p = [&](const char* key) { return track.params.at(key); };
  if (type == "kick") return p("decay") * 6.0;
  if (type == "snare" || type == "clap") return std::max(0.4, p("decay") * 7.0);
  if (type == "hat" || type == "noise") return p("decay") * 9.0 + 0.01;
  if (type == "crash") return p("decay") * 6.0;
  if (type == "tom") return p("decay") * 7.0;
  if (type == "boom") return p("decay") * 6.0;
  if (type == "riser") return gate;
  if (type == "bell" || type == "tri" || type == "pluck" || type == "bass" || type == "chip" ||
      type == "lead" || type == "pad")
    return gate + p("release") * 6.9 + 0.01;
  return gate;
}

void render_voice(const Track& track, const Note& note, double seconds_per_beat, uint32_t seed,
                  const Span& out) {
  const std::string& type = track.type;
  const bool pitched =
      !(type == "kick" || type == "snare" || type == "clap" || type == "hat" || type == "crash" ||
        type == "noise" || type == "riser" || type == "tom" || type == "boom");
  if (pitched && note.pitches.empty()) return;
  Ctx c{track, note};
  c.spb = seconds_per_beat;
  c.start = static_cast<int64_t>(std::llround(note.beat * seconds_per_beat * kSampleRate));
  c.samples = static_cast<int64_t>(voice_duration(track, note, seconds_per_beat) * kSampleRate);
  c.gate = note.length * seconds_per_beat;
  c.vel = note.velocity;
  c.seed = seed;
  pan_gains(track.params.at("pan"), c.pan_l, c.pan_r);
  if (c.start + c.samples <= out.offset || c.start >= out.offset + out.Size()) return;
  if (type == "kick")
    kick(c, out);
  else if (type == "snare")
    snare(c, out);
  else if (type == "clap")
    clap(c, out);
  else if (type == "hat")
    hat(c, out);
  else if (type == "crash")
    crash(c, out);
  else if (type == "tom")
    tom(c, out);
  else if (type == "boom")
    boom(c, out);
  else if (type == "bass")
    bass(c, out);
  else if (type == "pluck")
    pluck(c, out);
  else if (type == "lead")
    lead(c, out);
  else if (type == "pad")
    pad(c, out);
  else if (type == "chip")
    chip(c, out);
  else if (type == "tri")
    tri(c, out);
  else if (type == "noise")
    chip_noise(c, out);
  else if (type == "bell")
    bell(c, out);
  else if (type == "riser")
    riser(c, out);
}

}  // namespace music
