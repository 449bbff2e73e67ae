#include "render.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dsp.h"
#include "voices.h"

namespace music {

namespace {

const double kPrerollSeconds = 4.0;
const double kMonoBelowHz = 150.0;  // the mix is mono below this

// Depth of ducking under the kicks for each sample of a window, 0 to 1: it dips
// right after each kick and recovers over about a fifth of a second.
std::vector<float> duck_envelope(std::vector<int64_t> kicks, int64_t first, size_t frames) {
  std::sort(kicks.begin(), kicks.end());
  std::vector<float> env(frames, 0.0f);
  size_t k = 0;
  for (size_t i = 0; i < frames; ++i) {
    const int64_t index = first + static_cast<int64_t>(i);
    while (k < kicks.size() && kicks[k] <= index) ++k;
    if (k == 0) continue;
    const double t = static_cast<double>(index - kicks[k - 1]) / kSampleRate;
    const double attack = std::min(1.0, t / 0.004);
    env[i] = static_cast<float>(attack * std::exp(-std::max(0.0, t - 0.004) / 0.11));
  }
  return env;
}

// Stereo ping-pong echo at a dotted eighth, darkened on every repeat.
struct PingPong {
  DelayLine left, right;
  Svf tone_l, tone_r;
  double feedback = 0.38;

  explicit PingPong(size_t samples) : left(samples), right(samples) {}
  void Process(float in_l, float in_r, float& out_l, float& out_r) {
    const float el = left.Read(), er = right.Read();
    const double fl = tone_l.Band(el, 1800.0, 0.0) * 1.2 + tone_l.low * 0.15;
    const double fr = tone_r.Band(er, 1800.0, 0.0) * 1.2 + tone_r.low * 0.15;
    left.Write(static_cast<float>(0.5 * (in_l + in_r) + feedback * fr));
    right.Write(static_cast<float>(feedback * fl));
    out_l += el;
    out_r += er;
  }
};

// Gain of the whole mix at a time in seconds, from the score's hushes.
double hush_gain(const Score& score, double seconds) {
  double gain = 1.0;
  for (const Hush& h : score.hushes) {
    const double end = h.beat * score.SecondsPerBeat();
    const double start = end - h.length * score.SecondsPerBeat();
    if (seconds < start || seconds >= end) continue;
    const double fade = std::min(1.0, (seconds - start) / 0.010);
    gain = std::min(gain, 1.0 - fade * (1.0 - db_to_gain(h.db)));
  }
  return gain;
}

}  // namespace

Stereo render_mix(const Score& score, double start_seconds, double end_seconds) {
  if (end_seconds < 0.0) end_seconds = score.length_seconds;
  const double spb = score.SecondsPerBeat();
  const int64_t out_first = static_cast<int64_t>(std::llround(start_seconds * kSampleRate));
  const int64_t out_end = static_cast<int64_t>(std::llround(end_seconds * kSampleRate));
  const int64_t first =
      std::max<int64_t>(0, out_first - static_cast<int64_t>(kPrerollSeconds * kSampleRate));
  const size_t frames = static_cast<size_t>(std::max<int64_t>(0, out_end - first));

  std::vector<int64_t> kicks;
  for (const Track& t : score.tracks)
    if (t.type == "kick")
      for (const Note& n : t.notes) kicks.push_back(std::llround(n.beat * spb * kSampleRate));
  const std::vector<float> duck_env = duck_envelope(kicks, first, frames);

  Stereo dry, rev_send, del_send;
  for (Stereo* s : {&dry, &rev_send, &del_send}) {
    s->left.assign(frames, 0.0f);
    s->right.assign(frames, 0.0f);
  }
  std::vector<float> tl, tr;
  for (size_t ti = 0; ti < score.tracks.size(); ++ti) {
    const Track& track = score.tracks[ti];
    tl.assign(frames, 0.0f);
    tr.assign(frames, 0.0f);
    const Span span{&tl, &tr, first};
    for (size_t ni = 0; ni < track.notes.size(); ++ni) {
      const uint32_t seed = static_cast<uint32_t>(ti * 7919u + ni * 104729u + 17u);
      render_voice(track, track.notes[ni], spb, seed, span);
    }
    const double duck = track.params.at("duck");
    const double rev = track.params.at("reverb"), del = track.params.at("delay");
    double gain = 0.0;
    for (size_t i = 0; i < frames; ++i) {
      const int64_t index = first + static_cast<int64_t>(i);
      if ((i & 63) == 0) gain = db_to_gain(track.Param("gain", index / kSampleRate / spb));
      const double g = gain * (1.0 - duck * duck_env[i]);
      const float l = static_cast<float>(tl[i] * g), r = static_cast<float>(tr[i] * g);
      dry.left[i] += l;
      dry.right[i] += r;
      rev_send.left[i] += static_cast<float>(l * rev);
      rev_send.right[i] += static_cast<float>(r * rev);
      del_send.left[i] += static_cast<float>(l * del);
      del_send.right[i] += static_cast<float>(r * del);
    }
  }

  Reverb reverb(0.86, 0.45, 0.025);
  PingPong echo(static_cast<size_t>(std::llround(0.75 * spb * kSampleRate)));
  Svf hp_l, hp_r, side_hp1, side_hp2;
  Stereo out;
  out.left.assign(static_cast<size_t>(std::max<int64_t>(0, out_end - out_first)), 0.0f);
  out.right.assign(out.left.size(), 0.0f);
  for (size_t i = 0; i < frames; ++i) {
    float el = 0.0f, er = 0.0f;
    echo.Process(del_send.left[i], del_send.right[i], el, er);
    float rl = 0.0f, rr = 0.0f;
    reverb.Process(rev_send.left[i] + 0.3f * el, rev_send.right[i] + 0.3f * er, rl, rr);
    double l = dry.left[i] + 0.55 * el + 0.9 * rl;
    double r = dry.right[i] + 0.55 * er + 0.9 * rr;
    l = hp_l.High(l, 30.0, 0.0);
    r = hp_r.High(r, 30.0, 0.0);
    // Everything under kMonoBelowHz goes to the middle: the side loses its lows.
    const double mid = 0.5 * (l + r);
    const double side =
        side_hp2.High(side_hp1.High(0.5 * (l - r), kMonoBelowHz, 0.3), kMonoBelowHz, 0.3);
    l = mid + side;
    r = mid - side;
    const int64_t index = first + static_cast<int64_t>(i);
    const double seconds = index / kSampleRate;
    if (!score.hushes.empty()) {
      const double g = hush_gain(score, seconds);
      l *= g;
      r *= g;
    }
    if (score.fade_start_seconds >= 0.0 && seconds > score.fade_start_seconds) {
      const double f = std::min(1.0, (seconds - score.fade_start_seconds) /
                                         (score.fade_end_seconds - score.fade_start_seconds));
      const double g = 0.5 + 0.5 * std::cos(f * kPi);
      l *= g;
      r *= g;
    }
    if (index >= out_first) {
      out.left[static_cast<size_t>(index - out_first)] = static_cast<float>(l);
      out.right[static_cast<size_t>(index - out_first)] = static_cast<float>(r);
    }
  }
  return out;
}

uint64_t hash_pcm(const Stereo& audio) {
  uint64_t h = 1469598103934665603ull;
  for (const std::vector<float>* side : {&audio.left, &audio.right}) {
    for (float f : *side) {
      uint32_t bits = 0;
      std::memcpy(&bits, &f, sizeof bits);
      for (int k = 0; k < 4; ++k) {
        h ^= (bits >> (8 * k)) & 0xffu;
        h *= 1099511628211ull;
      }
    }
  }
  return h;
}

}  // namespace music
