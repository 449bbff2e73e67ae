#include "filewatch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace fs = std::filesystem;

// A change of time or of size, a file that appears and one that disappears are each told once,
// on the poll after the one that saw it (the file has then stood still), and only for the path
// concerned.
TEST(FileWatcher, TellsEachChangeOnceOnTheNextPoll) {
  const fs::path dir =
      fs::path(testing::TempDir()) / ("tessary_watch_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string a = (dir / "a").string(), b = (dir / "b").string(), c = (dir / "c").string();
  std::ofstream(a) << "one";
  std::ofstream(b) << "two";
  FileWatcher watcher({a, b, c});
  EXPECT_TRUE(watcher.Poll().empty());

  fs::last_write_time(a, fs::last_write_time(a) + std::chrono::seconds(1));
  EXPECT_TRUE(watcher.Poll().empty());
  EXPECT_EQ(watcher.Poll(), std::vector<std::string>{a});
  EXPECT_TRUE(watcher.Poll().empty());

  const fs::file_time_type same = fs::last_write_time(b);
  std::ofstream(b) << "three";
  fs::last_write_time(b, same);  // rewritten within the clock's grain: the size tells
  fs::remove(a);
  std::ofstream(c) << "new";
  EXPECT_TRUE(watcher.Poll().empty());
  EXPECT_EQ(watcher.Poll(), (std::vector<std::string>{a, b, c}));
  EXPECT_TRUE(watcher.Poll().empty());
  fs::remove_all(dir);
}

// A file that grows from poll to poll (an editor writing it) is told only once it stands
// still; one whose change is taken as seen (the program's own write) is not told at all.
TEST(FileWatcher, WaitsForAFileToStandStillAndSkipsAcceptedWrites) {
  const fs::path dir =
      fs::path(testing::TempDir()) / ("tessary_settle_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string a = (dir / "a").string(), b = (dir / "b").string();
  std::ofstream(a) << "-1";
  std::ofstream(b) << "b";
  FileWatcher watcher({a, b});
  for (const char* more : {"9", "0", "\n"}) {
    std::ofstream(a, std::ios::app) << more;
    EXPECT_TRUE(watcher.Poll().empty()) << more;
  }
  EXPECT_EQ(watcher.Poll(), std::vector<std::string>{a});

  std::ofstream(b) << "written by us";
  watcher.Accept(b);
  EXPECT_TRUE(watcher.Poll().empty());
  EXPECT_TRUE(watcher.Poll().empty());
  fs::remove_all(dir);
}
