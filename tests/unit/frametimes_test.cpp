#include "demo/frametimes.h"

#include <gtest/gtest.h>

TEST(FrameTimes, StatsOfUnsortedTimes) {
  std::vector<double> ms;
  for (int i = 200; i >= 1; --i) ms.push_back(i);  // 1 .. 200, unsorted
  const TimeStats s = time_stats(ms);
  EXPECT_DOUBLE_EQ(s.mean, 100.5);
  EXPECT_DOUBLE_EQ(s.median, 100.5);
  EXPECT_DOUBLE_EQ(s.p99, 198.0);  // nearest rank: the 198th of 200
  EXPECT_DOUBLE_EQ(s.max, 200.0);
}

// Frames group by part in the order recorded, a part that comes back gets a group of its own,
// and "all" holds every frame; the split is kept only when every frame has one.
TEST(FrameTimes, GroupsConsecutiveFramesByPart) {
  FrameTimes split(2);  // past the reserve too
  split.Add("title", 1.0, 2.0);
  split.Add("title", 2.0, 2.0);
  split.Add("lines", 5.0, 1.0);
  split.Add("title", 1.0, 0.0);
  const std::vector<PartTimes> parts = split.Parts();
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[0].part, "title");
  EXPECT_EQ(parts[0].frame, (std::vector<double>{3.0, 4.0}));
  EXPECT_EQ(parts[1].part, "lines");
  EXPECT_EQ(parts[1].finish, (std::vector<double>{1.0}));
  EXPECT_EQ(parts[2].part, "title");
  EXPECT_EQ(parts[3].part, "all");
  EXPECT_EQ(parts[3].step, (std::vector<double>{1.0, 2.0, 5.0, 1.0}));

  FrameTimes mixed;
  mixed.Add("title", 1.0, 2.0);
  mixed.Add("title", 4.0);
  const std::vector<PartTimes> whole = mixed.Parts();
  EXPECT_EQ(whole[0].frame, (std::vector<double>{3.0, 4.0}));
  EXPECT_TRUE(whole[0].step.empty() && whole[1].finish.empty());
}
