#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "demo/demo.h"
#include "effect/flash.h"
#include "effect/humppa.h"
#include "gl_context.h"
#include "part_fixture.h"

namespace {

const float spb = show_seconds_per_beat;

}  // namespace

// Each part plays from its first beat to its last; before the show there is none, after it the
// tail.
TEST(Timeline, PartNameAtEachPartsBeats) {
  int beat = 0;
  for (const ShowPart& part : show_parts) {
    EXPECT_STREQ(part_name_at(beat), part.name);
    beat += part.length;
    EXPECT_STREQ(part_name_at(beat - 1), part.name);
  }
  EXPECT_EQ(beat, 372);
  EXPECT_STREQ(part_name_at(beat), "tail");
  EXPECT_STREQ(part_name_at(-1), "");
}

// The whole show: every node inside the part that made it, the flash last over the whole show
// with its beats in order (one out of order would block the rest) and one on the plasma's
// pillar beat, and each camera track in time order from part to part.
TEST(Timeline, InitDemoLaysThePartsEndToEnd) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::Camera camera;
  Enabler* head = init_demo(camera, spb);
  const std::vector<Enabler*> nodes = list_nodes(head);
  ASSERT_FALSE(nodes.empty());
  const Enabler* last = nodes.back();
  ASSERT_STREQ(last->effect->Name(), "Flash");
  EXPECT_EQ(last->start, 0);
  EXPECT_EQ(last->end, show_flash_end);
  int plasma_start = -1;
  for (const Enabler* node : nodes) {
    if (node == last) break;
    EXPECT_LT(node->start, node->end);
    EXPECT_STREQ(part_name_at(node->start), part_name_at(node->end - 1));
    if (dynamic_cast<effect::Humppa*>(node->effect)) plasma_start = node->start;
  }
  const std::vector<int>& beats = static_cast<effect::Flash*>(last->effect)->beats;
  for (size_t i = 1; i < beats.size(); ++i) EXPECT_LT(beats[i - 1], beats[i]);
  EXPECT_LT(beats.back(), show_flash_end);
  EXPECT_EQ(std::count(beats.begin(), beats.end(), plasma_start + plasma_pillar_beat), 1);
  for (size_t i = 1; i < camera.places.size(); ++i) {
    EXPECT_GE(camera.places[i].start_time, camera.places[i - 1].start_time) << i;
  }
  for (size_t i = 1; i < camera.rotations.size(); ++i) {
    EXPECT_GE(camera.rotations[i].start_time, camera.rotations[i - 1].start_time) << i;
  }
  enabler_cleanup(head);
}
