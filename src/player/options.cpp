#include "player/options.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cmdline.h"
#include "player/flags.h"
#include "player/keys.h"
#include "sync/client.h"

#ifndef TESSARY_VERSION
#define TESSARY_VERSION "dev"
#endif

bool parse_player_options(int argc, char** argv, PlayerOptions& options, int& status) {
  CLI::App app{
      "Plays the show: a 1024x768 window (fullscreen unless -w), its music, about 167 seconds. "
      "Escape ends it; c switches the keyframed camera off and on. Without a display, render "
      "it with tessary-capture --video FILE.",
      "tessary"};
  app.allow_extras();
  app.footer("Keys:\n" + key_help(false));
  app.set_version_flag("--version", "tessary " TESSARY_VERSION);
  app.add_flag("-w", options.windowed, "Play in a window instead of fullscreen");
  app.add_flag("--magic", options.magic,
               "The developer controls (also -magic): pause, seek, loop, free camera, overlay, "
               "screenshots, shader reload; see the README");
  app.add_option("--data", options.data,
                 "Where data/ and shaders/ are (default: the current directory, the installed "
                 "share folder, the source tree)")
      ->type_name("DIR");
  std::string size;
  app.add_option("--size", size,
                 "The window's size (default 1024x768); fullscreen keeps the screen's own mode")
      ->type_name("WxH");
  app.add_flag("--switch-mode", options.switch_mode,
               "Fullscreen: switch the monitor to --size's mode while the show plays");
  app.add_option("--start", options.start,
                 "Begin the show at TIME: seconds (100), beats (224b) or frames (12000f)")
      ->type_name("TIME");
  app.add_flag("--vsync", options.vsync,
               "Pace frames by the display's vertical sync instead of 120 a second");
  app.add_option("--shots", options.shots,
                 "With -magic: where F12 saves the frame on screen (default: here)")
      ->type_name("DIR");
  app.add_flag("--stats", options.stats, "At exit, print the frames per second of each part");
  CLI::Option* sync =
      app.add_option("--sync", options.sync_address,
                     "With -magic: connect to a sync editor at [HOST:]PORT (default "
                     "127.0.0.1:1338), which then edits the camera's tracks and drives the show")
          ->type_name("[HOST:]PORT")
          ->expected(0, 1);

  // The original single-dash spelling of the developer switch, compared as a whole word.
  std::vector<std::string> args;
  for (int i = argc - 1; i >= 1; --i) {
    args.emplace_back(std::strcmp(argv[i], "-magic") == 0 ? "--magic" : argv[i]);
  }
  try {
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) {
      status = app.exit(e);  // --help, --version
    } else {
      std::fprintf(stderr, "tessary: %s (see --help)\n", e.what());
      status = 2;
    }
    return false;
  }
  for (const std::string& extra : app.remaining()) {
    std::fprintf(stderr, "tessary: ignoring unknown argument '%s' (see --help)\n", extra.c_str());
  }
  options.sync = sync->count() > 0;
  std::string error;
  if (options.sync && !options.sync_address.empty() &&
      !parse_sync_address(options.sync_address, options.sync_at, error)) {
    std::fprintf(stderr, "tessary: --sync: %s\n", error.c_str());
    status = 2;
    return false;
  }
  if (options.sync && !options.magic) {
    std::fprintf(stderr,
                 "tessary: --sync needs -magic (the editor drives the developer's transport)\n");
    status = 2;
    return false;
  }
  if (!size.empty() && !parse_size(size, options.width, options.height)) {
    std::fprintf(stderr, "tessary: --size: '%s' is not a size like 1024x768 (1 to 8192 each)\n",
                 size.c_str());
    status = 2;
    return false;
  }
  return true;
}

void apply_player_options(const PlayerOptions& options) {
  fullscreen = !options.windowed;
  mushroom_mode = options.magic;
  if (options.width > 0) {
    resolution_x = options.width;
    resolution_y = options.height;
  }
}
