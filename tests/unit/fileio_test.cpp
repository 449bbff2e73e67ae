// Whole files in and out: a replaced file keeps its mode and its links, a failed replace leaves
// the old file and nothing beside it, and a read says why it failed.
#include "fileio.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "scratch.h"

namespace fs = std::filesystem;

namespace {

// A folder of this test alone, emptied when it ends.
struct ScratchDir {
  fs::path path;
  ScratchDir() {
    static int count = 0;
    path = fs::path(testing::TempDir()) /
           ("tessary_fileio_" + std::to_string(::getpid()) + "_" + std::to_string(count++));
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
  }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
  // The names in the folder.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(path))
      names.insert(entry.path().filename().string());
    return names;
  }
};

void write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

unsigned mode_of(const std::string& path) {
  struct stat status;
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

}  // namespace

// The new bytes land in the file itself, with its mode; a new file is made; nothing else is
// left in the folder.
TEST(FileIo, ReplaceKeepsTheFilesModeAndLeavesNothingBeside) {
  ScratchDir dir;
  const std::string file = dir / "camera.txt";
  write(file, "old\n");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  std::string error;
  ASSERT_TRUE(fileio::replace_file(file, std::string("new\r\n\0bytes", 12), error)) << error;
  EXPECT_EQ(read_text(file), std::string("new\r\n\0bytes", 12));
  EXPECT_EQ(mode_of(file), 0640u);
  ASSERT_TRUE(fileio::replace_file(dir / "fresh.track", "x", error)) << error;
  EXPECT_EQ(read_text(dir / "fresh.track"), "x");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"camera.txt", "fresh.track"}));
}

// A symbolic link stays a link and the file it names gets the bytes, through a chain of
// relative links too; a dangling link makes the file it names.
TEST(FileIo, ReplaceWritesThroughSymbolicLinks) {
  ScratchDir dir;
  fs::create_directories(dir.path / "real");
  write(dir / "real/camera.txt", "old\n");
  ASSERT_EQ(::chmod((dir / "real/camera.txt").c_str(), 0604), 0);
  fs::create_symlink("real/camera.txt", dir.path / "middle.txt");
  fs::create_symlink("middle.txt", dir.path / "camera.txt");
  std::string error;
  ASSERT_TRUE(fileio::replace_file(dir / "camera.txt", "new\n", error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir.path / "camera.txt"));
  EXPECT_TRUE(fs::is_symlink(dir.path / "middle.txt"));
  EXPECT_EQ(read_text(dir / "real/camera.txt"), "new\n");
  EXPECT_EQ(mode_of(dir / "real/camera.txt"), 0604u);
  EXPECT_EQ(fileio::final_target(dir / "camera.txt"), dir / "real/camera.txt");

  fs::create_symlink("real/later.txt", dir.path / "later.txt");
  ASSERT_TRUE(fileio::replace_file(dir / "later.txt", "made", error)) << error;
  EXPECT_TRUE(fs::is_symlink(dir.path / "later.txt"));
  EXPECT_EQ(read_text(dir / "real/later.txt"), "made");
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"camera.txt", "middle.txt", "real", "later.txt"}));
}

// A file marked read-only is refused (even for root), a missing folder and a folder in the
// file's place say the system's cause; the old contents stay and no new file is left.
TEST(FileIo, FailedReplaceKeepsTheOldFileAndSaysWhy) {
  ScratchDir dir;
  const std::string locked = dir / "locked.txt";
  write(locked, "keep\n");
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
  std::string error;
  EXPECT_FALSE(fileio::replace_file(locked, "lost\n", error));
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(read_text(locked), "keep\n");

  EXPECT_FALSE(fileio::replace_file(dir / "no/such/camera.txt", "x", error));
  EXPECT_EQ(error, "No such file or directory");

  fs::create_directories(dir.path / "folder/inside");
  EXPECT_FALSE(fileio::replace_file(dir / "folder", "x", error));
  EXPECT_EQ(error, "Is a directory");
  EXPECT_TRUE(fs::is_directory(dir.path / "folder/inside"));

  // A link to a file in a missing folder names where it tried to write.
  fs::create_symlink("gone/target.txt", dir.path / "dangling.txt");
  EXPECT_FALSE(fileio::replace_file(dir / "dangling.txt", "x", error));
  EXPECT_NE(error.find("No such file or directory (writing "), std::string::npos) << error;
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"locked.txt", "folder", "dangling.txt"}));
}

// Every byte comes back; a missing file or a folder says why in the system's words.
TEST(FileIo, ReadFileGivesEveryByteOrTheCause) {
  ScratchDir dir;
  const std::string bytes("a\r\nb\0c", 6);
  write(dir / "f", bytes);
  std::string text, error;
  ASSERT_TRUE(fileio::read_file(dir / "f", text, error)) << error;
  EXPECT_EQ(text, bytes);
  EXPECT_FALSE(fileio::read_file(dir / "missing", text, error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_TRUE(text.empty());
  EXPECT_FALSE(fileio::read_file(dir.path.string(), text, error));
  EXPECT_EQ(error, "Is a directory");
}
