// The player's entry point: reads the command line, finds the show's files and a display, and
// runs the player (src/player/player.h).
#include <cstdio>
#include <filesystem>
#include <string>

#include "datadir.h"
#include "demo/moments.h"
#include "platform/desktop.h"
#include "platform/platform.h"
#include "player/flags.h"
#include "player/options.h"
#include "player/player.h"

int main(int argc, char** argv) {
  platform::attach_console();
  PlayerOptions options;
  int status = 0;
  if (!parse_player_options(argc, argv, options, status)) return status;
  apply_player_options(options);

  int start_step = 0;
  if (!options.start.empty()) {
    std::string error;
    if (!ShowSteps().Parse(options.start, start_step, error)) {
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
  platform::catch_end_signals();
  {
    Player player(options, shots_dir, start_step);
    status = player.Run();
  }
  // Ended by a signal: the window is closed and the desktop as it was; end as the signal would.
  platform::reraise_end_signal();
  return status;
}
