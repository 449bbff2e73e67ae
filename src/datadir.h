#ifndef TESSARY_DATADIR_H
#define TESSARY_DATADIR_H

#include <string>

// Where the show's files live: the data root, the folder that holds both data/ and shaders/.
// Every loader reads the show's files by their relative names ("data/melody5.ogg",
// "shaders/toon.vert"), so a program finds the root once, makes it its working directory, and
// the loaders need nothing else.
//
// How to use, at the top of main, before any window or GL context exists:
//
//   // 1. Paths the user gave are taken against the directory the program was started in.
//   options.png_dir = absolute_path(options.png_dir);
//   // 2. Find the root and enter it.
//   std::string root, error;
//   if (!find_data_root(absolute_path(options.data_dir), argv[0], root, error) ||
//       !enter_data_root(root, error)) {
//     std::fprintf(stderr, "%s: %s\n", program_name, error.c_str());
//     return 2;
//   }
//   // 3. From here on "data/..." and "shaders/..." resolve inside the root.

// True when `dir` holds both a data/ and a shaders/ directory (what is inside them is the
// loaders' business: a missing file gives their usual error line).
bool holds_data_root(const std::string& dir);

// Finds the data root. With `given_dir` (from --data; empty when not given) only that folder is
// tried. Otherwise, in order: the current directory, the installed data root beside the
// executable (platform::installed_data_dir: <exe dir>/../share/tessary on Linux, the
// executable's own folder on Windows), and the source tree the program was built from. On success
// `root` is an absolute path; on failure `error` is one line naming every place looked at.
bool find_data_root(const std::string& given_dir, const char* argv0, std::string& root,
                    std::string& error);

// Makes `root` the working directory; false with the reason in `error` when that fails.
bool enter_data_root(const std::string& root, std::string& error);

// `path` made absolute against the current directory (call before enter_data_root); an empty
// path stays empty, so options that were not given stay unset.
std::string absolute_path(const std::string& path);

#endif
