// A picture drawn as text, one character a pixel, and its conversion to an RGB PNG.
//
// Text format:
//   // comment lines may stand anywhere before the rows
//   R = #ff0000        legend: one character, " = #", six hex digits
//   G = #00ff00
//   ---                a line "---" (or an empty line) ends the legend
//   ..RRG..            rows: every row as wide as the first; '.' and ' ' are black
//
// Empty lines after the last row are ignored.
#pragma once

#include <string>
#include <vector>

namespace pictures {

// An RGB picture, rows from the top, three bytes a pixel.
struct PixelMap {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
};

// Largest accepted width or height, in pixels.
constexpr int kMaxSide = 8192;

// Parses the text of a pixel map into `out`. On failure returns false, leaves `out` as it was
// and sets `error` to "line N: what is wrong".
bool ParsePixelMap(const std::string& text, PixelMap& out, std::string& error);

// Reads and parses the pixel map file at `path`; the error names the file.
bool LoadPixelMap(const std::string& path, PixelMap& out, std::string& error);

// Writes `map` as an 8-bit RGB PNG. The file is written under a temporary name and renamed into
// place, so a failed write leaves no file, and an existing file stays as it was.
bool WritePng(const std::string& path, const PixelMap& map, std::string& error);

// Writes `map` as the program's icon (src/icon.h: the rule the window's icon follows too), an
// 8-bit RGBA PNG. Fails, writing nothing, when the picture does not fit; written as WritePng
// writes.
bool WriteIconPng(const std::string& path, const PixelMap& map, std::string& error);

}  // namespace pictures
