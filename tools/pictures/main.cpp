// tessary-pictures: turns text pixel maps into the PNG pictures the show loads.
//
//   tessary-pictures SOURCE.txt OUTPUT.png [SOURCE.txt OUTPUT.png ...]
//   tessary-pictures --icon SOURCE.txt OUTPUT.png
//
// The second form makes the desktop icon by the rule of src/icon.h: the picture scaled by whole
// pixels, black made transparent, centred on a transparent square.
//
// Every source is read and checked before anything is written; on any error the tool prints
// why, writes nothing and exits with status 1.
#include <cstdio>
#include <string>
#include <vector>

#include "pixel_map.h"

namespace {

// --icon SOURCE.txt OUTPUT.png
int make_icon(char** argv) {
  pictures::PixelMap map;
  std::string error;
  if (!pictures::LoadPixelMap(argv[2], map, error) ||
      !pictures::WriteIconPng(argv[3], map, error)) {
    std::fprintf(stderr, "tessary-pictures: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--icon") return make_icon(argv);
  if (argc < 3 || argc % 2 != 1) {
    std::fprintf(stderr, "usage: %s SOURCE.txt OUTPUT.png [SOURCE.txt OUTPUT.png ...]\n",
                 argc > 0 ? argv[0] : "tessary-pictures");
    return 2;
  }
  std::vector<pictures::PixelMap> maps;
  for (int i = 1; i < argc; i += 2) {
    pictures::PixelMap map;
    std::string error;
    if (!pictures::LoadPixelMap(argv[i], map, error)) {
      std::fprintf(stderr, "tessary-pictures: %s\n", error.c_str());
      return 1;
    }
    maps.push_back(std::move(map));
  }
  for (int i = 1; i < argc; i += 2) {
    std::string error;
    if (!pictures::WritePng(argv[i + 1], maps[(i - 1) / 2], error)) {
      std::fprintf(stderr, "tessary-pictures: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
