// The player's entry points in the browser. The page (web/page.js) calls tessary_play once it
// has its sound (or knows it has none), with the URL's moments; the show then runs on the
// browser's animation frames until it ends.
#include <emscripten.h>

#include <cstdio>
#include <memory>
#include <string>

#include "demo/moments.h"
#include "platform/web/page.h"
#include "platform/web/webplayer.h"

namespace {

std::unique_ptr<WebPlayer> player;

void frame(void*) {
  if (player && player->Frame()) return;
  emscripten_cancel_main_loop();
  player.reset();
  page::show_ended();
}

// `text` as a step, "" giving `fallback`; false (with the reason on standard error) when it is
// no moment of the show.
bool parse_moment(const char* name, const char* text, int fallback, int& step) {
  step = fallback;
  if (text == nullptr || *text == '\0') return true;
  std::string error;
  if (ShowSteps().Parse(text, step, error)) return true;
  std::fprintf(stderr, "tessary: %s: %s\n", name, error.c_str());
  return false;
}

}  // namespace

extern "C" {

// Starts the show: from `start` (seconds, "224b" beats or "12000f" frames; "" for the start),
// with the developer keys when `magic`, or only the still of the moment `at` when given.
// Returns 0, or 2 when a moment is not one of the show (the reason on standard error).
EMSCRIPTEN_KEEPALIVE int tessary_play(const char* start, int magic, const char* at) {
  WebPlayer::Settings settings;
  settings.magic = magic != 0;
  if (!parse_moment("start", start, 0, settings.start_step) ||
      !parse_moment("at", at, -1, settings.still_step)) {
    return 2;
  }
  std::string error;
  player = WebPlayer::Create(settings, error);
  if (!player) {
    std::fprintf(stderr, "tessary: %s\n", error.c_str());
    return 1;
  }
  emscripten_set_main_loop_arg(frame, nullptr, 0, 0);
  return 0;
}

// The step on screen, or -1 when no show runs: for the page's tests.
EMSCRIPTEN_KEEPALIVE int tessary_step() {
  return player ? player->Step() : -1;
}
}
