#include "player/player.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "demo/demo.h"
#include "demo/startup.h"
#include "gl/framegrab.h"
#include "gl/glcheck.h"
#include "icon.h"
#include "platform/desktop.h"
#include "platform/keyname.h"
#include "platform/platform.h"
#include "player/flags.h"
#include "player/options.h"
#include "shadermanager.h"
#include "tunables.h"

namespace {

// Vertical sync evidently does not pace frames when they come this much faster than the
// display refreshes. Where the rate cannot be read it is taken as the common 60 Hz: a faster
// display then falls back to the 120 fps cap, which a show of 120 steps a second hardly shows.
constexpr float vsync_margin = 1.25f;
constexpr float assumed_display_hz = 60.0f;
// How long a frame waits while the window cannot be seen: it only runs the show's steps.
constexpr int hidden_frame_ms = 20;

// One line on standard output for the developer, at once.
void say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::putchar('\n');
  std::fflush(stdout);
}

// Saves the picture in `view` (the show's frame, before the overlay) as DIR/NNNNNN.png after
// its step, and prints its path; a failure gives one line on standard error.
void save_shot(const std::filesystem::path& dir, int step, const Viewport& view) {
  std::vector<unsigned char> rgb;
  gl::read_rgb(view.x, view.y, view.width, view.height, rgb);
  const std::string path = (dir / gl::still_name(step)).lexically_normal().string();
  std::error_code ec;
  std::string error;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "tessary: cannot create %s: %s\n", dir.string().c_str(),
                 ec.message().c_str());
  } else if (!gl::write_png(path, view.width, view.height, rgb, error)) {
    std::fprintf(stderr, "tessary: %s\n", error.c_str());
  } else {
    say("%s", path.c_str());
  }
}

// "1024x768".
std::string mode_text(const sf::VideoMode& mode) {
  return std::to_string(mode.width) + "x" + std::to_string(mode.height);
}

// The mode the window opens in. Fullscreen keeps the screen as it is (a screen of another
// shape gets bars, not a stretched picture) unless --switch-mode asks for --size's mode and
// the screen has it. `note` is one line when what was asked for is not what is used, so the
// window library never picks a mode of its own (with its own raw warning).
sf::VideoMode window_mode(const PlayerOptions& options, std::string& note) {
  const sf::VideoMode asked(static_cast<unsigned>(resolution_x),
                            static_cast<unsigned>(resolution_y), 32);
  if (!fullscreen) return asked;
  const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
  if (!options.switch_mode) return desktop;
  const std::string kept = "the show uses the screen's mode as it is, " + mode_text(desktop);
  if (options.width <= 0) {
    note = "--switch-mode without --size changes nothing: " + kept;
    return desktop;
  }
  for (const sf::VideoMode& mode : sf::VideoMode::getFullscreenModes()) {
    if (mode.width == asked.width && mode.height == asked.height) return mode;
  }
  note = "--switch-mode: the screen has no " + mode_text(asked) + " mode; " + kept;
  return desktop;
}

}  // namespace

void FrameRate::Count(float elapsed) {
  ++frames;
  const float span = elapsed - window_start;
  if (span < 0.5f) return;
  fps = static_cast<float>(frames) / span;
  frame_ms = 1000.0f * span / static_cast<float>(frames);
  frames = 0;
  window_start = elapsed;
}

Player::Player(const PlayerOptions& options, std::filesystem::path shots_dir, int start_step)
    : options_(options),
      shots_dir_(std::move(shots_dir)),
      manager_(std::make_unique<omni::ShaderManager>()),
      // --stats: every shown frame's time, by part (room reserved only when asked for).
      times_(options.stats ? FrameTimes::default_reserve : 0) {
  OpenWindow();
  StartRenderer();
  init_gl();
  init_shaders(*manager_);
  screen_.Resize(static_cast<int>(window_->getSize().x), static_cast<int>(window_->getSize().y));
  if (mushroom_mode) {
    // The maker's lines, on standard output as after a reload.
    for (const std::string& warning : files_.Warnings()) say("%s", warning.c_str());
  }
  transport_ = std::make_unique<Transport>(std::make_unique<Playhead>(
                                               [this](effect::Camera& camera) {
                                                 return init_demo(camera, show_seconds_per_beat,
                                                                  files_.Camera());
                                               },
                                               (*manager_)[0]),
                                           &music_);
  sync_ = std::make_unique<SyncSession>(options_.sync, options_.sync_at,
                                        [](const std::string& line) { say("%s", line.c_str()); });
  transport_->Head().SetCameraOverride(&sync_->Tracks());
  controls_ =
      std::make_unique<Controls>(*transport_, music_, free_, static_cast<Controls::Host&>(*this));
  SetUpPacing();
  music_.Open();
  transport_->Start(start_step, 0.0f);
  clock_.restart();  // clock time 0 is the moment the music started
}

Player::~Player() {
  music_.Stop();
  controls_.reset();
  transport_.reset();
  // The programs go while the window's context still exists.
  manager_.reset();
  current_.reset();
  layer_.reset();
  platform::hold_off_screensaver(window_->getSystemHandle(), false);
  window_.reset();
}

void Player::OpenWindow() {
  platform::watch_window_loss(&quit);
  std::string note;
  const sf::VideoMode mode = window_mode(options_, note);
  if (!note.empty()) std::fprintf(stderr, "tessary: %s\n", note.c_str());
  const sf::Uint32 style =
      fullscreen ? sf::Style::Fullscreen : (sf::Style::Resize | sf::Style::Close);
  render::parse_kind(options_.renderer, renderer_kind_);
  noise_.quiet_context_report = true;
  const auto msaa = static_cast<unsigned int>(options_.msaa);
  if (renderer_kind_ == render::Kind::instanced) {
    window_ = std::make_unique<sf::Window>(
        mode, "Tessary", style, sf::ContextSettings(24, 8, msaa, 3, 3, sf::ContextSettings::Core));
    const sf::ContextSettings got = window_->getSettings();
    if (got.majorVersion * 10 + got.minorVersion < 33 ||
        (got.attributeFlags & sf::ContextSettings::Core) == 0) {
      std::fprintf(stderr,
                   "tessary: the driver gives no OpenGL 3.3 core context (got %u.%u): drawing "
                   "with the classic renderer\n",
                   got.majorVersion, got.minorVersion);
      renderer_kind_ = render::Kind::classic;
      window_.reset();
    }
  }
  if (!window_) {
    window_ =
        std::make_unique<sf::Window>(mode, "Tessary", style, sf::ContextSettings(24, 8, msaa));
  }
  noise_.quiet_context_report = false;
  if (msaa > 1 && window_->getSettings().antialiasingLevel < msaa) {
    std::fprintf(stderr, "tessary: --msaa %u: the driver offers %u samples a pixel\n", msaa,
                 window_->getSettings().antialiasingLevel);
  }
  platform::watch_window(window_->getSystemHandle());
  window_->setMouseCursorVisible(!fullscreen);
  sf::Image icon;
  std::string error;
  if (make_icon(icon_picture, icon, error)) {
    window_->setIcon(icon.getSize().x, icon.getSize().y, icon.getPixelsPtr());
  } else {
    std::fprintf(stderr, "tessary: %s; the window has no icon\n", error.c_str());
  }
  platform::hold_off_screensaver(window_->getSystemHandle(), true);
}

void Player::StartRenderer() {
  std::string error;
  layer_ = render::make_layer(renderer_kind_, error);
  if (!layer_) {
    std::fprintf(stderr, "tessary: the %s renderer: %s; drawing with the classic renderer\n",
                 render::kind_name(renderer_kind_), error.c_str());
    layer_ = render::make_layer(render::Kind::classic, error);
  }
  current_ = std::make_unique<render::Current>(*layer_);
}

void Player::SetUpPacing() {
  vsync_ = options_.vsync;
  if (vsync_) {
    noise_.vsync_unsupported = false;
    window_->setVerticalSyncEnabled(true);
    if (noise_.vsync_unsupported) {
      std::fprintf(stderr,
                   "tessary: vertical sync is not supported here: frames are capped at "
                   "%d a second instead\n",
                   show_fps);
      vsync_ = false;
    }
  }
  if (!vsync_) window_->setFramerateLimit(show_fps);
  const float refresh = platform::display_refresh_rate(window_->getSystemHandle());
  vsync_limit_fps_ = vsync_margin * (refresh > 0 ? refresh : assumed_display_hz);
}

int Player::Run() {
  while (window_->isOpen()) {
    const float elapsed = clock_.getElapsedTime().asSeconds();
    HandleEvents(elapsed);
    if (escape_ || platform::end_signal() != 0) break;
    sync_->Poll(*transport_, elapsed, files_);
    free_.Tick(elapsed);
    if (mushroom_mode) Reload(files_.Poll(elapsed), elapsed);
    if (platform::window_shown(window_->getSystemHandle())) {
      DrawFrame(elapsed);
      window_->display();
      AfterFrame(elapsed);
    } else {
      // Minimised: the show goes on in time, undrawn, at little cost.
      transport_->Frame(elapsed, FreeView(), false);
      sf::sleep(sf::milliseconds(hidden_frame_ms));
    }
    sync_->ReportRow(*transport_);
    if (quit || (transport_->Over() && !sync_->HoldAtEnd(*transport_, elapsed))) break;
  }
  if (options_.stats) PrintStats();
  return 0;
}

void Player::HandleEvents(float elapsed) {
  sf::Event event;
  while (window_->pollEvent(event)) {
    if (event.type == sf::Event::Closed) {
      quit = true;
    } else if (event.type == sf::Event::Resized) {
      screen_.Resize(static_cast<int>(event.size.width), static_cast<int>(event.size.height));
    } else if (event.type == sf::Event::LostFocus) {
      // The key-up events go to another window now: nothing stays held.
      free_.ReleaseAll();
    } else if (event.type == sf::Event::MouseButtonPressed ||
               event.type == sf::Event::MouseButtonReleased) {
      if (event.mouseButton.button == sf::Mouse::Left) {
        Pointer(event.type, event.mouseButton.x, event.mouseButton.y, elapsed);
      }
    } else if (event.type == sf::Event::MouseMoved && dragging_) {
      Pointer(event.type, event.mouseMove.x, event.mouseMove.y, elapsed);
    } else if (event.type == sf::Event::KeyPressed || event.type == sf::Event::KeyReleased) {
      const bool down = event.type == sf::Event::KeyPressed;
      const KeyBinding* binding = find_key(platform::key_name(event.key.code, event.key.shift),
                                           mushroom_mode, platform::key_name(event.key.code));
      if (binding == nullptr) continue;
      if (is_held(binding->action)) {
        free_.Hold(binding->action, down);
      } else if (down) {
        FlushStripSeek(elapsed);  // keys act where the pointer left the show
        controls_->Act(binding->action, elapsed);
      }
    }
  }
  FlushStripSeek(elapsed);
}

void Player::Pointer(sf::Event::EventType type, int x, int y, float elapsed) {
  if (type == sf::Event::MouseButtonReleased) {
    FlushStripSeek(elapsed);
    if (dragging_) controls_->SayWhere();
    dragging_ = false;
    return;
  }
  // Window pixels, y down, to the viewport's.
  const Viewport& view = screen_.view;
  const int vx = x - view.x;
  const int vy = y - (static_cast<int>(window_->getSize().y) - view.y - view.height);
  if (type == sf::Event::MouseButtonPressed) {
    dragging_ = controls_->OverlayOn() && strip_.Contains(vx, vy);
  }
  if (dragging_) strip_seek_ = strip_.StepAt(vx);
}

void Player::FlushStripSeek(float elapsed) {
  // NOTE: a drag back rebuilds the show at each seek: one seek a frame at most, however many
  // moves the window reported.
  if (strip_seek_ >= 0) transport_->Seek(strip_seek_, elapsed);
  strip_seek_ = -1;
}

void Player::Say(const std::string& line) {
  say("%s", line.c_str());
}

void Player::Own(Action action, float elapsed) {
  switch (action) {
    case Action::Quit:
      // Ends the loop before this frame is drawn. The window itself (and with it the GL
      // context) is closed only at shutdown, after the effects and programs are released.
      escape_ = true;
      break;
    case Action::Shot:
      SaveShot(elapsed);
      break;
    case Action::Reload: {
      LiveFiles::Changes all;
      all.camera = all.shaders = all.pictures = true;
      Reload(all, elapsed);
      break;
    }
    case Action::WriteKey:
    case Action::WriteSmoothKey:
      WriteShot(elapsed, action == Action::WriteSmoothKey);
      break;
    case Action::Undo: {
      std::string message;
      if (files_.UndoShot(message)) {
        transport_->Rebuild(elapsed);
        strip_stale_ = true;
      }
      say("%s", message.c_str());
      break;
    }
    default:
      break;
  }
}

void Player::Reload(const LiveFiles::Changes& changes, float elapsed) {
  if (!changes.Any()) return;
  std::vector<std::string> done, failed;
  bool rebuild = false;
  if (changes.camera) {
    std::string message;
    if (files_.ReloadCamera(message)) {
      done.push_back(camera_file_path);
      rebuild = true;
    } else {
      failed.push_back(message);
    }
  }
  if (changes.shaders) {
    // A shader that fails has said why in its own error line.
    if (ReloadShaders()) done.push_back("the shaders");
  }
  if (changes.pictures) {
    // A picture that does not decode is an error like any other; the show keeps the last good.
    if (files_.ReloadPictures(changes.picture_paths, failed)) {
      done.push_back("the pictures");
      rebuild = true;
    }
  }
  // With an editor its tracks play; without one, the saved files as they now are.
  if (changes.tracks && sync_->ReloadSaved()) done.push_back("the sync tracks");
  // The show is built afresh from the files and lands on the frame it showed, as a seek does.
  if (rebuild) transport_->Rebuild(elapsed);
  strip_stale_ = strip_stale_ || changes.camera;
  std::string line;
  for (size_t i = 0; i < done.size(); ++i) line += (i == 0 ? "reloaded " : ", ") + done[i];
  for (const std::string& message : failed) line += (line.empty() ? "" : "; ") + message;
  if (!line.empty()) say("%s", line.c_str());
  if (changes.camera && rebuild) {
    for (const std::string& warning : files_.Warnings()) say("%s", warning.c_str());
  }
}

bool Player::ReloadShaders() {
  // A shader that fails keeps the running program; its error line is the manager's own.
  auto fresh = std::make_unique<omni::ShaderManager>();
  init_shaders(*fresh);
  files_.SetShaderError(fresh->LastError());
  if ((*fresh)[0] == nullptr) return false;
  manager_ = std::move(fresh);
  transport_->Head().SetProgram((*manager_)[0]);
  return true;
}

void Player::WriteShot(float elapsed, bool glide) {
  if (!free_.on) {
    // The keyframed camera's own pose is what the file already says: nothing to write.
    say("k writes the free camera's pose: press c first");
    return;
  }
  const int step = transport_->Current();
  const CameraPose pose{free_.position,
                        omni::Vector3<float>(free_.rotation.x, free_.rotation.y, 0)};
  std::string message;
  if (files_.WriteShot(transport_->Steps().PartAt(step), step, pose, message, glide)) {
    transport_->Rebuild(elapsed);
    strip_stale_ = true;
  }
  say("%s", message.c_str());
}

void Player::SaveShot(float elapsed) {
  // Drawn now, not with the next frame: each F12 of a batch of keys saves the frame that the
  // keys before it in the batch left on screen.
  window_->setActive(true);
  screen_.BeginFrame();
  transport_->Frame(elapsed, free_.View(mushroom_mode));
  save_shot(shots_dir_, transport_->Current(), screen_.view);
}

void Player::DrawFrame(float elapsed) {
  window_->setActive(true);
  screen_.BeginFrame();
  transport_->Frame(elapsed, free_.View(mushroom_mode));
  int below = 0;
  if (controls_->OverlayOn()) {
    DrawStrip();
    below = overlay_.Draw(OverlayText(), screen_.view.width, screen_.view.height);
  }
  if (mushroom_mode) {
    // NOTE: a short string built each frame, only with -magic.
    const std::string errors = files_.Errors();
    if (!errors.empty()) {
      overlay_.Draw(errors, screen_.view.width, screen_.view.height, Overlay::ERROR, below);
    }
  }
}

void Player::DrawStrip() {
  const Transport& t = *transport_;
  const Viewport& view = screen_.view;
  if (strip_stale_) strip_.SetShow(t.Steps(), files_.Camera());
  if (strip_stale_ || strip_size_[0] != view.width || strip_size_[1] != view.height) {
    strip_.Layout(view.width, view.height, Overlay::TextWidth);
    strip_size_[0] = view.width;
    strip_size_[1] = view.height;
    strip_stale_ = false;
  }
  overlay_.DrawShapes(strip_.Shapes(t.Current(), t.LoopFirst(), t.LoopLast(), t.LoopingRange()),
                      strip_.Labels(), view.width, view.height);
}

std::string Player::LoopText() const {
  const Transport& t = *transport_;
  if (t.LoopFirst() < 0 && t.LoopLast() < 0) return "";
  const auto mark = [](int step) { return step < 0 ? std::string("?") : std::to_string(step); };
  return "  loop range " + mark(t.LoopFirst()) + "-" + mark(t.LoopLast());
}

std::string Player::OverlayText() const {
  const Transport& t = *transport_;
  const int step = t.Current();
  const int beat = t.Beat();
  char text[512];
  int n = std::snprintf(text, sizeof text,
                        "time %.3f s  frame %d  beat %d (bar %d, beat %d)  part %s  next flash %d\n"
                        "%.0f fps  %.1f ms a frame  speed %g%s%s%s%s",
                        step_time(step), step, beat, std::max(beat, 0) / 4 + 1,
                        std::max(beat, 0) % 4 + 1, part_name_at(beat), next_flash_beat(beat),
                        rate_.fps, rate_.frame_ms, t.Speed(), t.Paused() ? "  paused" : "",
                        t.LoopPart() >= 0 || t.LoopingRange() ? "  looping" : "",
                        LoopText().c_str(), music_.Muted() ? "  muted" : "");
  if (free_.on && n > 0 && n < static_cast<int>(sizeof text)) {
    std::snprintf(text + n, sizeof text - static_cast<size_t>(n),
                  "\nfree camera at %.1f %.1f %.1f  turned %.1f %.1f  speed %g", free_.position.x,
                  free_.position.y, free_.position.z, free_.rotation.x, free_.rotation.y,
                  free_.speed);
  }
  const std::string driven = Tracks().Driven();
  std::string out = text;
  const bool editor = sync_->WithEditor();
  if (editor) out += sync_->Connected() ? "\nsync editor connected" : "\nno sync editor";
  if (!driven.empty()) out += (editor ? "  " : "\n") + std::string("tracks drive ") + driven;
  return out;
}

void Player::AfterFrame(float elapsed) {
  rate_.Count(elapsed);
  if (options_.stats) {
    // NOTE: a clock read per frame; the times are stored in room reserved up front.
    const float now = clock_.getElapsedTime().asSeconds();
    times_.Add(part_name_at(transport_->Head().Beat()), 1000.0 * (now - last_frame_end_));
    last_frame_end_ = now;
  }
  if (vsync_ && elapsed > 1.0f && rate_.fps > vsync_limit_fps_) {
    // No display refreshes this fast: the driver accepted vertical sync but does not wait
    // for it (Xvfb, some software drivers). Pace by the frame limit instead of spinning.
    std::fprintf(stderr,
                 "tessary: vertical sync does not pace frames here (%.0f fps): frames are "
                 "capped at %d a second instead\n",
                 rate_.fps, show_fps);
    window_->setVerticalSyncEnabled(false);
    window_->setFramerateLimit(show_fps);
    vsync_ = false;
  }
}

void Player::PrintStats() const {
  const char* renderer_name = nullptr;
  glCheck(renderer_name = reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  char heading[256];
  std::snprintf(heading, sizeof heading, "the player, %ux%u%s, %s renderer, %s",
                window_->getSize().x, window_->getSize().y, vsync_ ? ", vsync" : "",
                render::kind_name(layer_->kind()), renderer_name ? renderer_name : "unknown");
  print_frame_times(times_.Parts(), heading, false, stdout);
}
