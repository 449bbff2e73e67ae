// tessary-capture: the show rendered offline, frame-exact, with no window: stills at chosen
// moments, the whole show as a video with its music, or a per-part benchmark.
#include <signal.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench.h"
#include "check.h"
#include "cmdline.h"
#include "datadir.h"
#include "demo/demo.h"
#include "demo/moments.h"
#include "demo/startup.h"
#include "gl/framegrab.h"
#include "gl/glcheck.h"
#include "outputs.h"
#include "progress.h"
#include "showrenderer.h"
#include "singleeffects.h"
#include "tunables.h"
#include "video.h"

namespace {

const char* const program_name = "tessary-capture";
const char* const default_music = music_path;
constexpr int usage_status = 2;
constexpr int failure_status = 1;
constexpr int interrupted_status = 130;
// The show's 4:3 frame at the height of a 2160-line video.
const char* const web_frame_size = "2880x2160";

// Also read by the video writer, so that none of its waits outlasts an interrupt.
InterruptFlag interrupted{false};

void on_interrupt(int) {
  interrupted = true;
}

// Ctrl-C, a TERM or a HUP ends a capture between frames, so that nothing partial is left behind.
void catch_interrupts() {
  struct sigaction action = {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // ffmpeg has its own process group: a closed terminal reaches only this process.
  sigaction(SIGHUP, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

// Reports a problem as one line on standard error and gives the exit status to return.
int fail(const std::string& message, int status) {
  std::fprintf(stderr, "%s: %s\n", program_name, message.c_str());
  return status;
}

struct Options {
  std::string png_dir;
  std::vector<std::string> at;
  std::string video_path;
  bool bench = false;
  bool check = false;
  bool json = false;
  std::string plot_dir;
  std::string size = "1024x768";
  std::string until;
  std::string from;
  std::string effect;
  std::string music = default_music;
  bool music_given = false;
  std::string data_dir;
  int width = 0;
  int height = 0;
  int end_step = 0;    // one past the last step rendered
  int start_step = 0;  // the video's first step (--from)
  int supersample = 1;
  std::string preset;
  std::string x264_preset;
  std::string renderer;  // empty: classic, and both for --bench
  int msaa = 0;
};

// How the frames are drawn, from the options.
DrawSettings Settings(const Options& options) {
  DrawSettings settings;
  if (!options.renderer.empty()) render::parse_kind(options.renderer, settings.renderer);
  settings.supersample = options.supersample;
  settings.msaa = options.msaa;
  return settings;
}

// The encoder program: $TESSARY_FFMPEG (a stand-in, or another build) or ffmpeg on PATH.
std::string encoder_program() {
  const char* program = std::getenv("TESSARY_FFMPEG");
  return program != nullptr && *program != '\0' ? program : "ffmpeg";
}

// Writes the stills of `frames` (ascending, unique) into the directory.
int capture_stills(const Options& options, const std::vector<int>& frames) {
  ShowRenderer renderer;
  std::string error;
  if (!renderer.Create(options.width, options.height, options.effect, error, Settings(options))) {
    return fail(error, failure_status);
  }
  if (!make_output_dir(options.png_dir, error)) return fail(error, failure_status);
  std::vector<unsigned char> rgb;
  for (int frame : frames) {
    renderer.StepTo(frame);
    if (interrupted) return fail("interrupted", interrupted_status);
    renderer.ReadRgb(rgb);
    const std::string path =
        (std::filesystem::path(options.png_dir) / gl::still_name(frame)).string();
    if (!gl::write_png(path, options.width, options.height, rgb, error)) {
      return fail(error, failure_status);
    }
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
  }
  return 0;
}

// Renders every other frame of the show into the video, with the music.
int capture_video(const Options& options) {
  VideoSettings settings;
  settings.path = options.video_path;
  settings.width = options.width;
  settings.height = options.height;
  // Every other step of the show: the video's frame rate divides the step rate.
  const int steps_per_frame = show_fps / settings.fps;
  const int steps = options.end_step - options.start_step;
  settings.frame_count = (steps + steps_per_frame - 1) / steps_per_frame;
  settings.music_path = options.music;
  settings.music_start = step_time(options.start_step);
  settings.preset = options.preset == "web" ? VideoPreset::web : VideoPreset::standard;
  settings.speed = options.x264_preset;
  settings.program = encoder_program();
  settings.interrupted = &interrupted;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(options.music, ec)) {
    if (options.music_given) return fail("no music file " + options.music, usage_status);
    std::fprintf(stderr, "%s: %s not found: the video will be silent\n", program_name,
                 options.music.c_str());
    settings.music_path.clear();
  }

  ShowRenderer renderer;
  std::string error;
  if (!renderer.Create(options.width, options.height, options.effect, error, Settings(options))) {
    return fail(error, failure_status);
  }
  const std::string dir = std::filesystem::path(options.video_path).parent_path().string();
  if (!make_output_dir(dir, error)) return fail(error, failure_status);
  VideoEncoder encoder;
  if (!encoder.Start(settings, error)) return fail(error, failure_status);

  Progress progress("video", settings.frame_count);
  std::vector<unsigned char> frame(VideoEncoder::FrameBytes(settings));
  for (int k = 0; k < settings.frame_count; ++k) {
    renderer.StepTo(options.start_step + steps_per_frame * k);
    renderer.ReadRgba(frame);
    if (interrupted) {
      encoder.Abort();
      std::fprintf(stderr, "\n");
      return fail("interrupted: no video written", interrupted_status);
    }
    // ffmpeg takes this frame while the next one is drawn.
    if (!encoder.Write(frame, error)) {
      std::fprintf(stderr, "\n");
      // Ctrl-C reaches ffmpeg too, which may stop before this process sees its own interrupt.
      if (interrupted) return fail("interrupted: no video written", interrupted_status);
      return fail(error + "; no video written", failure_status);
    }
    progress.Update(k + 1, part_name_at(renderer.Beat()));
  }
  if (!encoder.Finish(error)) {
    if (interrupted) return fail("interrupted: no video written", interrupted_status);
    return fail(error + "; no video written", failure_status);
  }
  progress.Finish();
  std::fprintf(stderr, "%s: wrote %s (%d frames, %dx%d%s, 60 fps, %s)\n", program_name,
               options.video_path.c_str(), settings.frame_count, options.width, options.height,
               settings.preset == VideoPreset::web ? " on 16:9" : "",
               settings.music_path.empty() ? "silent" : settings.music_path.c_str());
  return 0;
}

// Renders every frame as the player does and prints the frame times per part.
// Renders every frame as the player does and prints the frame times per part: with the one
// renderer --renderer names, or with both, interleaved, then side by side. With --msaa each
// renderer runs with and without it, so that its cost is measured in the same run.
int capture_bench(const Options& options) {
  std::vector<std::string> kinds = {options.renderer};
  if (options.renderer.empty()) kinds = {"classic", "instanced"};
  std::vector<std::string> names;
  std::vector<Options> runs;
  for (const std::string& kind : kinds) {
    for (int msaa : {0, options.msaa}) {
      Options one = options;
      one.renderer = kind;
      one.msaa = msaa;
      runs.push_back(one);
      names.push_back(msaa > 1 ? kind + "-msaa" + std::to_string(msaa) : kind);
      if (options.msaa <= 1) break;
    }
  }
  std::vector<std::unique_ptr<ShowRenderer>> owned;
  std::vector<ShowRenderer*> renderers;
  std::string error;
  for (const Options& one : runs) {
    owned.push_back(std::make_unique<ShowRenderer>());
    if (!owned.back()->Create(options.width, options.height, options.effect, error,
                              Settings(one))) {
      return fail(error, failure_status);
    }
    renderers.push_back(owned.back().get());
  }
  const auto start = std::chrono::steady_clock::now();
  const std::vector<FrameTimes> times = run_bench(renderers, options.end_step);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (interrupted) return fail("interrupted", interrupted_status);

  const char* driver = nullptr;
  glCheck(driver = reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  const bool both = names.size() > 1;
  if (options.json && both) std::printf("[\n");
  for (size_t r = 0; r < names.size(); ++r) {
    char heading[320];
    std::snprintf(heading, sizeof heading, "%s renderer, %dx%d%s%s, %s, %d frames in %.1f s%s",
                  names[r].c_str(), options.width, options.height,
                  options.effect.empty() ? "" : ", effect ", options.effect.c_str(),
                  driver ? driver : "unknown renderer", options.end_step, seconds,
                  both ? " (the runs interleaved)" : "");
    if (r > 0) std::printf(options.json ? ",\n" : "\n");
    print_frame_times(times[r].Parts(), heading, options.json, stdout);
  }
  if (options.json && both) std::printf("]\n");
  if (!options.json) print_side_by_side(names, times, stdout);
  if (!options.plot_dir.empty()) {
    if (!make_output_dir(options.plot_dir, error)) return fail(error, failure_status);
    for (size_t r = 0; r < names.size(); ++r) {
      if (!write_plot_data(times[r], 0, options.plot_dir, error, both ? names[r] : "")) {
        return fail(error, failure_status);
      }
    }
  }
  return 0;
}

// What was asked for: the options that choose the output.
struct Outputs {
  CLI::Option* png = nullptr;
  CLI::Option* at = nullptr;
  CLI::Option* video = nullptr;
  CLI::Option* bench = nullptr;
  CLI::Option* check = nullptr;
  CLI::Option* music = nullptr;
};

// The options that choose what is made, with the rules on which go together.
Outputs add_output_options(CLI::App& app, Options& options) {
  Outputs out;
  out.png = app.add_option("--png", options.png_dir,
                           "Write stills into DIR (created if missing), each named "
                           "after its frame number, e.g. 001500.png")
                ->type_name("DIR");
  out.at = app.add_option("--at", options.at,
                          "Moments of the stills: seconds (12.5), the first frame of "
                          "a beat (224b) or a frame (12000f), comma separated")
               ->type_name("TIME,...")
               ->delimiter(',');
  out.video = app.add_option("--video", options.video_path,
                             "Render the show as a 60 fps H.264 video with the music "
                             "(AAC) into FILE, through ffmpeg")
                  ->type_name("FILE");
  out.bench = app.add_flag("--bench", options.bench,
                           "Render every frame as fast as possible, writing nothing, "
                           "and print the frame times per part");
  out.check = app.add_flag("--check", options.check,
                           "Load the show's files (the camera file, the shaders, the "
                           "pictures), print every error and warning, exit 1 on an error");
  CLI::Option* json = app.add_flag("--json", options.json, "With --bench: print JSON");
  CLI::Option* plot = app.add_option("--plot-data", options.plot_dir,
                                     "With --bench: also write every frame's times and the "
                                     "parts' spans into DIR (frames.csv, parts.csv) for a plot")
                          ->type_name("DIR");
  out.png->needs(out.at);
  out.at->needs(out.png);
  json->needs(out.bench);
  plot->needs(out.bench);
  out.png->excludes(out.video);
  out.png->excludes(out.bench);
  out.video->excludes(out.bench);
  for (CLI::Option* other : {out.png, out.video, out.bench}) out.check->excludes(other);
  return out;
}

// The options that shape the output: size, encoding, length, what is shown, where from.
void add_shaping_options(CLI::App& app, Options& options, Outputs& out) {
  CLI::Option* size =
      app.add_option("--size", options.size, "Output size in pixels (default 1024x768)")
          ->type_name("WxH");
  app.add_option("--supersample", options.supersample,
                 "Draw at N times the size and shrink each NxN block to one pixel, for smooth "
                 "edges (costs about N x N the drawing; default 1)")
      ->type_name("N")
      ->check(CLI::Range(1, 4));
  app.add_option("--renderer", options.renderer,
                 "Draw with 'classic' (OpenGL 1.x: display lists, immediate mode; the reference "
                 "pictures) or 'instanced' (OpenGL 3.3 core: each node's cubes in one instanced "
                 "call per shape); default classic. --bench without it times both")
      ->type_name("NAME")
      ->check(CLI::IsMember({"classic", "instanced"}));
  app.add_option(
         "--msaa", options.msaa,
         "Multisampled drawing with N samples a pixel (2 to 16) where the driver offers "
         "it, for smooth edges; default off. With --bench each renderer runs with and without "
         "it")
      ->type_name("N")
      ->check(CLI::Range(0, 16));
  app.add_option("--preset", options.preset,
                 "With --video: 'web' for video sites: 3840x2160 (the show 2880x2160 in the "
                 "middle), H.264 High, closed half-second GOPs, fast start, BT.709, "
                 "AAC-LC 48 kHz 384 kb/s; slow to make (see the README's Releasing)")
      ->type_name("NAME")
      ->check(CLI::IsMember({"web"}))
      ->needs(out.video)
      ->excludes(size);
  app.add_option("--x264-preset", options.x264_preset,
                 "With --video: x264's speed preset instead of the video's own (superfast "
                 "for a quick trial; the encoder program is $TESSARY_FFMPEG or ffmpeg)")
      ->type_name("NAME")
      ->check(CLI::IsMember(
          {"superfast", "veryfast", "faster", "fast", "medium", "slow", "slower", "veryslow"}))
      ->needs(out.video);
  app.add_option("--until", options.until,
                 "End the show at TIME (seconds, beats or frames, e.g. 2, 16b or 240f) instead "
                 "of after its last beat")
      ->type_name("TIME");
  app.add_option("--from", options.from,
                 "Start the video at TIME (seconds, beats or frames), with the music from "
                 "there; stills keep their frame numbers, and --at moments before it are refused")
      ->type_name("TIME")
      ->excludes(out.bench)
      ->excludes(out.check);
  app.add_option("--effect", options.effect,
                 "Show one effect alone instead of the show: " + single_effect_names())
      ->type_name("NAME");
  out.music = app.add_option("--music", options.music,
                             std::string("With --video: the music (default ") + default_music +
                                 "; silent video if that is missing)")
                  ->type_name("FILE")
                  ->needs(out.video);
  app.add_option("--data", options.data_dir,
                 "Read data/ and shaders/ from DIR instead of looking for them")
      ->type_name("DIR");
}

// Checks the values the parser cannot and works out the size and the last step; a non-zero
// return is the exit status, after its one line.
int settle_options(Options& options, const ShowSteps& steps) {
  if (options.preset == "web") options.size = web_frame_size;
  if (!parse_size(options.size, options.width, options.height)) {
    return fail("--size: '" + options.size + "' is not a size like 1024x768 (1 to 8192 each)",
                usage_status);
  }
  if (!options.effect.empty() && find_single_effect(options.effect) == nullptr) {
    return fail(
        "--effect: unknown effect '" + options.effect + "' (known: " + single_effect_names() + ")",
        usage_status);
  }
  options.end_step = steps.end_step;
  std::string error;
  if (!options.until.empty()) {
    int until = 0;
    if (!steps.Parse(options.until, until, error)) return fail("--until: " + error, usage_status);
    if (until < 1) return fail("--until: the show must last at least one frame", usage_status);
    options.end_step = until;
  }
  if (options.from.empty()) return 0;
  if (!steps.Parse(options.from, options.start_step, error)) {
    return fail("--from: " + error, usage_status);
  }
  if (options.start_step >= options.end_step) {
    return fail("--from: " + options.from + " is not before the end of the show" +
                    (options.until.empty() ? "" : " (--until " + options.until + ")"),
                usage_status);
  }
  return 0;
}

// --png DIR --at TIME,...: the moments as steps, ascending and each once, then the stills.
int run_stills(const Options& options, const ShowSteps& steps) {
  std::vector<int> frames;
  std::string error;
  for (const std::string& moment : options.at) {
    int frame = 0;
    if (!steps.Parse(moment, frame, error)) return fail("--at: " + error, usage_status);
    if (frame >= options.end_step) {
      return fail(
          "--at: " + moment + " is past the end of the show (--until " + options.until + ")",
          usage_status);
    }
    if (frame < options.start_step) {
      return fail("--at: " + moment + " is before the start (--from " + options.from + ")",
                  usage_status);
    }
    frames.push_back(frame);
  }
  std::sort(frames.begin(), frames.end());
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  if (!check_output_dir(options.png_dir, error)) return fail("--png: " + error, usage_status);
  return capture_stills(options, frames);
}

// --video FILE: the file's place and kind checked before anything is drawn.
int run_video(const Options& options) {
  if (options.width % 2 != 0 || options.height % 2 != 0) {
    return fail("--size: a video needs an even width and height (yuv420p)", usage_status);
  }
  std::error_code ec;
  if (std::filesystem::is_directory(options.video_path, ec)) {
    return fail("--video: " + options.video_path + " is a directory", usage_status);
  }
  const std::string ext = std::filesystem::path(options.video_path).extension().string();
  if (options.preset == "web" && ext != ".mp4" && ext != ".mov" && ext != ".m4v") {
    return fail("--preset web: the video must be an MP4 (.mp4) for fast start", usage_status);
  }
  std::string error;
  const std::string dir = std::filesystem::path(options.video_path).parent_path().string();
  if (!check_output_dir(dir, error)) return fail("--video: " + error, usage_status);
  return capture_video(options);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{
      "Renders the show offline at a steady 120 frames per second, with no window: stills at "
      "chosen moments, the whole show as a video with its music, or a per-part benchmark; or "
      "checks the show's files. It finds "
      "data/ and shaders/ itself: in --data DIR, the current directory, the installed share "
      "folder, or the source tree it was built from.",
      program_name};
  Outputs out = add_output_options(app, options);
  add_shaping_options(app, options, out);
  std::string effects = "Effects --effect can show alone:";
  for (const SingleEffect& effect : single_effects()) {
    effects += std::string("\n  ") + effect.name + ": " + effect.what;
  }
  app.footer(effects);
  app.set_version_flag("--version", std::string(program_name) + " " TESSARY_VERSION);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    return fail(std::string(e.what()) + " (see --help)", usage_status);
  }
  options.music_given = out.music->count() > 0;
  if (out.png->count() + out.video->count() + out.bench->count() + out.check->count() == 0) {
    return fail(
        "nothing to do: give --png DIR --at TIME, --video FILE, --bench or --check (see --help)",
        usage_status);
  }
  // Output paths are the user's, taken against the directory the capture was started in; then
  // the data root becomes the working directory, before any GL context exists.
  options.png_dir = absolute_path(options.png_dir);
  options.video_path = absolute_path(options.video_path);
  if (options.music_given) options.music = absolute_path(options.music);
  std::string root, error;
  if (!find_data_root(absolute_path(options.data_dir), argv[0], root, error) ||
      !enter_data_root(root, error)) {
    return fail(error, usage_status);
  }
  if (options.check) return check_show_files(stdout) > 0 ? failure_status : 0;
  const ShowSteps steps;
  if (const int status = settle_options(options, steps)) return status;

  catch_interrupts();
  if (out.png->count() > 0) return run_stills(options, steps);
  if (out.video->count() > 0) return run_video(options);
  if (!options.plot_dir.empty() && !check_output_dir(options.plot_dir, error)) {
    return fail("--plot-data: " + error, usage_status);
  }
  return capture_bench(options);
}
