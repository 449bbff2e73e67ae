// Small signal-processing building blocks for the composition tool: oscillators,
// filters, envelopes, noise, delay lines and a reverb. Everything is plain
// single-threaded arithmetic with no hidden state, so a render is repeatable.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace music {

constexpr double kSampleRate = 44100.0;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2.0 * kPi;

// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz); fractional notes allowed.
inline double midi_to_hz(double note) {
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

// Decibels to a linear gain factor.
inline double db_to_gain(double db) {
  return std::pow(10.0, db / 20.0);
}

// Deterministic white noise (xorshift32); the same seed gives the same sequence.
struct Noise {
  uint32_t state = 0x9E3779B9u;

  explicit Noise(uint32_t seed = 0x9E3779B9u) : state(seed ? seed : 1u) {}

  // Next sample, uniform in [-1, 1).
  float Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) * (2.0f / 4294967296.0f) - 1.0f;
  }
};

// Correction for a unit step discontinuity (polyBLEP); t is the phase in [0, 1),
// dt the phase increment per sample. Removes most of the aliasing of saw and pulse.
inline double poly_blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

// Band-limited oscillator with a phase in [0, 1): saw, pulse, triangle and sine shapes.
struct Osc {
  double phase = 0.0;

  explicit Osc(double start_phase = 0.0) : phase(start_phase) {}

  // Advances by one sample of frequency hz and returns the phase before the step.
  double Step(double hz) {
    const double p = phase;
    phase += hz / kSampleRate;
    phase -= std::floor(phase);
    return p;
  }
  // Rising saw in [-1, 1].
  double Saw(double hz) {
    const double dt = hz / kSampleRate;
    const double p = Step(hz);
    return 2.0 * p - 1.0 - poly_blep(p, dt);
  }
  // Pulse with the given duty cycle (0.5 = square) in [-1, 1].
  double Pulse(double hz, double duty) {
    const double dt = hz / kSampleRate;
    const double p = Step(hz);
    double v = p < duty ? 1.0 : -1.0;
    v += poly_blep(p, dt);
    double q = p - duty;
    if (q < 0.0) q += 1.0;
    v -= poly_blep(q, dt);
    return v;
  }
  // Triangle in [-1, 1] (naive; used low or quantised on purpose).
  double Triangle(double hz) {
    const double p = Step(hz);
    return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
  }
  // Sine in [-1, 1].
  double Sine(double hz) { return std::sin(kTwoPi * Step(hz)); }
};

// Topology-preserving state-variable filter: stable under fast cutoff changes.
struct Svf {
  double ic1 = 0.0, ic2 = 0.0;
  double low = 0.0, band = 0.0, high = 0.0;
  double last_hz = -1.0, last_res = -1.0;  // coefficients below belong to these
  double k = 2.0, a1 = 0.0, a2 = 0.0, a3 = 0.0;

  // Filters one sample at cutoff hz with resonance res in [0, 1); fills low/band/high.
  // Coefficients are recomputed only when the cutoff or resonance changes.
  void Process(double x, double hz, double res) {
    if (hz != last_hz || res != last_res) {
      last_hz = hz;
      last_res = res;
      hz = hz > 18000.0 ? 18000.0 : hz < 10.0 ? 10.0 : hz;
      const double g = std::tan(kPi * hz / kSampleRate);
      k = 2.0 - 2.0 * res;
      a1 = 1.0 / (1.0 + g * (g + k));
      a2 = g * a1;
      a3 = g * a2;
    }
    const double v3 = x - ic2;
    const double v1 = a1 * ic1 + a2 * v3;
    const double v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0 * v1 - ic1;
    ic2 = 2.0 * v2 - ic2;
    low = v2;
    band = v1;
    high = x - k * v1 - v2;
  }
  double Low(double x, double hz, double res) {
    Process(x, hz, res);
    return low;
  }
  double Band(double x, double hz, double res) {
    Process(x, hz, res);
    return band;
  }
  double High(double x, double hz, double res) {
    Process(x, hz, res);
    return high;
  }
};

// Butterworth low-pass of `Poles` poles built from two-pole stages: flat below `hz`, 3 dB down
// at it and falling 6 dB an octave per pole above. It takes the hiss off the top of noisy and
// buzzy voices, so that the mix's spectrum falls above 10 kHz.
template <int Poles>
struct Top {
  Svf stage[Poles / 2];
  double res[Poles / 2];

  Top() {
    for (int k = 0; k < Poles / 2; ++k) res[k] = 1.0 - std::cos((2 * k + 1) * kPi / (2 * Poles));
  }
  double Low(double x, double hz) {
    for (int k = 0; k < Poles / 2; ++k) x = stage[k].Low(x, hz, res[k]);
    return x;
  }
};

// Attack-decay-sustain-release envelope evaluated from the time since note on
// and the note's held length; linear attack, exponential decay and release.
struct Adsr {
  double attack = 0.005;  // seconds to full level
  double decay = 0.1;     // time constant of the fall to sustain
  double sustain = 1.0;   // level held while the note is on
  double release = 0.1;   // time constant of the fall after note off

  // Level at t seconds after note on for a note held for gate seconds.
  double At(double t, double gate) const {
    if (t < 0.0) return 0.0;
    if (t < gate) return Held(t);
    return Held(gate) * std::exp(-(t - gate) / release);
  }

 private:
  double Held(double t) const {
    if (t < attack) return t / attack;
    return sustain + (1.0 - sustain) * std::exp(-(t - attack) / decay);
  }
};

// Fixed delay line of whole samples.
struct DelayLine {
  std::vector<float> buffer;
  size_t pos = 0;

  explicit DelayLine(size_t length = 1) : buffer(length ? length : 1, 0.0f) {}
  // Value written `length` samples ago.
  float Read() const { return buffer[pos]; }
  void Write(float x) {
    buffer[pos] = x;
    pos = (pos + 1) % buffer.size();
  }
};

// Lowpass-feedback comb filter of the reverb.
struct Comb {
  DelayLine line;
  float store = 0.0f;

  explicit Comb(size_t length = 1) : line(length) {}
  float Process(float x, float feedback, float damp) {
    const float out = line.Read();
    store = out * (1.0f - damp) + store * damp;
    line.Write(x + store * feedback);
    return out;
  }
};

// Schroeder allpass of the reverb.
struct Allpass {
  DelayLine line;

  explicit Allpass(size_t length = 1) : line(length) {}
  float Process(float x) {
    const float buffered = line.Read();
    line.Write(x + buffered * 0.5f);
    return buffered - x;
  }
};

// Stereo reverb: eight parallel combs and four allpasses per side, the right side
// slightly detuned for width, after a short pre-delay.
struct Reverb {
  std::vector<Comb> combs_l, combs_r;
  std::vector<Allpass> passes_l, passes_r;
  DelayLine predelay_l, predelay_r;
  float feedback = 0.84f;
  float damp = 0.3f;

  Reverb(double room, double damping, double predelay_seconds);
  // Adds the reverberated (l, r) input to out_l and out_r.
  void Process(float in_l, float in_r, float& out_l, float& out_r);
};

}  // namespace music
