// The player: command line, window, music and the frame loop with its developer controls.
#include <AL/alc.h>
#include <fcntl.h>
#include <unistd.h>

#include <SFML/Audio.hpp>
#include <SFML/Window.hpp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "demo/demo.h"
#include "demo/show.h"
#include "demo/startup.h"
#include "effect/camera.h"
#include "gl/glcheck.h"
#include "helpers.h"
#include "player/xerrors.h"
#include "shadermanager.h"

bool music_enabled = true;
bool fullscreen = true;
bool mushroom_mode = false;
bool quit = false;
int resolution_x = 1024;
int resolution_y = 768;

namespace {
const char* const music_path = "data/melody5.ogg";

// Held movement keys of the free camera, applied once per frame in this order.
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
// Whether OpenAL can open its default device. Without one, SFML's stream thread would report
// every failed OpenAL call on standard error, millions of lines a minute; the player then makes
// no audio call at all and says so once. The probe's own noise (the sound libraries' reasons
// for failing) is kept off the terminal.
bool audio_device_available() {
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  const int null_fd = ::open("/dev/null", O_WRONLY);
  if (saved >= 0 && null_fd >= 0) ::dup2(null_fd, STDERR_FILENO);
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device != nullptr) alcCloseDevice(device);
  if (saved >= 0) {
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
  }
  if (null_fd >= 0) ::close(null_fd);
  return device != nullptr;
}
}  // namespace

void report_music_failure() {
  print_error("main", 51, "music_init", std::string("Couldn't open music from file ") + music_path);
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
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-w") == 0) {
      fullscreen = false;
    } else if (std::strcmp(argv[i], "-magic") == 0) {
      mushroom_mode = true;
    }
  }

  const float seconds_per_beat = beat2seconds(140, 4);
  PauseClock pause;
  bool escape = false;
  bool free_camera = false;
  omni::Vector3<float> free_position(0, 0, 0);
  omni::Vector3<float> free_rotation(0, 0, 0);
  float free_speed = 1.0f;
  bool held[HELD_KEY_COUNT] = {};
  omni::ShaderManager* manager = new omni::ShaderManager();

  watch_window_loss(&quit);
  const sf::Uint32 style =
      fullscreen ? sf::Style::Fullscreen : (sf::Style::Resize | sf::Style::Close);
  sf::Window* window = new sf::Window(sf::VideoMode(resolution_x, resolution_y, 32), "Tessary",
                                      style, sf::ContextSettings(24, 8, 0));
  sf::Clock clock;
  init_gl();
  init_shaders(*manager);

  effect::Camera camera;
  Enabler* head = init_demo(camera, seconds_per_beat);
  window->setFramerateLimit(120);

  // The music exists only with an audio device: even constructing it opens one.
  std::unique_ptr<sf::Music> music;
  if (audio_device_available()) {
    music = std::make_unique<sf::Music>();
    music_init(*music);
    music_play(*music, true);
  } else {
    std::fprintf(stderr, "tessary: no audio device; the show plays silently, timed by the clock\n");
    // A missing or broken track is still reported as it would be with sound.
    sf::InputSoundFile file;
    if (music_enabled && !file.openFromFile(music_path)) report_music_failure();
  }
  clock.restart();

  Show show(head, &camera, (*manager)[0], seconds_per_beat);

  // Each frame: clock time in; pause bookkeeping, free camera and the show's state carried
  // across frames; one frame of the show on screen out.
  while (window->isOpen()) {
    const float elapsed = clock.getElapsedTime().asSeconds();
    sf::Event event;
    while (window->pollEvent(event)) {
      if (event.type == sf::Event::Closed) {
        quit = true;
      } else if (event.type == sf::Event::Resized) {
        glCheck(glViewport(0, 0, event.size.width, event.size.height));
      } else if (event.type == sf::Event::KeyPressed) {
        const sf::Keyboard::Key code = event.key.code;
        const int held_index = held_key_index(code);
        if (held_index >= 0) {
          held[held_index] = true;
        } else if (code == sf::Keyboard::Escape) {
          // Ends the loop before this frame is drawn. The window itself (and with it the GL
          // context) is closed only at shutdown, after the effects and programs are released.
          escape = true;
        } else if (code == sf::Keyboard::P && mushroom_mode) {
          const bool now_paused = pause.Toggle(elapsed);
          if (music) music_play(*music, !now_paused);
        } else if (code == sf::Keyboard::C) {
          free_camera = !free_camera;
        } else if (code == sf::Keyboard::R) {
          free_rotation = omni::Vector3<float>(0, 0, 0);
        } else if (code == sf::Keyboard::T) {
          free_speed += 10;
        } else if (code == sf::Keyboard::G) {
          free_speed -= 10;
        }
      } else if (event.type == sf::Event::KeyReleased) {
        const int held_index = held_key_index(event.key.code);
        if (held_index >= 0) held[held_index] = false;
      }
    }
    if (escape) break;

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

    const float demo_time = pause.DemoTime(elapsed);

    FreeView view;
    view.apply = mushroom_mode && free_camera;
    view.free_camera = free_camera;
    view.position = free_position;
    view.rotation = free_rotation;
    window->setActive(true);
    show.Frame(demo_time, view);
    window->display();

    if (show.Over() || quit) break;
  }

  if (music) music->stop();
  enabler_cleanup(head);
  // The programs go while the window's context still exists.
  delete manager;
  delete window;
  return 0;
}
