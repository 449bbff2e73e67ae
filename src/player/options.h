#ifndef TESSARY_PLAYER_OPTIONS_H
#define TESSARY_PLAYER_OPTIONS_H

// The player's command line.
//
// How to use:
//   PlayerOptions options;
//   int status = 0;
//   if (!parse_player_options(argc, argv, options, status)) return status;  // --help, errors
//   apply_player_options(options);                                         // the globals

#include <string>

#include "sync/client.h"

struct PlayerOptions {
  bool windowed = false;  // -w: a window instead of fullscreen
  bool magic = false;     // -magic: the developer controls
  std::string data;       // --data DIR: where data/ and shaders/ are
  int width = 0;          // --size WxH: the window's size (0: the default)
  int height = 0;
  bool switch_mode = false;  // --switch-mode: fullscreen switches the monitor to --size
  std::string start;   // --start TIME: the moment the show begins at (seconds, beats or frames)
  bool vsync = false;  // --vsync: frames paced by the display's vertical sync
  std::string shots;   // --shots DIR: where F12 saves frames (default: the current directory)
  bool stats = false;  // --stats: frames per second per part, printed at exit
  bool sync = false;   // --sync [[HOST:]PORT]: a sync editor drives the camera tracks
  std::string sync_address;  // its [HOST:]PORT as given (empty: the default)
  SyncAddress sync_at;       // where the editor is, read from sync_address once
};

// Reads the command line. Returns false when the program should end now with `status`: 0
// after --help or --version, 2 after a bad value (one line on standard error). An argument it
// does not know gives one warning line on standard error and is ignored.
bool parse_player_options(int argc, char** argv, PlayerOptions& options, int& status);
// Sets the player's global flags (player/flags.h) from the options: the one place they are
// derived.
void apply_player_options(const PlayerOptions& options);

#endif
