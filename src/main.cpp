// The player: command line, window, music and the frame loop with its developer controls.
#include <SFML/Audio.hpp>
#include <SFML/Window.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "datadir.h"
#include "demo/demo.h"
#include "demo/frametimes.h"
#include "demo/moments.h"
#include "demo/playhead.h"
#include "demo/startup.h"
#include "gl/framegrab.h"
#include "gl/glcheck.h"
#include "helpers.h"
#include "platform/platform.h"
#include "player/noise.h"
#include "player/options.h"
#include "player/overlay.h"
#include "player/screen.h"
#include "shadermanager.h"
#include "tunables.h"

bool music_enabled = true;
bool fullscreen = true;
bool mushroom_mode = false;
bool quit = false;
int resolution_x = 1024;
int resolution_y = 768;

namespace {
// The id of the music's error line: fixed, as scripts and the README match the whole line.
constexpr int music_message_id = 51;

// Held movement keys of the free camera, applied every 1/show_fps s in this order.
enum HeldKey {
  KEY_Z,
  KEY_A,
  KEY_UP,
  KEY_DOWN,
  KEY_RIGHT,
  KEY_LEFT,
  KEY_S,
  KEY_F,
  KEY_E,
  KEY_D,
  HELD_KEY_COUNT
};

int held_key_index(sf::Keyboard::Key code) {
  switch (code) {
    case sf::Keyboard::Z:
      return KEY_Z;
    case sf::Keyboard::A:
      return KEY_A;
    case sf::Keyboard::Up:
      return KEY_UP;
    case sf::Keyboard::Down:
      return KEY_DOWN;
    case sf::Keyboard::Right:
      return KEY_RIGHT;
    case sf::Keyboard::Left:
      return KEY_LEFT;
    case sf::Keyboard::S:
      return KEY_S;
    case sf::Keyboard::F:
      return KEY_F;
    case sf::Keyboard::E:
      return KEY_E;
    case sf::Keyboard::D:
      return KEY_D;
    default:
      return -1;
  }
}

// Free-camera turns: a turn pushed past a full turn jumps to the opposite full turn.
void turn_up(float& angle, float step) {
  angle += step;
  if (angle > 360) angle = -360;
}
void turn_down(float& angle, float step) {
  angle -= step;
  if (angle < -360) angle = 360;
}
// Saves the picture in `view` (the show's frame, before the overlay) as DIR/NNNNNN.png after
// its step, and prints its path; a failure gives one line on standard error.
void save_shot(const std::filesystem::path& dir, int step, const Viewport& view) {
  std::vector<unsigned char> rgb;
  gl::read_rgb(view.x, view.y, view.width, view.height, rgb);
  const std::string path = (dir / gl::still_name(step)).string();
  std::error_code ec;
  std::string error;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "tessary: cannot create %s: %s\n", dir.string().c_str(),
                 ec.message().c_str());
  } else if (!gl::write_png(path, view.width, view.height, rgb, error)) {
    std::fprintf(stderr, "tessary: %s\n", error.c_str());
  } else {
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
  }
}

// Prints the free camera as a row pair of a part's camera table (see demo/script.h), cut in at
// the moment on screen: beats from the part's first beat plus seconds.
void print_keyframe(int part, int beat, float time, const omni::Vector3<float>& position,
                    const omni::Vector3<float>& rotation) {
  int part_beat = 0;
  for (int i = 0; i < part; ++i) part_beat += show_parts[i].length;
  const float seconds =
      time - static_cast<float>(beat * static_cast<double>(show_seconds_per_beat));
  std::printf(
      "    {PLACE, C::CUT, {%d, %.4ff}, {0}, {%g, %g, %g}}, "
      "{TURN, C::CUT, {%d, %.4ff}, {0}, {%g, %g, 0}},  // %s\n",
      beat - part_beat, seconds, position.x, position.y, position.z, beat - part_beat, seconds,
      rotation.x, rotation.y, show_parts[part].name);
  std::fflush(stdout);
}

// Frames per second above which vertical sync evidently does not pace the frames.
constexpr float vsync_implausible_fps = 500.0f;

// Frames per second and frame time over the last half second, for the overlay.
struct FrameRate {
  float fps = 0;
  float frame_ms = 0;
  int frames = 0;
  float window_start = 0;

  void Count(float elapsed) {
    ++frames;
    const float span = elapsed - window_start;
    if (span < 0.5f) return;
    fps = static_cast<float>(frames) / span;
    frame_ms = 1000.0f * span / static_cast<float>(frames);
    frames = 0;
    window_start = elapsed;
  }
};
}  // namespace

void report_music_failure() {
  print_error("main", music_message_id, "music_init",
              std::string("Couldn't open music from file ") + music_path);
}

// Opens the track; on failure prints the one error line and the show runs by the clock alone.
void music_init(sf::Music& music) {
  if (!music_enabled) return;
  if (!music.openFromFile(music_path)) report_music_failure();
}

void music_play(sf::Music& music, bool play) {
  if (!music_enabled) return;
  if (play) {
    music.play();
  } else {
    music.pause();
  }
}

int main(int argc, char** argv) {
  platform::attach_console();
  PlayerOptions options;
  int status = 0;
  if (!parse_player_options(argc, argv, options, status)) return status;
  fullscreen = !options.windowed;
  mushroom_mode = options.magic;
  if (options.width > 0) {
    resolution_x = options.width;
    resolution_y = options.height;
  }

  const ShowFrames frames;
  int start_step = 0;
  if (!options.start.empty()) {
    std::string error;
    if (!frames.Parse(options.start, start_step, error)) {
      std::fprintf(stderr, "tessary: --start: %s\n", error.c_str());
      return 2;
    }
  }
  // Screenshots go where the user asked, taken from where the program was started; the show's
  // files are then read from the data root by their relative names.
  const std::filesystem::path shots_dir =
      absolute_path(options.shots.empty() ? "." : options.shots);
  std::string root, error;
  if (!find_data_root(absolute_path(options.data), argv[0], root, error) ||
      !enter_data_root(root, error)) {
    std::fprintf(stderr, "tessary: %s\n", error.c_str());
    return 2;
  }

  std::string reason;
  if (!platform::display_available(reason)) {
    std::fprintf(stderr,
                 "tessary: %s: the show needs an X display; render it as a video instead with "
                 "tessary-capture --video FILE\n",
                 reason.c_str());
    return 1;
  }
  NoiseFilter noise;

  PauseClock pause;
  bool escape = false;
  bool free_camera = false;
  omni::Vector3<float> free_position(0, 0, 0);
  omni::Vector3<float> free_rotation(0, 0, 0);
  float free_speed = 1.0f;
  bool held[HELD_KEY_COUNT] = {};
  long free_ticks = 0;  // 1/show_fps s of clock time the free camera has moved for
  bool overlay_on = false;
  bool shot_wanted = false;
  int loop_part = -1;  // the part played in a loop, or -1
  FrameRate rate;
  // --stats: every shown frame's time, by part (room reserved only when asked for).
  FrameTimes times(options.stats ? FrameTimes::default_reserve : 0);
  float last_frame_end = 0.0f;
  auto manager = std::make_unique<omni::ShaderManager>();

  platform::watch_window_loss(&quit);
  sf::VideoMode mode(resolution_x, resolution_y, 32);
  if (fullscreen && options.width == 0) {
    // The screen as it is: a screen of another shape gets bars, not a stretched picture.
    mode = sf::VideoMode::getDesktopMode();
  }
  const sf::Uint32 style =
      fullscreen ? sf::Style::Fullscreen : (sf::Style::Resize | sf::Style::Close);
  sf::Window* window = new sf::Window(mode, "Tessary", style, sf::ContextSettings(24, 8, 0));
  platform::watch_window(window->getSystemHandle());
  sf::Clock clock;
  init_gl();
  init_shaders(*manager);
  Screen screen;
  screen.Resize(static_cast<int>(window->getSize().x), static_cast<int>(window->getSize().y));
  Overlay overlay;

  auto head = std::make_unique<Playhead>(
      [](effect::Camera& camera) { return init_demo(camera, show_seconds_per_beat); },
      (*manager)[0]);
  head->SeekTo(start_step);

  bool vsync = options.vsync;
  if (vsync) {
    noise.vsync_unsupported = false;
    window->setVerticalSyncEnabled(true);
    if (noise.vsync_unsupported) {
      std::fprintf(stderr,
                   "tessary: vertical sync is not supported here: frames are capped at "
                   "%d a second instead\n",
                   show_fps);
      vsync = false;
    }
  }
  if (!vsync) window->setFramerateLimit(show_fps);

  // The music exists only with an audio device: even constructing it opens one.
  std::unique_ptr<sf::Music> music;
  if (platform::audio_device_available()) {
    music = std::make_unique<sf::Music>();
    music_init(*music);
    music_play(*music, true);
    if (start_step > 0) music->setPlayingOffset(sf::seconds(step_time(start_step)));
  } else {
    std::fprintf(stderr, "tessary: no audio device; the show plays silently, timed by the clock\n");
    // A missing or broken track is still reported as it would be with sound.
    sf::InputSoundFile file;
    if (music_enabled && !file.openFromFile(music_path)) report_music_failure();
  }
  clock.restart();
  pause.SeekTo(0.0f, step_time(start_step));

  // Moves the show to `step`: the state is stepped there (rebuilt from the start when it lies
  // behind), demo time and music follow, the pause stays as it is.
  auto seek = [&](int step, float elapsed) {
    step = frames.Clamp(step);
    head->SeekTo(step);
    pause.SeekTo(elapsed, step_time(step));
    if (loop_part >= 0) loop_part = frames.PartAt(step);
    if (music && music_enabled) {
      if (!pause.paused && music->getStatus() == sf::SoundSource::Stopped) music->play();
      music->setPlayingOffset(sf::seconds(step_time(step)));
    }
  };

  // Each frame: clock time in; events, pause and seeks, the free camera; then every step due
  // since the last frame is run, the newest drawn, and shown.
  while (window->isOpen()) {
    const float elapsed = clock.getElapsedTime().asSeconds();
    const int on_screen = std::max(head->LastStep(), 0);
    sf::Event event;
    while (window->pollEvent(event)) {
      if (event.type == sf::Event::Closed) {
        quit = true;
      } else if (event.type == sf::Event::Resized) {
        screen.Resize(static_cast<int>(event.size.width), static_cast<int>(event.size.height));
      } else if (event.type == sf::Event::KeyPressed) {
        const sf::Keyboard::Key code = event.key.code;
        const int held_index = held_key_index(code);
        if (held_index >= 0) {
          held[held_index] = true;
        } else if (code == sf::Keyboard::Escape) {
          // Ends the loop before this frame is drawn. The window itself (and with it the GL
          // context) is closed only at shutdown, after the effects and programs are released.
          escape = true;
        } else if (code == sf::Keyboard::C) {
          free_camera = !free_camera;
        } else if (code == sf::Keyboard::R) {
          free_rotation = omni::Vector3<float>(0, 0, 0);
        } else if (code == sf::Keyboard::T) {
          free_speed += 10;
        } else if (code == sf::Keyboard::G) {
          free_speed -= 10;
        } else if (!mushroom_mode) {
          // The developer keys below.
        } else if (code == sf::Keyboard::P) {
          const bool now_paused = pause.Toggle(elapsed);
          if (music) music_play(*music, !now_paused);
          if (now_paused) {
            // Demo time stands at the frame on screen, so the paused picture is that frame.
            pause.SeekTo(elapsed, step_time(on_screen));
            std::printf("paused at frame %d (%.3f s, beat %d)\n", on_screen, step_time(on_screen),
                        head->Beat());
          } else {
            std::printf("resumed\n");
          }
          std::fflush(stdout);
        } else if (code == sf::Keyboard::PageDown) {
          seek(frames.NextPartStart(on_screen), elapsed);
        } else if (code == sf::Keyboard::PageUp) {
          seek(frames.PartStartBefore(on_screen), elapsed);
        } else if (code == sf::Keyboard::RBracket) {
          seek(frames.BarFrom(on_screen, 1), elapsed);
        } else if (code == sf::Keyboard::LBracket) {
          seek(frames.BarFrom(on_screen, -1), elapsed);
        } else if (code == sf::Keyboard::Home) {
          seek(0, elapsed);
        } else if (code == sf::Keyboard::L) {
          loop_part = loop_part >= 0 ? -1 : frames.PartAt(on_screen);
        } else if (code == sf::Keyboard::F1) {
          overlay_on = !overlay_on;
        } else if (code == sf::Keyboard::F12) {
          shot_wanted = true;
        } else if (code == sf::Keyboard::F5) {
          // A shader that fails keeps the running program (after its error line).
          auto fresh = std::make_unique<omni::ShaderManager>();
          init_shaders(*fresh);
          if ((*fresh)[0] != nullptr) {
            manager = std::move(fresh);
            head->SetProgram((*manager)[0]);
          }
        } else if (code == sf::Keyboard::K) {
          print_keyframe(frames.PartAt(on_screen), head->Beat(), step_time(on_screen),
                         free_position, free_rotation);
        }
      } else if (event.type == sf::Event::KeyReleased) {
        const int held_index = held_key_index(event.key.code);
        if (held_index >= 0) held[held_index] = false;
      }
    }
    if (escape) break;

    // The free camera moves once per 1/show_fps s of clock time, at any frame rate.
    const long ticks = static_cast<long>(elapsed * show_fps);
    for (long n = std::max(free_ticks, ticks - show_fps); n < ticks; ++n) {
      if (held[KEY_Z]) free_position.z += free_speed;
      if (held[KEY_A]) free_position.z -= free_speed;
      if (held[KEY_UP]) free_position.y += free_speed;
      if (held[KEY_DOWN]) free_position.y -= free_speed;
      if (held[KEY_RIGHT]) free_position.x += free_speed;
      if (held[KEY_LEFT]) free_position.x -= free_speed;
      if (held[KEY_S]) turn_up(free_rotation.y, free_speed);
      if (held[KEY_F]) turn_down(free_rotation.y, free_speed);
      if (held[KEY_E]) turn_up(free_rotation.x, free_speed);
      if (held[KEY_D]) turn_down(free_rotation.x, free_speed);
    }
    free_ticks = ticks;

    int target = step_at(pause.DemoTime(elapsed));
    if (loop_part >= 0 && target >= frames.PartEnd(loop_part)) {
      seek(frames.part_first_frame[static_cast<size_t>(loop_part)], elapsed);
      target = head->NextStep();
    }

    FreeView view;
    view.apply = mushroom_mode && free_camera;
    view.free_camera = free_camera;
    view.position = free_position;
    view.rotation = free_rotation;
    window->setActive(true);
    screen.BeginFrame();
    if (target >= head->NextStep()) {
      // A late frame runs the steps it missed without drawing, a bounded number per frame, so
      // a stall is caught up over a few frames rather than in one ever longer one.
      head->CatchUp(target, max_catch_up_steps);
      head->DrawNext(view);
    } else {
      head->Redraw(view);  // paused, or early for the next step
    }
    if (shot_wanted) {
      shot_wanted = false;
      save_shot(shots_dir, head->LastStep(), screen.view);
    }
    if (overlay_on) {
      const int step = head->LastStep();
      char text[256];
      std::snprintf(text, sizeof text,
                    "time %.3f s  frame %d  beat %d  part %s\n%.0f fps  %.1f ms a frame%s%s",
                    step_time(step), step, head->Beat(), part_name_at(head->Beat()), rate.fps,
                    rate.frame_ms, pause.paused ? "  paused" : "",
                    loop_part >= 0 ? "  looping" : "");
      overlay.Draw(text, screen.view.width, screen.view.height);
    }
    window->display();
    rate.Count(elapsed);
    if (options.stats) {
      // NOTE: a clock read per frame; the times are stored in room reserved up front.
      const float now = clock.getElapsedTime().asSeconds();
      times.Add(part_name_at(head->Beat()), 1000.0 * (now - last_frame_end));
      last_frame_end = now;
    }
    if (vsync && elapsed > 1.0f && rate.fps > vsync_implausible_fps) {
      // No display refreshes this fast: the driver accepted vertical sync but does not wait
      // for it (Xvfb, some software drivers). Pace by the frame limit instead of spinning.
      std::fprintf(stderr,
                   "tessary: vertical sync does not pace frames here (%.0f fps): frames are "
                   "capped at %d a second instead\n",
                   rate.fps, show_fps);
      window->setVerticalSyncEnabled(false);
      window->setFramerateLimit(show_fps);
      vsync = false;
    }

    if ((head->Over() && loop_part < 0) || quit) break;
  }

  if (options.stats) {
    const char* renderer_name = nullptr;
    glCheck(renderer_name = reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    char heading[256];
    std::snprintf(heading, sizeof heading, "the player, %ux%u%s, %s", window->getSize().x,
                  window->getSize().y, vsync ? ", vsync" : "",
                  renderer_name ? renderer_name : "unknown renderer");
    print_frame_times(times.Parts(), heading, false, stdout);
  }
  if (music) music->stop();
  head.reset();
  // The programs go while the window's context still exists.
  manager.reset();
  delete window;
  return 0;
}
