#include "cmdline.h"

#include <cstdio>

bool parse_size(const std::string& text, int& width, int& height) {
  unsigned w = 0, h = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%5ux%5u%c", &w, &h, &rest) != 2) return false;
  if (w < 1 || h < 1 || w > 8192 || h > 8192) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}
