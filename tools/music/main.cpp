// tessary-compose: renders the show's track from its score and encodes it.
//
//   tessary-compose [--score FILE] [--out FILE] [--wav FILE] [--quality Q]
//   tessary-compose --hash [--from SECONDS] [--to SECONDS]
//   tessary-compose --solo TRACK[,TRACK...] --wav FILE
//
// The default run reads assets/music/melody5.score, masters the mix to -14 LUFS
// with true peaks below -1 dBTP (checked on the decoded file) and writes
// data/melody5.ogg. --hash prints a hash of the unmastered mix of a window;
// --solo writes the named tracks alone, unmastered (the kicks still duck them), to a WAV.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "dsp.h"
#include "master.h"
#include "render.h"
#include "score.h"
#include "vorbis_io.h"

namespace {

const double kTargetLufs = -14.0;
const double kMaxTruePeak = -1.0;  // dBTP of the decoded file

int fail(const std::string& why) {
  std::fprintf(stderr, "tessary-compose: %s\n", why.c_str());
  return 1;
}

// Writes 16-bit stereo PCM WAV, for listening tools and analysis.
bool write_wav(const std::string& path, const music::Stereo& audio) {
  std::vector<unsigned char> b;
  const auto u32 = [&](uint32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<unsigned char>(v >> (8 * k)));
  };
  const auto u16 = [&](uint16_t v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
  };
  const uint32_t data = static_cast<uint32_t>(audio.Frames() * 4);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  u32(36 + data);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  u32(16);
  u16(1);
  u16(2);
  u32(static_cast<uint32_t>(music::kSampleRate));
  u32(static_cast<uint32_t>(music::kSampleRate) * 4);
  u16(4);
  u16(16);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  u32(data);
  for (size_t i = 0; i < audio.Frames(); ++i) {
    for (float f : {audio.left[i], audio.right[i]}) {
      const long v = std::lround(std::fmax(-1.0, std::fmin(1.0, f)) * 32767.0);
      u16(static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
  }
  return music::write_file(path, b);
}

// Loudness of each section of the decoded track, so the arrangement's dynamics
// can be read without listening.
void print_sections(const music::Score& score, const music::Stereo& audio) {
  for (size_t s = 0; s < score.sections.size(); ++s) {
    const double from = score.sections[s].beat * score.SecondsPerBeat();
    const double to = s + 1 < score.sections.size()
                          ? score.sections[s + 1].beat * score.SecondsPerBeat()
                          : audio.Frames() / music::kSampleRate;
    music::Stereo part;
    const size_t a = static_cast<size_t>(from * music::kSampleRate),
                 b = static_cast<size_t>(to * music::kSampleRate);
    part.left.assign(audio.left.begin() + a, audio.left.begin() + std::min(b, audio.Frames()));
    part.right.assign(audio.right.begin() + a, audio.right.begin() + std::min(b, audio.Frames()));
    music::Loudness l;
    std::string error;
    if (music::measure_loudness(part, false, l, error))
      std::printf("  %-10s beat %5.1f  %6.2f s  %6.1f LUFS  peak %5.1f dBFS\n",
                  score.sections[s].name.c_str(), score.sections[s].beat, from, l.integrated_lufs,
                  l.sample_peak_db);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string score_path = "assets/music/melody5.score";
  std::string out_path = "data/melody5.ogg";
  std::string wav_path;
  double from = 0.0, to = -1.0;
  float quality = 0.5f;
  bool hash_only = false;
  std::string solo;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool has_value = i + 1 < argc;
    if (a == "--score" && has_value)
      score_path = argv[++i];
    else if (a == "--out" && has_value)
      out_path = argv[++i];
    else if (a == "--wav" && has_value)
      wav_path = argv[++i];
    else if (a == "--from" && has_value)
      from = std::atof(argv[++i]);
    else if (a == "--to" && has_value)
      to = std::atof(argv[++i]);
    else if (a == "--quality" && has_value)
      quality = static_cast<float>(std::atof(argv[++i]));
    else if (a == "--hash")
      hash_only = true;
    else if (a == "--solo" && has_value)
      solo = argv[++i];
    else
      return fail("unknown argument '" + a + "' (see the comment atop main.cpp)");
  }

  music::Score score;
  std::string error;
  if (!music::load_score(score_path, score, error)) return fail(error);
  std::vector<unsigned char> score_text;
  music::read_file(score_path, score_text);
  const std::vector<std::string> stamp = {
      "SCORE_HASH=" + music::text_hash(std::string(score_text.begin(), score_text.end()))};

  if (!solo.empty()) {
    std::set<std::string> names;
    std::istringstream list(solo);
    for (std::string name; std::getline(list, name, ',');) {
      if (!score.FindTrack(name)) return fail("no track named " + name);
      names.insert(name);
    }
    if (wav_path.empty()) return fail("--solo needs --wav FILE");
    for (music::Track& t : score.tracks) {
      if (names.count(t.name)) continue;
      if (t.type == "kick") {  // silent, but still ducking the others
        t.automation.erase("gain");
        t.params["gain"] = -200.0;
        t.params["reverb"] = t.params["delay"] = 0.0;
      } else {
        t.notes.clear();
      }
    }
    const music::Stereo mix = music::render_mix(score, from, to);
    return write_wav(wav_path, mix) ? 0 : fail("cannot write " + wav_path);
  }

  if (hash_only) {
    const music::Stereo mix = music::render_mix(score, from, to);
    std::printf("%016" PRIx64 "\n", music::hash_pcm(mix));
    return 0;
  }

  const music::Stereo mix = music::render_mix(score);
  // The codec can push peaks a little above the mastered ones: master again with
  // more headroom until the decoded file keeps the ceiling.
  double pre_encode_peak = kMaxTruePeak - 0.5;
  std::vector<unsigned char> bytes;
  music::Stereo decoded;
  music::Loudness final_loudness;
  music::MasterResult mastered;
  for (int attempt = 0;; ++attempt) {
    music::Stereo audio = mix;
    if (!music::master_mix(audio, kTargetLufs, pre_encode_peak, mastered, error))
      return fail(error);
    if (!wav_path.empty() && !write_wav(wav_path, audio)) return fail("cannot write " + wav_path);
    if (!music::encode_vorbis(audio, quality, stamp, bytes, error)) return fail(error);
    long rate = 0;
    int channels = 0;
    if (!music::decode_vorbis(bytes, decoded, rate, channels, error)) return fail(error);
    if (!music::measure_loudness(decoded, true, final_loudness, error)) return fail(error);
    if (final_loudness.true_peak_db <= kMaxTruePeak - 0.2 || attempt == 3) break;
    pre_encode_peak -= final_loudness.true_peak_db - (kMaxTruePeak - 0.3);
  }
  if (final_loudness.true_peak_db > kMaxTruePeak)
    return fail("could not keep the true peak below -1 dBTP");
  if (!music::write_file(out_path, bytes)) return fail("cannot write " + out_path);

  std::printf("%s: %.3f s, %zu bytes\n", out_path.c_str(), decoded.Frames() / music::kSampleRate,
              bytes.size());
  std::printf(
      "mix gain %+.2f dB, limiter ceiling %.2f dBFS, %.2f%% of samples cut by over 1 dB, deepest "
      "%.1f dB\n",
      mastered.gain_db, mastered.ceiling_db, 100.0 * mastered.limited_share,
      mastered.max_reduction_db);
  std::printf("decoded: %.2f LUFS integrated, true peak %.2f dBTP, sample peak %.2f dBFS\n",
              final_loudness.integrated_lufs, final_loudness.true_peak_db,
              final_loudness.sample_peak_db);
  print_sections(score, decoded);
  return 0;
}
