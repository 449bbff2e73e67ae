#include <gtest/gtest.h>
#include <sys/wait.h>

#include <SFML/Graphics/Image.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "pixel_map.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSourceDir = TESSARY_SOURCE_DIR;
const fs::path kWorkDir = TESSARY_TEST_WORK_DIR;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
}

// Compares a decoded PNG with a pixel map; returns "" when they agree, else the first difference.
std::string Difference(const sf::Image& image, const pictures::PixelMap& map) {
  const sf::Vector2u size = image.getSize();
  if (static_cast<int>(size.x) != map.width || static_cast<int>(size.y) != map.height) {
    return "size " + std::to_string(size.x) + "x" + std::to_string(size.y) + ", source " +
           std::to_string(map.width) + "x" + std::to_string(map.height);
  }
  for (int y = 0; y < map.height; ++y) {
    for (int x = 0; x < map.width; ++x) {
      const sf::Color c = image.getPixel(x, y);
      const unsigned char* want = &map.rgb[(static_cast<std::size_t>(y) * map.width + x) * 3];
      if (c.r != want[0] || c.g != want[1] || c.b != want[2] || c.a != 255) {
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") differs";
      }
    }
  }
  return "";
}

// Runs the tool with the given arguments; returns its exit status and fills `messages` with
// what it printed on standard error.
int RunTool(const std::string& arguments, std::string& messages) {
  const fs::path log = kWorkDir / "tool.log";
  const std::string command =
      std::string("'") + TESSARY_PICTURES_TOOL + "' " + arguments + " 2> '" + log.string() + "'";
  const int status = std::system(command.c_str());
  messages = ReadFile(log);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class PicturesTool : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(kWorkDir);
    fs::create_directories(kWorkDir);
  }
  std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }
};

}  // namespace

TEST(CommittedPictures, EveryPngMatchesItsSourcePixelForPixel) {
  std::vector<fs::path> sources;
  for (const auto& entry : fs::directory_iterator(kSourceDir / "assets" / "pictures")) {
    if (entry.path().extension() == ".txt") sources.push_back(entry.path());
  }
  ASSERT_FALSE(sources.empty());
  for (const fs::path& source : sources) {
    SCOPED_TRACE(source.string());
    pictures::PixelMap map;
    std::string error;
    ASSERT_TRUE(pictures::LoadPixelMap(source.string(), map, error)) << error;
    const fs::path png = kSourceDir / "data" / (source.stem().string() + ".png");
    sf::Image image;
    ASSERT_TRUE(image.loadFromFile(png.string())) << png << " is missing or unreadable";
    EXPECT_EQ(Difference(image, map), "") << png << " is stale: run make pictures";
  }
}

TEST(CommittedPictures, EveryPngHasASource) {
  for (const auto& entry : fs::directory_iterator(kSourceDir / "data")) {
    if (entry.path().extension() != ".png") continue;
    const fs::path source =
        kSourceDir / "assets" / "pictures" / (entry.path().stem().string() + ".txt");
    EXPECT_TRUE(fs::exists(source)) << entry.path() << " has no source " << source;
  }
}

TEST(PixelMapParse, ReadsLegendCommentsBlackAndLineEndings) {
  pictures::PixelMap map;
  std::string error;
  ASSERT_TRUE(pictures::ParsePixelMap(
      "// a comment\r\nR = #ff0000\ng = #00Fa80\n---\nR.g\r\n g.\n\n\n", map, error))
      << error;
  ASSERT_EQ(map.width, 3);
  ASSERT_EQ(map.height, 2);
  const std::vector<unsigned char> expected = {255, 0, 0, 0, 0,   0,   0, 250, 128,
                                               0,   0, 0, 0, 250, 128, 0, 0,   0};
  EXPECT_EQ(map.rgb, expected);

  ASSERT_TRUE(pictures::ParsePixelMap("\n. \n", map, error)) << error;
  EXPECT_EQ(map.width, 2);  // an empty legend is allowed; black needs no entry
  EXPECT_EQ(map.rgb, std::vector<unsigned char>(6, 0));
}

TEST(PixelMapParse, RejectsMalformedMapsNamingTheLineAndReason) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"R = #ff0000\n---\nRX\n", "line 3: unknown character 'X' in column 2"},
      {"R = #ff0000\n---\nRR\nR\n", "line 4: row is 1 pixels wide, the first row is 2"},
      {"R = #ff0000\n---\nRR\n\nRR\n", "line 4: row is 0 pixels wide"},
      {"R=#ff0000\n---\nR\n", "line 1: bad legend line \"R=#ff0000\""},
      {"R = #ff0000\nRR\n", "line 2: bad legend line"},
      {"R = #ff00zz\n---\nR\n", "line 1: bad colour \"#ff00zz\""},
      {"R = #ff0000\nR = #00ff00\n---\nR\n", "line 2: legend key 'R' is defined twice"},
      {". = #ffffff\n---\n.\n", "line 1: legend key '.' cannot be used"},
      {"R = #ff0000\n", "the legend is not closed"},
      {"R = #ff0000\n---\n\n", "no rows after the legend"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    pictures::PixelMap map;
    map.width = 7;
    std::string error;
    EXPECT_FALSE(pictures::ParsePixelMap(c.text, map, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(map.width, 7);  // left as it was
  }
}

TEST_F(PicturesTool, WritesTheSameDecodablePngOnEveryRun) {
  const fs::path source = kWorkDir / "ok.txt";
  WriteFile(source, "R = #ff0000\nb = #0000ff\n---\nR.b.\n.bR.\nbbbb\n");
  std::string messages;
  ASSERT_EQ(RunTool(Quoted(source) + " " + Quoted(kWorkDir / "a.png"), messages), 0) << messages;
  ASSERT_EQ(RunTool(Quoted(source) + " " + Quoted(kWorkDir / "b.png"), messages), 0) << messages;

  pictures::PixelMap map;
  std::string error;
  ASSERT_TRUE(pictures::LoadPixelMap(source.string(), map, error)) << error;
  sf::Image image;
  ASSERT_TRUE(image.loadFromFile((kWorkDir / "a.png").string()));
  EXPECT_EQ(Difference(image, map), "");
  EXPECT_EQ(ReadFile(kWorkDir / "a.png"), ReadFile(kWorkDir / "b.png"));
  EXPECT_FALSE(fs::exists(kWorkDir / "a.png.tmp"));
}

TEST_F(PicturesTool, RejectsBadMapsAndWritesNothing) {
  const fs::path good = kWorkDir / "good.txt";
  WriteFile(good, "R = #ff0000\n---\nRR\n");
  const fs::path existing = kWorkDir / "existing.png";
  WriteFile(existing, "previous contents");

  const std::pair<const char*, const char*> bad_maps[] = {
      {"R = #ff0000\n---\nR?\n", "unknown character '?'"},
      {"R = #ff0000\n---\nRRR\nRR\n", "row is 2 pixels wide"},
      {"R = red\n---\nR\n", "bad legend line"},
  };
  for (const auto& [text, message] : bad_maps) {
    SCOPED_TRACE(text);
    const fs::path bad = kWorkDir / "bad.txt";
    WriteFile(bad, text);
    std::string messages;
    // The good map comes first: it must not be written either.
    const std::string arguments = Quoted(good) + " " + Quoted(kWorkDir / "good.png") + " " +
                                  Quoted(bad) + " " + Quoted(existing);
    EXPECT_EQ(RunTool(arguments, messages), 1);
    EXPECT_NE(messages.find(bad.string() + ": line"), std::string::npos) << messages;
    EXPECT_NE(messages.find(message), std::string::npos) << messages;
    EXPECT_FALSE(fs::exists(kWorkDir / "good.png"));
    EXPECT_EQ(ReadFile(existing), "previous contents");
  }

  std::string messages;
  EXPECT_EQ(RunTool(Quoted(kWorkDir / "missing.txt") + " " + Quoted(kWorkDir / "m.png"), messages),
            1);
  EXPECT_NE(messages.find("cannot open"), std::string::npos) << messages;
  EXPECT_FALSE(fs::exists(kWorkDir / "m.png"));
}
