// The part builders' vocabulary: moments in beats, node ranges, camera key tables and the three
// forms of block image.
#include "demo/script.h"

#include <gtest/gtest.h>

#include <SFML/Graphics/Image.hpp>
#include <memory>

#include "effect/flash.h"
#include "gl_context.h"
#include "part_fixture.h"

using namespace script;

// Times are formed in double from the single-precision beat and stored as float; nodes take
// the part's beats unless told otherwise; keys go to their track in table order.
TEST(PartScript, TimesNodesAndKeys) {
  effect::Camera camera;
  const double spb = show_seconds_per_beat;
  PartScript part(nullptr, camera, show_seconds_per_beat, 64.28571f, 150, 224);
  EXPECT_EQ(part.at({3, 0.1f}), static_cast<float>(64.28571f + 3 * spb + double(0.1f)));
  EXPECT_EQ(part.seconds({21, -0.1f}), static_cast<float>(21 * spb - double(0.1f)));

  part.add(new effect::Flash());
  part.add(new effect::Flash(), 12);
  part.add(new effect::Flash(), 26, 42);
  const int ranges[3][2] = {{150, 224}, {162, 224}, {176, 192}};
  const std::vector<Enabler*> nodes = list_nodes(part.list);
  ASSERT_EQ(nodes.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(nodes[i]->start, ranges[i][0]);
    EXPECT_EQ(nodes[i]->end, ranges[i][1]);
  }
  enabler_cleanup(part.list);

  const CameraKey keys[] = {{TURN, C::CUT, {0}, {0}, {1, 2, 3}},
                            {PLACE, C::LINEAR, {2, 0.5f}, {4}, {4, 5, 6}},
                            {TURN, C::LINEAR, {6}, {1, -0.5f}, {7, 8, 9}}};
  part.add_keys(keys);
  ASSERT_EQ(camera.places.size(), 1u);
  ASSERT_EQ(camera.rotations.size(), 2u);
  EXPECT_EQ(camera.places[0].transition, C::LINEAR);
  EXPECT_EQ(camera.places[0].start_time, part.at({2, 0.5f}));
  EXPECT_EQ(camera.places[0].duration, part.seconds({4}));
  expect_vec(camera.places[0].target, 4, 5, 6);
  EXPECT_EQ(camera.rotations[0].start_time, 64.28571f);
  EXPECT_EQ(camera.rotations[1].duration, part.seconds({1, -0.5f}));
  expect_vec(camera.rotations[1].target, 7, 8, 9);
}

// Every form: blocks up to size 2 in the picture's colours. A still picture stands whole; a
// scrolling one travels from show to hide; a flipping one shows its second picture first and
// the other after each beat.
TEST(ScriptPictures, StillScrollingAndFlipping) {
  ASSERT_NE(test_gl_context(), nullptr);
  sf::Image one, two;
  one.create(1, 1, sf::Color::White);
  two.create(2, 1, sf::Color::White);
  EXPECT_EQ(load_picture("data/no_such_picture.png").getSize().x, 0u);

  std::unique_ptr<BI> still(still_picture(two, BI::DISPLAY_RELIEF, V(1, 2, 3)));
  std::unique_ptr<BI> scroll(
      scrolling_picture(one, BI::DISPLAY_FLAT, V(50, -30, -10), V(-50, -30, -10), -25.0f, 1, 20));
  std::unique_ptr<BI> flip(flipping_picture(one, two, show_seconds_per_beat, V(4, 5, 6)));
  for (BI* image : {still.get(), scroll.get(), flip.get()}) {
    EXPECT_EQ(image->max_size, 2.0f);
    EXPECT_TRUE(image->color_enabled);
  }
  ASSERT_EQ(still->images.size(), 1u);
  expect_vec(still->images[0].show_position, 1, 2, 3);
  for (const BI::Block& block : still->images[0].blocks) EXPECT_EQ(block.state, BI::BLOCK_SHOWN);

  EXPECT_EQ(scroll->images[0].distance, 100.0f);
  EXPECT_EQ(scroll->images[0].speed, -25.0f);
  EXPECT_EQ(scroll->images[0].blocks[0].grow_rate, 20.0f);

  ASSERT_EQ(flip->images.size(), 2u);
  EXPECT_EQ(flip->images[1].blocks.size(), 2u);  // `two`, loaded second
  expect_vec(flip->images[0].show_position, 4, 5, 6);
  expect_vec(flip->images[1].show_position, 4, 5, 6);
  const float times[4] = {0.0f, show_seconds_per_beat, 0.44f, 0.88f};
  const unsigned int shown[4] = {1, 1, 0, 1};
  for (int k = 0; k < 4; ++k) {
    flip->UpdateLogic(times[k], k, true);
    EXPECT_EQ(flip->active, shown[k]) << "at " << times[k];
  }
}
