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
#include "player/freecamera.h"
#include "player/keys.h"
#include "player/livefiles.h"
#include "player/noise.h"
#include "player/options.h"
#include "player/overlay.h"
#include "player/screen.h"
#include "player/soundtrack.h"
#include "player/syncsession.h"
#include "player/transport.h"

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

class Player {
 public:
  Player(const PlayerOptions& options, std::filesystem::path shots_dir, int start_step);
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Plays until the show ends or the user ends it; returns the exit status.
  int Run();

 private:
  void OpenWindow();
  void SetUpPacing();
  // Drains the window's events: keys, focus, resize, close.
  void HandleEvents(float elapsed);
  // Carries out a pressed key's action.
  void Act(Action action, float elapsed);
  // The seeks among the actions; false for any other action.
  bool Seek(Action action, float elapsed);
  // Reloads what changed on disk (F5: everything); one line each, errors kept on screen.
  void Reload(const LiveFiles::Changes& changes, float elapsed);
  bool ReloadShaders();
  // k: the free camera's pose written into the camera file at the step on screen.
  void WriteShot(float elapsed);
  // The tracks the show plays: the editor's with --sync, else the saved ones.
  const CameraTracks& Tracks() const { return sync_->Tracks(); }
  // Draws this frame: the show, then (never in shots) the overlay.
  void DrawFrame(float elapsed);
  // F12: draws the show as it now stands and saves it in the shots folder.
  void SaveShot(float elapsed);
  std::string OverlayText() const;
  // After the frame is shown: frame rate, --stats, the vsync check.
  void AfterFrame(float elapsed);
  void PrintStats() const;

  const PlayerOptions options_;
  const std::filesystem::path shots_dir_;
  NoiseFilter noise_;  // before the window: SFML reports while making it
  std::unique_ptr<sf::Window> window_;
  sf::Clock clock_;
  std::unique_ptr<omni::ShaderManager> manager_;
  Screen screen_;
  Overlay overlay_;
  Soundtrack music_;
  LiveFiles files_;
  std::unique_ptr<Transport> transport_;
  std::unique_ptr<SyncSession> sync_;  // the camera tracks, and with --sync the editor
  FreeCamera free_;
  FrameRate rate_;
  FrameTimes times_;
  float last_frame_end_ = 0.0f;
  bool vsync_ = false;
  float vsync_limit_fps_ = 0.0f;  // frames a second above which vsync does not pace
  bool overlay_on_ = false;
  bool escape_ = false;
};

#endif
