// Sync tracks: values between keys, rows of steps, the .track files, and the show playing them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "demo/demo.h"
#include "demo/moments.h"
#include "demo/playhead.h"
#include "demo/startup.h"
#include "gl_context.h"
#include "scratch.h"
#include "sync/cameratracks.h"
#include "tunables.h"

namespace {

using Bytes = std::vector<unsigned char>;

SyncTrack track_of(const std::vector<SyncKey>& keys) {
  SyncTrack track;
  track.name = "camera:pos.x";
  for (const SyncKey& key : keys) track.SetKey(key);
  return track;
}

// A fresh directory for one test's files, of this process alone.
std::string scratch_dir(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("tessary-sync-" + name + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

void write_bytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

// Values worked by hand: each kind between its key and the next, the first key's value before
// it, the last key's after it.
TEST(SyncTrack, InterpolatesByTheKeysOwnKind) {
  const SyncTrack track = track_of({{8, 1.0f, SyncKey::STEP},
                                    {16, 3.0f, SyncKey::LINEAR},
                                    {24, 5.0f, SyncKey::SMOOTH},
                                    {32, 9.0f, SyncKey::RAMP},
                                    {40, 2.0f, SyncKey::LINEAR}});
  EXPECT_FLOAT_EQ(track.ValueAt(-3.0), 1.0f);
  EXPECT_FLOAT_EQ(track.ValueAt(8.0), 1.0f);
  EXPECT_FLOAT_EQ(track.ValueAt(15.99), 1.0f);  // step: held until the next key
  EXPECT_FLOAT_EQ(track.ValueAt(16.0), 3.0f);
  EXPECT_FLOAT_EQ(track.ValueAt(18.0), 3.5f);    // linear, t = 1/4
  EXPECT_FLOAT_EQ(track.ValueAt(26.0), 5.625f);  // smooth, t = 1/4: 5 + 4 * 0.15625
  EXPECT_FLOAT_EQ(track.ValueAt(28.0), 7.0f);    // smooth, t = 1/2
  EXPECT_FLOAT_EQ(track.ValueAt(36.0), 7.25f);   // ramp, t = 1/2: 9 - 7 * 0.25
  EXPECT_FLOAT_EQ(track.ValueAt(40.0), 2.0f);
  EXPECT_FLOAT_EQ(track.ValueAt(1e6), 2.0f);

  // A key on a taken row replaces it; deleting leaves the neighbours to interpolate.
  SyncTrack edited = track;
  edited.SetKey({16, 4.0f, SyncKey::STEP});
  EXPECT_EQ(edited.keys.size(), 5u);
  EXPECT_FLOAT_EQ(edited.ValueAt(20.0), 4.0f);
  EXPECT_TRUE(edited.DeleteKey(16));
  EXPECT_FALSE(edited.DeleteKey(17));
  EXPECT_FLOAT_EQ(edited.ValueAt(20.0), 1.0f);

  // The rows of steps: row 8b begins on the very step the show's beat b does (beat 7 on step
  // 360, where the exact tempo would give 361), and rows run evenly between.
  const ShowSteps steps;
  EXPECT_EQ(step_row(0), 0.0);
  for (size_t beat = 0; beat < steps.first_step_of_beat.size(); ++beat) {
    const int first = steps.first_step_of_beat[beat];
    ASSERT_EQ(first_step_of_row(8 * static_cast<int>(beat)), first) << "beat " << beat;
    if (first > 0) {
      ASSERT_LT(step_row(first - 1), 8.0 * static_cast<double>(beat));
    }
  }
  EXPECT_EQ(first_step_of_row(1), 7);                     // 1/8 beat: 6.5 steps
  EXPECT_GT(first_step_of_row(INT_MAX), steps.end_step);  // no overflow
}

// Names and bytes as the protocol's player-mode files have them. (Read back: sync_player, whose
// renderer draws the player's frame from the files the player saved.)
TEST(SyncTrackFile, NamesAndBytes) {
  EXPECT_EQ(track_file_name("sync", "camera:pos.x"), "sync_camera-3Apos.x.track");
  EXPECT_EQ(track_file_name("my base", "a/b_c\xC3\xA9"), "my-20base_a/b_c-C3-A9.track");

  const SyncTrack track = track_of({{256, -2.5f, SyncKey::SMOOTH}, {0, 1.0f, SyncKey::RAMP}});
  const Bytes expected = {2, 0, 0, 0,                        // two keys
                          0, 0, 0, 0, 0, 0, 0x80, 0x3F, 3,   // row 0, 1.0, ramp
                          0, 1, 0, 0, 0, 0, 0x20, 0xC0, 2};  // row 256, -2.5, smooth
  const std::string dir = scratch_dir("bytes");
  const std::string path = dir + "/t.track";
  std::string error;
  ASSERT_TRUE(save_track_file(path, track, error)) << error;
  EXPECT_EQ(read_text(path), std::string(expected.begin(), expected.end()));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  std::filesystem::remove_all(dir);
}

// Any bytes at all: a broken file is one line naming it and why, and its track keeps the keys
// it had (none at the start; the running ones when a file is rewritten badly); a file that is
// gone takes its track's keys with it.
TEST(SyncTrackFile, BrokenFilesAreRefusedWithAReason) {
  const Bytes key0 = {0, 0, 0, 0, 0, 0, 0x80, 0x3F, 1};
  const struct {
    const char* what;
    Bytes bytes;
  } broken[] = {
      {"empty", {}},
      {"short count", {1, 0, 0}},
      {"truncated key", {1, 0, 0, 0, 0, 0, 0, 0}},
      {"huge count", {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"negative count", {0xFF, 0xFF, 0xFF, 0xFF}},
      {"trailing byte", {0, 0, 0, 0, 7}},
      {"interpolation 4", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x3F, 4}},
      {"not a number", {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0xC0, 0x7F, 1}},
  };
  const std::string dir = scratch_dir("broken");
  for (const auto& b : broken) {
    write_bytes(dir + "/b.track", b.bytes);
    SyncTrack track = track_of({{3, 3.0f, SyncKey::STEP}});
    std::string error;
    EXPECT_FALSE(load_track_file(dir + "/b.track", track, error)) << b.what;
    EXPECT_NE(error.find("b.track: "), std::string::npos) << b.what << ": " << error;
    EXPECT_EQ(track.keys.size(), 1u) << b.what;
  }
  Bytes unsorted = {2, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0x80, 0x3F, 1};
  unsorted.insert(unsorted.end(), key0.begin(), key0.end());
  write_bytes(CameraTracks::FilePath(dir, 0), unsorted);
  write_bytes(CameraTracks::FilePath(dir, 2), Bytes{1, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0x80, 0x3F, 0});
  std::filesystem::create_directory(CameraTracks::FilePath(dir, 5));

  CameraTracks tracks;
  std::vector<std::string> problems;
  tracks.Load(dir, problems);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find("sync_camera-3Apos.x.track: the keys are not sorted by row"),
            std::string::npos)
      << problems[0];
  EXPECT_NE(problems[1].find("sync_camera-3Arot.z.track"), std::string::npos) << problems[1];
  EXPECT_EQ(tracks.Driven(), "pos.z");

  // Rewritten cut short (an editor caught mid-save): the running keys stay.
  write_bytes(CameraTracks::FilePath(dir, 2), Bytes{1, 0, 0, 0, 7});
  tracks.Load(dir, problems);
  EXPECT_EQ(tracks.Driven(), "pos.z");
  EXPECT_EQ(tracks.tracks[2].keys.size(), 1u);
  EXPECT_NE(problems.back().find("keeps the keys it had"), std::string::npos) << problems.back();
  std::filesystem::remove(CameraTracks::FilePath(dir, 2));
  tracks.Load(dir, problems);
  EXPECT_EQ(tracks.Driven(), "");
  std::filesystem::remove_all(dir);
}

// The tracks change the frame, not the show's state: tracks holding the keyframed camera's own
// values draw the same picture (the components without keys untouched), another value a
// different one, and taking the tracks away draws the keyframed camera again.
TEST(SyncShow, TracksDriveTheDrawnCameraOnly) {
  ASSERT_NE(test_gl_context(), nullptr);
  Playhead head([](effect::Camera& camera) { return init_demo(camera, show_seconds_per_beat); },
                nullptr);
  const int step = 40 * show_fps;  // the lines part, the camera in flight
  head.SeekTo(step);
  head.DrawNext(FreeView());
  const std::vector<unsigned char> keyframed = read_test_pixels();

  CameraTracks tracks;
  tracks.tracks[2].SetKey({0, head.Camera().location.z, SyncKey::STEP});
  tracks.tracks[4].SetKey({8, head.Camera().rotation.y, SyncKey::LINEAR});
  EXPECT_EQ(tracks.Driven(), "pos.z rot.y");
  head.SetCameraOverride(&tracks);
  head.Redraw(FreeView());
  EXPECT_EQ(read_test_pixels(), keyframed);
  tracks.tracks[2].keys[0].value += 40.0f;
  head.Redraw(FreeView());
  EXPECT_NE(read_test_pixels(), keyframed);
  head.SetCameraOverride(nullptr);
  head.Redraw(FreeView());
  EXPECT_EQ(read_test_pixels(), keyframed);
}
