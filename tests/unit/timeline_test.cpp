#include <gtest/gtest.h>

#include <vector>

#include "demo/demo.h"
#include "effect/flash.h"
#include "gl_context.h"
#include "helpers.h"

namespace {

// Counts its own destructions.
struct Counted : omni::Effect {
  explicit Counted(int* deaths) : deaths(deaths) {}
  ~Counted() override { ++*deaths; }
  const char* Name() override { return "Counted"; }
  int Draw() override { return 0; }
  void UpdateLogic(const float&, const int&, const bool&) override {}
  int* deaths;
};

const float spb = beat2seconds(140, 4);

int length(const Enabler* list) {
  int n = 0;
  for (; list != nullptr; list = list->next) ++n;
  return n;
}

}  // namespace

TEST(Timeline, AppendKeepsHeadOrderAndLinks) {
  int deaths = 0;
  Enabler* head = enabler_append(nullptr, new Counted(&deaths), 10, 10, spb);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->prev, nullptr);
  EXPECT_EQ(head->next, nullptr);
  Enabler* first = head;
  for (int i = 0; i < 4; ++i) {
    Enabler* tail = head;
    while (tail->next) tail = tail->next;
    EXPECT_EQ(enabler_append(head, new Counted(&deaths), 224 + i, 300, spb), first);
    EXPECT_EQ(tail->next->prev, tail);
  }
  EXPECT_EQ(length(head), 5);
  EXPECT_EQ(head->next->start, 224);
  EXPECT_EQ(head->next->start_time, 96.0f);
  EXPECT_EQ(head->next->next->start, 225);

  enabler_cleanup(head);
  EXPECT_EQ(deaths, 5);
  enabler_cleanup(nullptr);
}

TEST(Timeline, ShowPartsLayTheParts) {
  const int expected_start[] = {0, 50, 94, 150, 224, 266, 330};
  const float expected_time[] = {0.0f,  21.428572f, 40.285713f, 64.28571f,
                                 96.0f, 114.0f,     141.42857f};
  int beat = 0;
  for (int i = 0; i < show_part_count; ++i) {
    EXPECT_EQ(beat, expected_start[i]) << show_parts[i].name;
    EXPECT_FLOAT_EQ(static_cast<float>(static_cast<double>(beat) * spb), expected_time[i]);
    EXPECT_STREQ(part_name_at(beat), show_parts[i].name);
    beat += show_parts[i].length;
    EXPECT_STREQ(part_name_at(beat - 1), show_parts[i].name);
  }
  EXPECT_EQ(beat, 372);
  EXPECT_STREQ(part_name_at(372), "tail");
}

TEST(Timeline, InitDemoEndsWithTheFlashOverTheWholeShow) {
  ASSERT_NE(test_gl_context(), nullptr);
  effect::Camera camera;
  Enabler* head = init_demo(camera, spb);
  ASSERT_NE(head, nullptr);
  Enabler* last = head;
  while (last->next) last = last->next;
  EXPECT_STREQ(last->effect->Name(), "Flash");
  EXPECT_EQ(last->start, 0);
  EXPECT_EQ(last->end, 385);
  EXPECT_EQ(last->start_time, 0.0f);
  const auto* flash = static_cast<effect::Flash*>(last->effect);
  EXPECT_EQ(flash->beats, (std::vector<int>{50, 64, 80, 144, 160, 224, 236, 250, 266, 330, 372}));
  // Every other node lies inside the part that made it.
  for (Enabler* node = head; node != last; node = node->next) {
    EXPECT_LT(node->start, node->end);
    EXPECT_STREQ(part_name_at(node->start), part_name_at(node->end - 1));
  }
  enabler_cleanup(head);
}
