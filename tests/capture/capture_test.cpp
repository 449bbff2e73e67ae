// The offline renderer in-process: stills identical to the full loop, and the
// golden frames of tests/golden/. Its command line is tested end to end by cli_test.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo/moments.h"
#include "gl/framegrab.h"
#include "showrenderer.h"
#include "step_of.h"
#include "tunables.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

namespace {

using Picture = std::vector<unsigned char>;

// Renders `frames` (ascending) of the show, or of one effect alone: jumping from one to the next
// as the capture does, or drawing every frame in full as the player does.
std::vector<Picture> render_frames(const std::string& effect, int width, int height,
                                   const std::vector<int>& frames, bool every_frame,
                                   const DrawSettings& settings = DrawSettings()) {
  std::vector<Picture> pictures;
  ShowRenderer renderer;
  std::string error;
  if (!renderer.Create(width, height, effect, error, settings)) {
    ADD_FAILURE() << error;
    return pictures;
  }
  for (int frame : frames) {
    if (!every_frame) renderer.StepTo(frame);
    while (every_frame && renderer.NextStep() <= frame) renderer.DrawNext();
    pictures.emplace_back();
    renderer.ReadRgb(pictures.back());
  }
  return pictures;
}

}  // namespace

// Stills captured by jumping there equal those of the full loop: the show's first seconds (the
// full loop costs what the player's does), and the flash alone over the whole show, for the
// clear colour a frame carries into the next, even once the flash's node has ended (beat 385).
TEST(ShowRenderer, StillsEqualTheFullLoop) {
  const std::pair<const char*, std::vector<int>> cases[] = {
      {"", {step_of("1"), step_of("1") + 1, step_of("4b"), step_of("2.5")}},
      {"Flash", {0, step_of("8b") + 1, step_of("100"), step_of("390b")}},
  };
  for (const auto& [effect, frames] : cases) {
    const std::vector<Picture> jumped = render_frames(effect, 16, 12, frames, false);
    const std::vector<Picture> full = render_frames(effect, 16, 12, frames, true);
    ASSERT_EQ(full.size(), frames.size());
    EXPECT_TRUE(jumped == full) << effect;
    EXPECT_NE(std::count(full.back().begin(), full.back().end(), 0), 16 * 12 * 3) << effect;
  }
}

// Every line of tests/golden/frames.list against its picture (see tests/golden/README.md), by
// mean absolute difference per channel value.
TEST(Golden, FramesMatchTheirPictures) {
  constexpr int width = 256, height = 192;
  std::ifstream list("tests/golden/frames.list");
  std::vector<std::pair<int, std::string>> goldens;
  std::string word, moment;
  while (list >> word) {
    if (word[0] == '#')
      std::getline(list, word);
    else if (list >> moment)
      goldens.emplace_back(step_of(moment), word);
  }
  ASSERT_FALSE(goldens.empty()) << "no tests/golden/frames.list";
  std::sort(goldens.begin(), goldens.end());
  ShowRenderer renderer;
  std::string error;
  ASSERT_TRUE(renderer.Create(width, height, "", error)) << error;
  for (const auto& [frame, name] : goldens) {
    renderer.StepTo(frame);
    Picture actual;
    renderer.ReadRgb(actual);
    const std::string path = "tests/golden/" + name + ".png";
    int w = 0, h = 0, channels = 0;
    unsigned char* expected = stbi_load(path.c_str(), &w, &h, &channels, 3);
    double difference = 255.0;
    if (expected != nullptr && w == width && h == height) {
      difference = 0.0;
      for (size_t i = 0; i < actual.size(); ++i) difference += std::abs(actual[i] - expected[i]);
      difference /= static_cast<double>(actual.size());
    }
    stbi_image_free(expected);
    if (difference > 2.0) {
      std::filesystem::create_directories(GOLDEN_ACTUAL_DIR);
      const std::string actual_path = std::string(GOLDEN_ACTUAL_DIR) + "/" + name + ".png";
      gl::write_png(actual_path, width, height, actual, error);
      ADD_FAILURE() << name << " (frame " << frame << "): mean difference " << difference
                    << " > 2 against " << path << "; this run's picture is " << actual_path
                    << ". If the change is intended, run `make golden`.";
    }
  }
}

// The plasma block alone runs without the toon program, so its face shows the plasma: many
// shades of blue (the toon program would give a few flat bands) and no red or green.
TEST(ShowRenderer, PlasmaBlockShowsItsTexture) {
  const Picture picture = render_frames("PlasmaBlock", 64, 48, {step_of("5")}, false).at(0);
  std::vector<bool> blues(256, false);
  int red_green = 0;
  for (int y = 16; y < 32; ++y) {
    for (int x = 24; x < 40; ++x) {
      const unsigned char* p = &picture[(y * 64 + x) * 3];
      blues[p[2]] = true;
      red_green = std::max<int>({red_green, p[0], p[1]});
    }
  }
  EXPECT_EQ(red_green, 0);
  EXPECT_GT(std::count(blues.begin(), blues.end(), true), 20);
}
