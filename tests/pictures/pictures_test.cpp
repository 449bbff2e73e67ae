// The committed pictures against their text sources, the pixel-map format and the tool's
// all-or-nothing writing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <SFML/Graphics/Image.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pixel_map.h"
#include "scratch.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSourceDir = TESSARY_SOURCE_DIR;
const fs::path kWorkDir = TESSARY_TEST_WORK_DIR;

// True when the PNG at `png` decodes to exactly the pixels of `map`, fully opaque.
bool SamePixels(const fs::path& png, const pictures::PixelMap& map) {
  sf::Image image;
  if (!image.loadFromFile(png.string()) || image.getSize() != sf::Vector2u(map.width, map.height))
    return false;
  for (int y = 0; y < map.height; ++y) {
    for (int x = 0; x < map.width; ++x) {
      const unsigned char* want = &map.rgb[(static_cast<std::size_t>(y) * map.width + x) * 3];
      if (image.getPixel(x, y) != sf::Color(want[0], want[1], want[2])) return false;
    }
  }
  return true;
}

// Runs the tool on the given files; returns its exit status and what it printed on stderr.
int RunTool(const std::vector<fs::path>& files, std::string& messages) {
  std::string command = std::string("'") + TESSARY_PICTURES_TOOL + "'";
  for (const fs::path& file : files) command += " '" + file.string() + "'";
  const int status = std::system((command + " 2> '" + (kWorkDir / "log").string() + "'").c_str());
  messages = read_text(kWorkDir / "log");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// Every source has its PNG, current to the pixel, and every PNG has its source.
TEST(CommittedPictures, MatchTheirSources) {
  int sources = 0;
  for (const auto& entry : fs::directory_iterator(kSourceDir / "assets" / "pictures")) {
    if (entry.path().extension() != ".txt") continue;
    ++sources;
    pictures::PixelMap map;
    std::string error;
    ASSERT_TRUE(pictures::LoadPixelMap(entry.path().string(), map, error)) << error;
    const fs::path png = kSourceDir / "data" / (entry.path().stem().string() + ".png");
    EXPECT_TRUE(SamePixels(png, map)) << png << " is missing or stale: run make pictures";
  }
  EXPECT_GT(sources, 0);
  for (const auto& entry : fs::directory_iterator(kSourceDir / "data")) {
    if (entry.path().extension() != ".png") continue;
    const std::string source = "assets/pictures/" + entry.path().stem().string() + ".txt";
    EXPECT_TRUE(fs::exists(kSourceDir / source)) << entry.path() << " has no " << source;
  }
}

TEST(PixelMapParse, ReadsLegendCommentsBlackAndLineEndings) {
  pictures::PixelMap map;
  std::string error;
  ASSERT_TRUE(pictures::ParsePixelMap(
      "// a comment\r\nR = #ff0000\ng = #00Fa80\n---\nR.g\r\n g.\n\n\n", map, error))
      << error;
  EXPECT_EQ(map.width, 3);
  EXPECT_EQ(map.height, 2);
  EXPECT_EQ(map.rgb, (std::vector<unsigned char>{255, 0, 0, 0, 0, 0, 0, 250, 128,  //
                                                 0, 0, 0, 0, 250, 128, 0, 0, 0}));
}

TEST(PixelMapParse, RejectsMalformedMapsNamingTheLineAndReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"R = #ff0000\n---\nRX\n", "line 3: unknown character 'X' in column 2"},
      {"R = #ff0000\n---\nRR\nR\n", "line 4: row is 1 pixels wide, the first row is 2"},
      {"R=#ff0000\n---\nR\n", "line 1: bad legend line"},
      {"R = #ff00zz\n---\nR\n", "line 1: bad colour"},
      {"R = #ff0000\nR = #00ff00\n---\nR\n", "line 2: legend key 'R' is defined twice"},
      {". = #ffffff\n---\n.\n", "line 1: legend key '.' cannot be used"},
      {"R = #ff0000\n", "the legend is not closed"},
  };
  for (const auto& [text, message] : cases) {
    pictures::PixelMap map;
    map.width = 7;
    std::string error;
    EXPECT_FALSE(pictures::ParsePixelMap(text, map, error)) << text;
    EXPECT_NE(error.find(message), std::string::npos) << error;
    EXPECT_EQ(map.width, 7);  // left as it was
  }
}

// The tool writes the same PNG on every run; one bad map (or a missing source) in a batch
// fails the run before anything is written or replaced.
TEST(PicturesTool, WritesRepeatablyOrNothing) {
  fs::remove_all(kWorkDir);
  fs::create_directories(kWorkDir);
  const fs::path good = kWorkDir / "good.txt", bad = kWorkDir / "bad.txt";
  const fs::path existing = kWorkDir / "existing.png";
  std::ofstream(good) << "R = #ff0000\nb = #0000ff\n---\nR.b.\n.bR.\nbbbb\n";
  std::ofstream(bad) << "R = #ff0000\n---\nR?\n";
  std::ofstream(existing) << "previous contents";
  std::string messages;
  ASSERT_EQ(RunTool({good, kWorkDir / "a.png", good, kWorkDir / "b.png"}, messages), 0) << messages;
  pictures::PixelMap map;
  ASSERT_TRUE(pictures::LoadPixelMap(good.string(), map, messages)) << messages;
  EXPECT_TRUE(SamePixels(kWorkDir / "a.png", map));
  EXPECT_EQ(read_text(kWorkDir / "a.png"), read_text(kWorkDir / "b.png"));

  EXPECT_EQ(RunTool({good, kWorkDir / "c.png", bad, existing}, messages), 1);
  EXPECT_NE(messages.find(bad.string() + ": line 3: unknown character"), std::string::npos)
      << messages;
  EXPECT_EQ(RunTool({kWorkDir / "missing.txt", existing}, messages), 1);
  EXPECT_NE(messages.find("cannot open"), std::string::npos) << messages;
  EXPECT_FALSE(fs::exists(kWorkDir / "c.png"));
  EXPECT_EQ(read_text(existing), "previous contents");
}
