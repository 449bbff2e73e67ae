// The video writer against stand-ins for ffmpeg (small shell scripts given as its encoder
// program): every byte delivered in order, an encoder that never reads, one that fails at once,
// and calls out of order. None of them may hang the capture.
#include "video.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using Frame = std::vector<unsigned char>;

// A bound that only proves that nothing hangs: each wait is meant to end within a second.
constexpr double no_hang_seconds = 10;

// A fresh directory holding the stand-in `script` (a /bin/sh body) as "encoder"; removed after.
class StandIn {
 public:
  explicit StandIn(const std::string& script) {
    char name[] = "/tmp/tessary-video-test-XXXXXX";
    dir = mkdtemp(name);
    program = dir + "/encoder";
    std::ofstream(program) << "#!/bin/sh\n" << script << "\n";
    fs::permissions(program, fs::perms::owner_all);
  }
  ~StandIn() { fs::remove_all(dir); }

  // Settings for `count` frames of 200x150 (120,000 bytes, more than a pipe holds) into dir.
  VideoSettings Settings(int count) const {
    VideoSettings settings;
    settings.path = dir + "/out.mp4";
    settings.width = 200;
    settings.height = 150;
    settings.frame_count = count;
    settings.program = program;
    return settings;
  }
  // The names in dir other than the stand-in itself.
  std::vector<std::string> Outputs() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path() != program) names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::string dir;
  std::string program;
};

// Frame `k`: bytes that differ from those of every other frame at almost every offset.
Frame make_frame(const VideoSettings& settings, int k) {
  Frame frame(VideoEncoder::FrameBytes(settings));
  for (size_t i = 0; i < frame.size(); ++i) {
    frame[i] = static_cast<unsigned char>(k * 131 + i * 7 + i / 251);
  }
  return frame;
}

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A process that is gone: collected, or a zombie waiting for its parent.
bool process_gone(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const size_t paren = line.rfind(')');
  return paren != std::string::npos && line.compare(paren + 2, 1, "Z") == 0;
}

// Never reads its input; a helper of its own holds the pipe too, and leaves its number in dir.
const char* const never_reads = "sleep 1000 & echo $! > \"$(dirname \"$0\")/helper\"; wait";

}  // namespace

// What goes in comes out: the bytes the encoder reads are the frames, in order, each once; the
// file appears under its name only at the end.
TEST(VideoEncoder, DeliversEveryFrameInOrder) {
  StandIn copy("for last; do :; done; cat > \"$last\"");
  const VideoSettings settings = copy.Settings(30);
  VideoEncoder encoder;
  std::string error;
  ASSERT_TRUE(encoder.Start(settings, error)) << error;
  Frame expected;
  for (int k = 0; k < settings.frame_count; ++k) {
    Frame frame = make_frame(settings, k);
    expected.insert(expected.end(), frame.begin(), frame.end());
    ASSERT_TRUE(encoder.Write(frame, error)) << error;
    EXPECT_EQ(frame.size(), VideoEncoder::FrameBytes(settings));  // a buffer to fill next
  }
  EXPECT_FALSE(fs::exists(settings.path));
  ASSERT_TRUE(encoder.Finish(error)) << error;
  std::ifstream file(settings.path, std::ios::binary);
  const Frame written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected) << "the bytes differ from the frames";
  EXPECT_EQ(copy.Outputs(), std::vector<std::string>{"out.mp4"});
}

// An encoder that stops reading, with a helper holding its pipe: Abort, an interrupt and the
// stall limit each end the wait, kill the whole process group and leave nothing behind.
TEST(VideoEncoder, EncoderThatNeverReadsIsStoppedPromptly) {
  enum class Ending { abort, interrupt, stall };
  for (Ending ending : {Ending::abort, Ending::interrupt, Ending::stall}) {
    SCOPED_TRACE(static_cast<int>(ending));
    StandIn stuck(never_reads);
    InterruptFlag interrupted{false};
    VideoSettings settings = stuck.Settings(10);
    settings.interrupted = &interrupted;
    if (ending == Ending::stall) settings.stall_seconds = 0.5;
    VideoEncoder encoder;
    std::string error;
    ASSERT_TRUE(encoder.Start(settings, error)) << error;
    // The writer takes the first frame and blocks on it; the second waits in the queue.
    for (int k = 0; k < 2; ++k) {
      Frame frame = make_frame(settings, k);
      ASSERT_TRUE(encoder.Write(frame, error)) << error;
    }
    // The helper is running before the wait ends.
    int helper = 0;
    for (int i = 0; i < 500 && helper <= 0; ++i, usleep(10000)) {
      std::ifstream(stuck.dir + "/helper") >> helper;
    }
    ASSERT_GT(helper, 0);
    std::thread interrupter;
    if (ending == Ending::interrupt) {
      interrupter = std::thread([&interrupted] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        interrupted = true;
      });
    }
    const Clock::time_point start = Clock::now();
    if (ending == Ending::abort) {
      encoder.Abort();
    } else {
      Frame frame = make_frame(settings, 2);
      EXPECT_FALSE(encoder.Write(frame, error));
      EXPECT_EQ(error, ending == Ending::interrupt ? "interrupted"
                                                   : "ffmpeg took no frame data for 0.5 s");
    }
    const double took = seconds_since(start);
    if (interrupter.joinable()) interrupter.join();
    std::printf("ending %d: %.3f s\n", static_cast<int>(ending), took);
    EXPECT_LT(took, no_hang_seconds);
    for (int i = 0; i < 100 && !process_gone(helper); ++i) usleep(10000);
    EXPECT_TRUE(process_gone(helper)) << "the helper holding the pipe survived";
    std::remove((stuck.dir + "/helper").c_str());
    EXPECT_TRUE(stuck.Outputs().empty());
  }
}

// An encoder that cannot run, or writes part of its file and ends with an error: its reason,
// and no file left.
TEST(VideoEncoder, EncoderThatFailsGivesItsReason) {
  StandIn failing(
      "for last; do :; done; echo partial > \"$last\"; echo 'no encoder here' >&2; exit 3");
  const VideoSettings settings = failing.Settings(50);
  VideoEncoder encoder;
  std::string error;
  ASSERT_TRUE(encoder.Start(settings, error)) << error;
  bool written = true;
  for (int k = 0; k < settings.frame_count && written; ++k) {
    Frame frame = make_frame(settings, k);
    written = encoder.Write(frame, error);
  }
  if (written) {
    EXPECT_FALSE(encoder.Finish(error));
  }
  EXPECT_EQ(error, "ffmpeg failed (exit status 3): no encoder here");
  EXPECT_TRUE(failing.Outputs().empty());

  VideoSettings missing = settings;
  missing.program = failing.dir + "/nothing";
  EXPECT_FALSE(encoder.Start(missing, error));
  EXPECT_EQ(error, "encoder program " + missing.program + " not found or not executable");
}

// Calls out of order fail at once with a reason and leave a running video untouched.
TEST(VideoEncoder, CallsOutOfOrderFailClearly) {
  StandIn copy("for last; do :; done; cat > \"$last\"");
  const VideoSettings settings = copy.Settings(1);
  VideoEncoder encoder;
  std::string error;
  Frame frame = make_frame(settings, 0);
  EXPECT_FALSE(encoder.Write(frame, error));
  EXPECT_EQ(error, "no video is being written (start one first)");
  EXPECT_FALSE(encoder.Finish(error));
  ASSERT_TRUE(encoder.Start(settings, error)) << error;
  EXPECT_FALSE(encoder.Start(settings, error));
  EXPECT_EQ(error, "a video is already being written (finish or abort it first)");
  ASSERT_TRUE(encoder.Write(frame, error)) << error;
  ASSERT_TRUE(encoder.Finish(error)) << error;
  EXPECT_EQ(fs::file_size(settings.path), VideoEncoder::FrameBytes(settings));
  EXPECT_FALSE(encoder.Finish(error));
  EXPECT_EQ(error, "no video is being written (start one first)");
  encoder.Abort();  // harmless after the end: the video stays
  EXPECT_TRUE(fs::exists(settings.path));
}
