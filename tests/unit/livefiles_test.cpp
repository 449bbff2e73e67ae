// The files a maker edits while the show plays: what a reload keeps when it fails, and which
// changes on disk count as the maker's edits.
#include "player/livefiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <SFML/Graphics/Image.hpp>
#include <filesystem>
#include <fstream>

#include "demo/moments.h"
#include "demo/script.h"
#include "scratch.h"
#include "sync/cameratracks.h"

namespace fs = std::filesystem;

namespace {

// The player's working directory for one test: a scratch data root holding a copy of the
// show's camera file; the test's own directory comes back at its end.
class LiveFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    original_ = read_text(camera_file_path);
    picture_ = read_text("data/earth.png");
    home_ = fs::current_path();
    root_ = fs::path(testing::TempDir()) / ("tessary_live_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "data");
    std::ofstream(root_ / camera_file_path, std::ios::binary) << original_;
    fs::current_path(root_);
  }
  void TearDown() override {
    fs::current_path(home_);
    fs::remove_all(root_);
  }
  // Polls as the frame loop does, a poll interval apart, `count` times; what they reported.
  LiveFiles::Changes PollSome(LiveFiles& files, int count) {
    LiveFiles::Changes all;
    for (int i = 0; i < count; ++i) {
      clock_ += 1.0f;
      const LiveFiles::Changes changes = files.Poll(clock_);
      all.camera |= changes.camera;
      all.tracks |= changes.tracks;
      all.pictures |= changes.pictures;
      all.shaders |= changes.shaders;
    }
    return all;
  }

  std::string original_, picture_;
  fs::path home_, root_;
  float clock_ = 0.0f;
};

const CameraPose pose{omni::Vector3<float>(1, 2, 3), omni::Vector3<float>(4, 5, 0)};
// A step in the middle of the images' glide.
int images_step() {
  return step_at(part_start_time(4) + 20 * show_seconds_per_beat) + 38;
}

}  // namespace

// A maker adds three comment lines and a typo and saves: the reload fails, the running keys
// stay and the error stands; k then writes nothing (the lines are not lost), and once the typo
// is mended the reload takes the file.
TEST_F(LiveFilesTest, AFailedReloadKeepsTheRunningKeysAndKLosesNothing) {
  LiveFiles files;
  const size_t keys = files.Camera().keys.size();
  ASSERT_GT(keys, 0u);
  const std::string edited =
      "# one\n# two\n# three\n" + original_ + "images place linaer 0b 1b 0 0 0\n";
  std::ofstream(camera_file_path, std::ios::binary) << edited;
  ASSERT_TRUE(PollSome(files, 2).camera);
  std::string message;
  EXPECT_FALSE(files.ReloadCamera(message));
  EXPECT_NE(message.find("not reloaded"), std::string::npos) << message;
  EXPECT_EQ(files.Camera().keys.size(), keys);
  EXPECT_NE(files.Errors().find("linaer"), std::string::npos);

  EXPECT_FALSE(files.WriteShot(4, images_step(), pose, message));
  EXPECT_EQ(read_text(camera_file_path), edited);
  EXPECT_EQ(files.Camera().keys.size(), keys);

  std::ofstream(camera_file_path, std::ios::binary) << "# one\n" + original_;
  ASSERT_TRUE(PollSome(files, 2).camera);
  EXPECT_TRUE(files.ReloadCamera(message)) << message;
  EXPECT_EQ(files.Errors(), "");
}

// A file caught while an editor writes it is not reloaded until it has stood still over two
// polls: "-190" is never read as "-19".
TEST_F(LiveFilesTest, AFileIsReloadedOnlyOnceItStandsStill) {
  LiveFiles files;
  const std::string key = "images place cut 0b 0b 0 0 -190\n";
  std::ofstream(camera_file_path, std::ios::binary) << original_ + key.substr(0, key.size() - 2);
  EXPECT_FALSE(PollSome(files, 1).camera);
  std::ofstream(camera_file_path, std::ios::binary | std::ios::app) << key.substr(key.size() - 2);
  EXPECT_FALSE(PollSome(files, 1).camera);
  ASSERT_TRUE(PollSome(files, 1).camera);
  std::string message;
  ASSERT_TRUE(files.ReloadCamera(message)) << message;
  EXPECT_EQ(files.Camera().keys.back().key.target.z, -190.0f);
  EXPECT_FALSE(PollSome(files, 3).camera);
}

// k and the saving of the sync tracks are the player's own writes: no poll takes them for an
// edit to reload, while an edit of another file in the same moment still counts.
TEST_F(LiveFilesTest, ThePlayersOwnWritesAreNotEdits) {
  LiveFiles files;
  std::string message;
  ASSERT_TRUE(files.WriteShot(4, images_step(), pose, message)) << message;
  EXPECT_NE(read_text(camera_file_path), original_);
  EXPECT_FALSE(PollSome(files, 3).Any());

  CameraTracks tracks;
  tracks.tracks[0].SetKey({0, 1.0f, SyncKey::STEP});
  ASSERT_TRUE(tracks.Save(track_dir, message)) << message;
  files.TookOwnTrackWrites();
  EXPECT_FALSE(PollSome(files, 3).Any());

  std::ofstream(camera_file_path, std::ios::binary | std::ios::app) << "# a maker's line\n";
  ASSERT_TRUE(tracks.Save(track_dir, message)) << message;
  files.TookOwnTrackWrites();
  const LiveFiles::Changes changes = PollSome(files, 2);
  EXPECT_TRUE(changes.camera);
  EXPECT_FALSE(changes.tracks);
}

// A picture cut to its first 300 bytes is an error that stands, not a reload: the show keeps
// the last good picture until the file decodes again.
TEST_F(LiveFilesTest, ABrokenPictureKeepsTheLastGoodOne) {
  std::ofstream("data/earth.png", std::ios::binary) << picture_;
  LiveFiles files;
  const sf::Image good = script::load_picture("data/earth.png");
  ASSERT_GT(good.getSize().x, 0u);
  std::ofstream("data/earth.png", std::ios::binary) << picture_.substr(0, 300);
  const LiveFiles::Changes changes = PollSome(files, 2);
  ASSERT_TRUE(changes.pictures);
  std::vector<std::string> failed;
  EXPECT_FALSE(files.ReloadPictures(changes.picture_paths, failed));
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].rfind("data/earth.png: cannot be decoded (", 0), 0u) << failed[0];
  EXPECT_EQ(files.Errors(), failed[0]);
  EXPECT_EQ(script::load_picture("data/earth.png").getSize(), good.getSize());

  std::ofstream("data/earth.png", std::ios::binary) << picture_;
  failed.clear();
  EXPECT_TRUE(files.ReloadPictures(PollSome(files, 2).picture_paths, failed));
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(files.Errors(), "");
}

// An error in the camera file at start stands as one after a reload does (on screen, in red).
TEST_F(LiveFilesTest, AnErrorAtStartStandsLikeOneAfterAReload) {
  std::ofstream(camera_file_path, std::ios::binary)
      << original_ << "images place linaer 0b 1b 0 0 0\n";
  LiveFiles files;
  EXPECT_NE(files.Errors().find(":102: expected a transition"), std::string::npos)
      << files.Errors();
  EXPECT_FALSE(files.Camera().keys.empty());
}
