#ifndef TESSARY_PLATFORM_WEB_WEBPLAYER_H
#define TESSARY_PLATFORM_WEB_WEBPLAYER_H

// The player in a browser tab: the show on the page's canvas (WebGL 2), letterboxed 4:3, timed
// by the audio clock (page.h), with the desktop player's keys. The page calls Frame once per
// animation frame; the browser shows what it drew.
//
// How to use (once the page has its sound, or knows it has none):
//   WebPlayer::Settings settings;          // start step, -magic, or a still moment
//   std::string error;
//   auto player = WebPlayer::Create(settings, error);   // null: `error` says why
//   ... each animation frame: if (!player->Frame()) { player.reset(); page::show_ended(); }

#include <emscripten/html5.h>

#include <memory>
#include <string>

#include "player/actions.h"
#include "player/freecamera.h"
#include "player/screen.h"
#include "player/soundtrack.h"
#include "player/transport.h"
#include "render/layer.h"

namespace omni {
class ShaderManager;
}

class WebPlayer : Controls::Host {
 public:
  struct Settings {
    int start_step = 0;
    bool magic = false;   // the developer keys and overlay
    int still_step = -1;  // >= 0: draw this step, paused, and say so in the title
  };

  static std::unique_ptr<WebPlayer> Create(const Settings& settings, std::string& error);
  ~WebPlayer();
  WebPlayer(const WebPlayer&) = delete;
  WebPlayer& operator=(const WebPlayer&) = delete;

  // Runs and draws one frame; false once the show has ended (or Escape ended it).
  bool Frame();
  // The step on screen.
  int Step() const { return transport_->Current(); }

 private:
  WebPlayer(const Settings& settings, EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context,
            std::unique_ptr<render::Layer> layer);
  static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* self);
  static EM_BOOL OnBlur(int type, const EmscriptenFocusEvent* event, void* self);
  // A key from the page; true when the player took it (the browser then does nothing with it).
  bool Key(const char* dom_key, bool down);
  // Controls::Host: the lines on the browser's console, and this player's own actions.
  void Say(const std::string& line) override;
  void Own(Action action, float elapsed) override;
  // Follows the canvas's size; true when it changed.
  bool FitCanvas();
  // F12: the frame on screen, without the overlay, as a PNG download named after its step.
  void SaveShot();
  void ShowOverlay();
  float Elapsed() const;

  const Settings settings_;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_;
  std::unique_ptr<render::Layer> layer_;
  std::unique_ptr<render::Current> current_;
  double clock_start_ = 0;
  std::unique_ptr<omni::ShaderManager> manager_;
  Screen screen_;
  Soundtrack music_;
  std::unique_ptr<Transport> transport_;
  FreeCamera free_;
  std::unique_ptr<Controls> controls_;  // after the transport it moves
  int canvas_width_ = 0, canvas_height_ = 0;
  bool still_drawn_ = false;
  bool shot_wanted_ = false;
  bool escape_ = false;
  std::string overlay_text_;
  // Frames a second over the last half second, for the overlay.
  int frames_ = 0;
  float rate_start_ = 0, fps_ = 0;
};

#endif
