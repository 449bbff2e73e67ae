#ifndef TESSARY_TESTS_PART_FIXTURE_H
#define TESSARY_TESTS_PART_FIXTURE_H

#include <gtest/gtest.h>

#include <SFML/Graphics/Image.hpp>
#include <vector>

#include "demo/demo.h"
#include "effect/blockimage.h"
#include "keyframes.h"

// Seconds per beat at the show's 140 BPM, in single precision as the show keeps it.
const float test_spb = 60.0f / 140.0f;

// One part built on its own as init_demo places it: beats first to last, its clock starting
// at first x spb. Owns the nodes; needs the test GL context.
struct BuiltPart {
  effect::Camera camera;
  float spb = test_spb;
  float start_time = 0.0f;
  Enabler* list = nullptr;
  std::vector<Enabler*> nodes;
  BuiltPart(part_builder_t build, int first, int last)
      : start_time(static_cast<float>(first * static_cast<double>(test_spb))) {
    list = build(nullptr, camera, spb, start_time, first, last);
    nodes = list_nodes(list);
  }
  ~BuiltPart() { enabler_cleanup(list); }
  effect::BlockImage* image(int n) { return static_cast<effect::BlockImage*>(nodes[n]->effect); }
};

// The blocks' x, y positions of a set: tells which picture it holds.
inline std::vector<float> block_positions(const effect::BlockImage::BlockSet& set) {
  std::vector<float> xy;
  for (const effect::BlockImage::Block& block : set.blocks) {
    xy.push_back(block.position.x);
    xy.push_back(block.position.y);
  }
  return xy;
}

// block_positions of a picture file loaded on its own with default settings.
inline std::vector<float> picture_positions(const char* path) {
  sf::Image image;
  EXPECT_TRUE(image.loadFromFile(path)) << path;
  effect::BlockImage loaded;
  loaded.LoadImage(image, 1.0f);
  return block_positions(loaded.images[0]);
}

// A two-frame picture: sets `first` and `second` loaded in that order, showing `second` from
// the first update and switching on the first update strictly more than one beat later.
inline void expect_two_frames(effect::BlockImage* image, const char* first, const char* second) {
  ASSERT_EQ(image->images.size(), 2u);
  EXPECT_EQ(block_positions(image->images[0]), picture_positions(first));
  EXPECT_EQ(block_positions(image->images[1]), picture_positions(second));
  const float times[4] = {0.0f, test_spb, 0.44f, 0.88f};
  const unsigned int shown[4] = {1, 1, 0, 1};
  for (int k = 0; k < 4; ++k) {
    image->UpdateLogic(times[k], k, true);
    EXPECT_EQ(image->active, shown[k]) << "at " << times[k];
  }
}

#endif
