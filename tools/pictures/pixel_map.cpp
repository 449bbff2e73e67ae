#include "pixel_map.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "icon.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace pictures {

namespace {

// Splits text into lines, dropping the '\n' and a '\r' before it.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type begin = 0;
  while (begin < text.size()) {
    std::string::size_type end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    begin = end + 1;
  }
  return lines;
}

// Value of one hex digit, or -1.
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Shows a character in a message: printable ones quoted, others as a byte value.
std::string Describe(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u > 32 && u < 127) return std::string("'") + c + "'";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "byte 0x%02x", u);
  return buffer;
}

std::string At(std::size_t line_index, const std::string& message) {
  return "line " + std::to_string(line_index + 1) + ": " + message;
}

bool IsBlack(char c) {
  return c == '.' || c == ' ';
}

}  // namespace

bool ParsePixelMap(const std::string& text, PixelMap& out, std::string& error) {
  const std::vector<std::string> lines = SplitLines(text);

  struct Entry {
    bool defined = false;
    std::array<unsigned char, 3> rgb{};
  };
  std::array<Entry, 256> legend{};

  std::size_t index = 0;
  bool legend_closed = false;
  for (; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    if (line.empty() || line == "---") {
      legend_closed = true;
      ++index;
      break;
    }
    if (line.compare(0, 2, "//") == 0) continue;
    const char key = line[0];
    if (line.size() != 11 || line.compare(1, 4, " = #") != 0) {
      error = At(index, "bad legend line \"" + line + "\": expected \"C = #rrggbb\"");
      return false;
    }
    const unsigned char ukey = static_cast<unsigned char>(key);
    if (IsBlack(key) || ukey <= 32 || ukey >= 127) {
      error =
          At(index, "legend key " + Describe(key) +
                        " cannot be used: keys are printable characters other than '.' and space");
      return false;
    }
    if (legend[ukey].defined) {
      error = At(index, "legend key " + Describe(key) + " is defined twice");
      return false;
    }
    Entry entry;
    for (int channel = 0; channel < 3; ++channel) {
      const int high = HexDigit(line[5 + 2 * channel]);
      const int low = HexDigit(line[6 + 2 * channel]);
      if (high < 0 || low < 0) {
        error = At(index, "bad colour \"" + line.substr(4) + "\": expected #rrggbb in hex digits");
        return false;
      }
      entry.rgb[channel] = static_cast<unsigned char>(high * 16 + low);
    }
    entry.defined = true;
    legend[ukey] = entry;
  }
  if (!legend_closed) {
    error = "the legend is not closed: an empty line or \"---\" must stand between it and the rows";
    return false;
  }

  std::size_t last = lines.size();
  while (last > index && lines[last - 1].empty()) --last;
  if (last == index) {
    error = "no rows after the legend";
    return false;
  }

  PixelMap map;
  map.width = static_cast<int>(lines[index].size());
  map.height = static_cast<int>(last - index);
  if (map.width > kMaxSide || map.height > kMaxSide) {
    error = "picture of " + std::to_string(map.width) + " x " + std::to_string(map.height) +
            " pixels is larger than " + std::to_string(kMaxSide) + " on a side";
    return false;
  }
  map.rgb.reserve(static_cast<std::size_t>(map.width) * map.height * 3);
  for (std::size_t row = index; row < last; ++row) {
    const std::string& line = lines[row];
    if (static_cast<int>(line.size()) != map.width) {
      error = At(row, "row is " + std::to_string(line.size()) + " pixels wide, the first row is " +
                          std::to_string(map.width) + " (rows must all be as wide)");
      return false;
    }
    for (std::size_t column = 0; column < line.size(); ++column) {
      const char c = line[column];
      if (IsBlack(c)) {
        map.rgb.insert(map.rgb.end(), {0, 0, 0});
        continue;
      }
      const Entry& entry = legend[static_cast<unsigned char>(c)];
      if (!entry.defined) {
        error = At(row, "unknown character " + Describe(c) + " in column " +
                            std::to_string(column + 1) + " (not in the legend)");
        return false;
      }
      map.rgb.insert(map.rgb.end(), entry.rgb.begin(), entry.rgb.end());
    }
  }
  out = std::move(map);
  return true;
}

bool LoadPixelMap(const std::string& path, PixelMap& out, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot open";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    error = path + ": cannot read";
    return false;
  }
  if (!ParsePixelMap(text.str(), out, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

namespace {

bool Consistent(const PixelMap& map) {
  return map.width > 0 && map.height > 0 &&
         map.rgb.size() == static_cast<std::size_t>(map.width) * map.height * 3;
}

// Writes `channels`-byte pixels under a temporary name and renames the file into place.
bool WritePixels(const std::string& path, int width, int height, int channels,
                 const unsigned char* pixels, std::string& error) {
  const std::string temporary = path + ".tmp";
  if (!stbi_write_png(temporary.c_str(), width, height, channels, pixels, width * channels)) {
    std::remove(temporary.c_str());
    error = path + ": cannot write the PNG";
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    error = path + ": cannot move the written PNG into place";
    return false;
  }
  return true;
}

}  // namespace

bool WritePng(const std::string& path, const PixelMap& map, std::string& error) {
  if (!Consistent(map)) {
    error = path + ": nothing to write (empty or inconsistent picture)";
    return false;
  }
  return WritePixels(path, map.width, map.height, 3, map.rgb.data(), error);
}

bool WriteIconPng(const std::string& path, const PixelMap& map, std::string& error) {
  if (!Consistent(map)) {
    error = path + ": nothing to write (empty or inconsistent picture)";
    return false;
  }
  std::vector<unsigned char> rgba;
  if (!place_icon(map.width, map.height, map.rgb.data(), 3, rgba, error)) {
    error = path + ": " + error;
    return false;
  }
  return WritePixels(path, icon_size, icon_size, 4, rgba.data(), error);
}

}  // namespace pictures
