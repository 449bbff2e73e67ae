#ifndef TESSARY_FILEIO_H
#define TESSARY_FILEIO_H

// Whole files in and out: a file read at once, and a file replaced so that nothing a maker
// wrote is lost. A reader (an editor, the player's own watcher) sees the old bytes or the new,
// never half a file; a crash or power cut leaves one of the two; the file keeps its mode and
// group; a symbolic link stays a link and its target gets the bytes.
//
// How to use:
//   std::string text, error;
//   if (!fileio::read_file(path, text, error)) ...              // error: "No such file ..."
//   if (!fileio::replace_file(path, text, error)) ...           // error: the system's cause
//
// The replacing itself is one implementation per system (src/platform/*/fileio.cpp).

#include <string>

namespace fileio {

// Reads every byte of `path` into `bytes`. False with the cause in `error` (the system's words,
// without the path), `bytes` then empty.
bool read_file(const std::string& path, std::string& bytes, std::string& error);

// The file a write to `path` lands in: `path` itself, or where its chain of symbolic links
// ends (a dangling link's target too). `path` when a link cannot be read.
std::string final_target(const std::string& path);

// Makes the file at `path` (or, through symbolic links, the file they name) hold `bytes`: they
// are written to a new file beside it and flushed to disk, which then takes its place in one
// step, with the old file's mode and group. A missing file is created (mode as for any new
// file). A file marked read-only is refused. False with the cause in `error` (the system's
// words; the path written when it is not `path`); the old file is then untouched and nothing
// new is left beside it.
bool replace_file(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace fileio

#endif
