// The offline renderer in-process: moments to frames, stills identical to the full loop, and the
// golden frames of tests/golden/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench.h"
#include "moments.h"
#include "outputs.h"
#include "showrenderer.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

namespace {

using Picture = std::vector<unsigned char>;

// Renders `frames` (ascending) of the show, or of one effect alone: jumping from one to the next
// as the capture does, or drawing every frame in full as the player does.
std::vector<Picture> render(const std::string& effect, int width, int height,
                            const std::vector<int>& frames, bool every_frame) {
  std::vector<Picture> pictures;
  ShowRenderer renderer;
  std::string error;
  if (!renderer.Create(width, height, effect, error)) {
    ADD_FAILURE() << error;
    return pictures;
  }
  for (int frame : frames) {
    if (every_frame) {
      while (renderer.next_frame <= frame) renderer.Step(FrameUse::keep);
    } else {
      renderer.StepTo(frame);
    }
    pictures.emplace_back();
    renderer.ReadRgb(pictures.back());
  }
  return pictures;
}

int frame_of(const ShowFrames& show, const std::string& moment) {
  int frame = -1;
  std::string error;
  EXPECT_TRUE(show.Parse(moment, frame, error)) << moment << ": " << error;
  return frame;
}

// Mean absolute difference of two pictures, per channel value (0 to 255).
double mean_difference(const Picture& a, const Picture& b) {
  if (a.size() != b.size() || a.empty()) return 255.0;
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
  return sum / static_cast<double>(a.size());
}

}  // namespace

TEST(ShowFrames, MomentsBecomeFramesOfTheShow) {
  const ShowFrames show;
  ASSERT_EQ(show.first_frame_of_beat.size(), 391u);  // beats 0 to 390
  EXPECT_EQ(show.first_frame_of_beat[0], 0);
  EXPECT_EQ(show.end_frame - 1, show.first_frame_of_beat[390]);  // the player's last frame
  EXPECT_NEAR(show.EndSeconds(), 390 * 60.0 / 140, 1.0 / 60);

  EXPECT_EQ(frame_of(show, "0"), 0);
  EXPECT_EQ(frame_of(show, "12.5"), 1500);
  EXPECT_EQ(frame_of(show, "0.001"), 1);  // the first frame at or after the moment
  EXPECT_EQ(frame_of(show, "0b"), 0);
  EXPECT_EQ(frame_of(show, "390b"), show.end_frame - 1);
  const int beat224 = frame_of(show, "224b");
  EXPECT_NEAR(frame_time(beat224), 96.0, 1.0 / 120);  // the image part begins at 96.0 s
  EXPECT_EQ(frame_of(show, "224b"), show.first_frame_of_beat[224]);

  for (const char* bad : {"", "abc", "-1", "+1", " 1", "1e999", "nan", "inf", "12.5b", "b", "-3b",
                          "391b", "167.2", "12s"}) {
    int frame = 0;
    std::string error;
    EXPECT_FALSE(show.Parse(bad, frame, error)) << "'" << bad << "' was taken";
    EXPECT_FALSE(error.empty());
  }
}

// The show's first seconds (drawing every frame costs as much as the player's loop): stills
// captured by jumping there, by drawing every frame, and in a run of their own are the same.
TEST(ShowRenderer, StillsEqualTheFullLoop) {
  const ShowFrames show;
  const std::vector<int> frames = {frame_of(show, "1"), frame_of(show, "1") + 1,
                                   frame_of(show, "4b"), frame_of(show, "2.5")};
  const std::vector<Picture> jumped = render("", 64, 48, frames, false);
  const std::vector<Picture> full = render("", 64, 48, frames, true);
  const std::vector<Picture> alone = render("", 64, 48, {frames.back()}, false);
  ASSERT_EQ(jumped.size(), frames.size());
  ASSERT_EQ(full.size(), frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_TRUE(jumped[i] == full[i]) << "frame " << frames[i];
  }
  ASSERT_EQ(alone.size(), 1u);
  EXPECT_TRUE(alone[0] == jumped.back()) << "one run and two runs differ";
  // Not a blank screen that any renderer would match.
  EXPECT_NE(std::count(full.back().begin(), full.back().end(), 0), 64 * 48 * 3);
}

// The flash alone over the whole show (cheap to draw in full), for the GL state that frames
// carry into the next: the frame after a flash beat is white, and after the flash's node has
// ended the clear colour its last Draw left still colours every frame.
TEST(ShowRenderer, StateLeftByAnEndedEffectCarriesOver) {
  const ShowFrames show;
  // From 100 s the capture jumps past the flash node's end (beat 385) straight to the last frame.
  const std::vector<int> frames = {0, frame_of(show, "8b") + 1, frame_of(show, "100"),
                                   frame_of(show, "390b")};
  const std::vector<Picture> jumped = render("Flash", 16, 12, frames, false);
  const std::vector<Picture> full = render("Flash", 16, 12, frames, true);
  ASSERT_EQ(jumped.size(), frames.size());
  ASSERT_EQ(full.size(), frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    EXPECT_TRUE(jumped[i] == full[i]) << "frame " << frames[i];
  }
  EXPECT_EQ(full[1][0], 255);  // the frame after a flash beat is white
  // Flashes every 8 beats: the last, on beat 384, has faded by a fifth when its node ends.
  EXPECT_GT(full.back()[0], 150);
  EXPECT_LT(full.back()[0], 255);
}

TEST(Bench, TimeStats) {
  const TimeStats one = time_stats({4.0});
  EXPECT_DOUBLE_EQ(one.mean, 4.0);
  EXPECT_DOUBLE_EQ(one.median, 4.0);
  EXPECT_DOUBLE_EQ(one.p99, 4.0);
  std::vector<double> ms;
  for (int i = 200; i >= 1; --i) ms.push_back(i);  // 1 .. 200, unsorted
  const TimeStats s = time_stats(ms);
  EXPECT_DOUBLE_EQ(s.mean, 100.5);
  EXPECT_DOUBLE_EQ(s.median, 100.5);
  EXPECT_DOUBLE_EQ(s.p99, 198.0);  // nearest rank: the 198th of 200
  EXPECT_DOUBLE_EQ(s.max, 200.0);
}

// Every line of tests/golden/frames.list against its picture (see tests/golden/README.md).
TEST(Golden, FramesMatchTheirPictures) {
  constexpr int width = 256, height = 192;
  constexpr double tolerance = 2.0;  // mean absolute difference per channel value
  std::ifstream list("tests/golden/frames.list");
  ASSERT_TRUE(list.good()) << "no tests/golden/frames.list";
  const ShowFrames show;
  std::vector<std::pair<std::string, int>> goldens;
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    std::string name, moment;
    if (!(fields >> name) || name[0] == '#') continue;
    ASSERT_TRUE(static_cast<bool>(fields >> moment)) << "no moment in: " << line;
    goldens.emplace_back(name, frame_of(show, moment));
  }
  ASSERT_FALSE(goldens.empty());
  std::stable_sort(goldens.begin(), goldens.end(),
                   [](const auto& a, const auto& b) { return a.second < b.second; });

  ShowRenderer renderer;
  std::string error;
  ASSERT_TRUE(renderer.Create(width, height, "", error)) << error;
  for (const auto& [name, frame] : goldens) {
    renderer.StepTo(frame);
    Picture actual;
    renderer.ReadRgb(actual);
    const std::string path = "tests/golden/" + name + ".png";
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &w, &h, &channels, 3);
    Picture expected;
    if (pixels != nullptr && w == width && h == height) {
      expected.assign(pixels, pixels + static_cast<size_t>(w) * h * 3);
    }
    stbi_image_free(pixels);
    const double difference = mean_difference(actual, expected);
    if (difference > tolerance) {
      std::filesystem::create_directories(GOLDEN_ACTUAL_DIR);
      const std::string actual_path = std::string(GOLDEN_ACTUAL_DIR) + "/" + name + ".png";
      write_png(actual_path, width, height, actual, error);
      ADD_FAILURE() << name << " (frame " << frame << "): mean difference " << difference << " > "
                    << tolerance << " against " << path << "; this run's picture is " << actual_path
                    << ". If the change is intended, run `make golden`.";
    }
  }
}

// The plasma block runs without the toon program, so its face shows the plasma: many shades of
// blue (the toon program would give a few flat bands) and no red or green.
TEST(ShowRenderer, PlasmaBlockShowsItsTexture) {
  const ShowFrames show;
  const std::vector<Picture> pictures = render("PlasmaBlock", 64, 48, {frame_of(show, "5")}, false);
  ASSERT_EQ(pictures.size(), 1u);
  std::vector<bool> blues(256, false);
  int red_green = 0;
  for (int y = 16; y < 32; ++y) {
    for (int x = 24; x < 40; ++x) {
      const unsigned char* p = &pictures[0][(y * 64 + x) * 3];
      blues[p[2]] = true;
      red_green = std::max<int>(red_green, std::max(p[0], p[1]));
    }
  }
  EXPECT_EQ(red_green, 0);
  EXPECT_GT(std::count(blues.begin(), blues.end(), true), 20);
}
