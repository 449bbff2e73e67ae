#ifndef TESSARY_PLAYER_PLAYER_H
#define TESSARY_PLAYER_PLAYER_H

// The player: a window with the show in it and its music, run frame by frame until the show
// ends, Escape, or the window goes; with -magic, the developer controls.
//
// How to use (after the options were read and the data root entered):
//   Player player(options, shots_dir, start_step);
//   return player.Run();
// Its parts are released in the one right order by its destructor: the music, the show (its
// GL objects), the shader programs, then the window with its GL context.

#include <SFML/Graphics/Image.hpp>
#include <SFML/Window.hpp>
#include <filesystem>
#include <memory>
#include <string>

#include "demo/frametimes.h"
#include "player/actions.h"
#include "player/freecamera.h"
#include "player/keys.h"
#include "player/livefiles.h"
#include "player/noise.h"
#include "player/options.h"
#include "player/overlay.h"
#include "player/screen.h"
#include "player/soundtrack.h"
#include "player/strip.h"
#include "player/syncsession.h"
#include "player/transport.h"
#include "render/layer.h"

namespace omni {
class ShaderManager;
}

// Frames per second and frame time over the last half second, for the overlay.
struct FrameRate {
  float fps = 0;
  float frame_ms = 0;
  int frames = 0;
  float window_start = 0;

  void Count(float elapsed);
};

class Player : Controls::Host {
 public:
  Player(const PlayerOptions& options, std::filesystem::path shots_dir, int start_step);
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Plays until the show ends or the user ends it; returns the exit status.
  int Run();

 private:
  void OpenWindow();
  // The renderer --renderer asked for, on the context OpenWindow made for it.
  void StartRenderer();
  void SetUpPacing();
  // Drains the window's events: keys, focus, resize, close.
  void HandleEvents(float elapsed);
  // A press, drag or release of the left button on the timeline strip (window pixels): the
  // show goes to the frame under the pointer (FlushStripSeek); the release says where it landed.
  void Pointer(sf::Event::EventType type, int x, int y, float elapsed);
  // Makes the seek the pointer asked for since the last one, if any.
  void FlushStripSeek(float elapsed);
  // The timeline strip, when the overlay is on (laid out again after a resize or a new camera
  // file).
  void DrawStrip();
  // Controls::Host: the lines on standard output, and this player's own actions.
  void Say(const std::string& line) override;
  void Own(Action action, float elapsed) override;
  // Reloads what changed on disk (F5: everything); one line each, errors kept on screen.
  void Reload(const LiveFiles::Changes& changes, float elapsed);
  bool ReloadShaders();
  // k (K: `glide`): the free camera's pose written into the camera file at the step on screen.
  void WriteShot(float elapsed, bool glide);
  // The tracks the show plays: the editor's with --sync, else the saved ones.
  const CameraTracks& Tracks() const { return sync_->Tracks(); }
  // Draws this frame: the show, then (never in shots) the overlay.
  void DrawFrame(float elapsed);
  // F12: draws the show as it now stands and saves it in the shots folder.
  void SaveShot(float elapsed);
  std::string OverlayText() const;
  // The loop range's marks for the overlay ("  loop range 1200-2400"; "" without marks).
  std::string LoopText() const;
  // After the frame is shown: frame rate, --stats, the vsync check.
  void AfterFrame(float elapsed);
  void PrintStats() const;

  const PlayerOptions options_;
  const std::filesystem::path shots_dir_;
  NoiseFilter noise_;  // before the window: SFML reports while making it
  std::unique_ptr<sf::Window> window_;
  render::Kind renderer_kind_ = render::Kind::classic;
  std::unique_ptr<render::Layer> layer_;  // after the window: drawn with its context
  std::unique_ptr<render::Current> current_;
  sf::Clock clock_;
  std::unique_ptr<omni::ShaderManager> manager_;
  Screen screen_;
  Overlay overlay_;
  Soundtrack music_;
  LiveFiles files_;
  std::unique_ptr<Transport> transport_;
  std::unique_ptr<SyncSession> sync_;  // the camera tracks, and with --sync the editor
  FreeCamera free_;
  std::unique_ptr<Controls> controls_;  // after the transport it moves
  FrameRate rate_;
  FrameTimes times_;
  float last_frame_end_ = 0.0f;
  bool vsync_ = false;
  float vsync_limit_fps_ = 0.0f;  // frames a second above which vsync does not pace
  TimelineStrip strip_;
  bool strip_stale_ = true;  // the camera file changed since it was laid out
  int strip_size_[2] = {0, 0};
  bool dragging_ = false;
  int strip_seek_ = -1;  // where the pointer asked the show to go, not yet sought; -1: nowhere
  bool shot_wanted_ = false;
  bool escape_ = false;
};

#endif
