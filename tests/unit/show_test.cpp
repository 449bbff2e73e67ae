#include "demo/show.h"

#include <gtest/gtest.h>

#include <vector>

#include "gl/glcheck.h"
#include "gl_context.h"
#include "helpers.h"

namespace {

const float spb = beat2seconds(140, 4);

struct Call {
  float time;
  int beat;
  bool beat_changed;
};

// Records what the frame step hands it.
struct Recorder : omni::Effect {
  std::vector<Call> calls;
  int draws = 0;
  const char* Name() override { return "Recorder"; }
  int Draw() override {
    ++draws;
    return 0;
  }
  void UpdateLogic(const float& time, const int& beat, const bool& changed) override {
    calls.push_back({time, beat, changed});
  }
};

// A show of one recorder over the given beats.
struct Fixture {
  Recorder* recorder = new Recorder();
  effect::Camera camera;
  Enabler* head;
  Show show;
  Fixture(int start, int end)
      : head(enabler_append(nullptr, recorder, start, end, spb)),
        show(head, &camera, nullptr, spb) {}
  ~Fixture() { enabler_cleanup(head); }
};

}  // namespace

TEST(FrameStep, FirstFrameIsBeatZero) {
  Fixture f(0, 385);
  f.show.Frame(0.0f, FreeView(), false);
  ASSERT_EQ(f.recorder->calls.size(), 1u);
  EXPECT_EQ(f.recorder->calls[0].beat, 0);
  EXPECT_TRUE(f.recorder->calls[0].beat_changed);
  f.show.Frame(1 / 120.0f, FreeView(), false);
  EXPECT_EQ(f.recorder->calls[1].beat, 0);
  EXPECT_FALSE(f.recorder->calls[1].beat_changed);
  EXPECT_EQ(f.recorder->draws, 0);  // logic only
}

TEST(FrameStep, LateFrameCatchesUpOneBeatPerFrame) {
  Fixture f(0, 385);
  f.show.Frame(0.0f, FreeView(), false);
  const float late = 3.2f * spb;
  for (int i = 0; i < 4; ++i) f.show.Frame(late + i * 0.001f, FreeView(), false);
  const auto& c = f.recorder->calls;
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(c[i].beat, i);
    EXPECT_TRUE(c[i].beat_changed);
  }
  EXPECT_EQ(c[4].beat, 3);
  EXPECT_FALSE(c[4].beat_changed);
}

TEST(FrameStep, EffectsSeeTimeAndBeatOfTheirNode) {
  Fixture f(50, 94);
  int frame = 0;
  while (f.show.clock.beat < 50) f.show.Frame(frame++ / 120.0f, FreeView(), false);
  ASSERT_EQ(f.recorder->calls.size(), 1u);  // nothing before its first beat
  const Call& first = f.recorder->calls[0];
  EXPECT_EQ(first.beat, 0);
  EXPECT_TRUE(first.beat_changed);
  EXPECT_FLOAT_EQ(first.time, (frame - 1) / 120.0f - 21.428572f);
  EXPECT_GE(first.time, 0.0f);
  EXPECT_LT(first.time, 1 / 120.0f);
  while (f.show.clock.beat < 94) f.show.Frame(frame++ / 120.0f, FreeView(), false);
  EXPECT_EQ(f.recorder->calls.back().beat, 43);  // beat 94 itself is not in the node
}

TEST(FrameStep, PauseFreezesDemoTimeAndResumeContinues) {
  PauseClock pause;
  EXPECT_EQ(pause.DemoTime(1.0f), 1.0f);
  EXPECT_TRUE(pause.Toggle(2.0f));
  EXPECT_EQ(pause.DemoTime(2.0f), 2.0f);
  EXPECT_EQ(pause.DemoTime(3.5f), 2.0f);
  EXPECT_EQ(pause.DemoTime(5.0f), 2.0f);
  EXPECT_FALSE(pause.Toggle(5.01f));
  EXPECT_FLOAT_EQ(pause.DemoTime(5.01f), 2.01f);  // plus the resuming frame's own time
  EXPECT_TRUE(pause.Toggle(6.0f));
  EXPECT_EQ(pause.DemoTime(7.0f), 3.0f);
  // The pause length counted is the one measured on the last paused frame (7.0), so the second
  // between that frame and the resume at 8.0 passes as demo time.
  pause.Toggle(8.0f);
  EXPECT_EQ(pause.DemoTime(9.0f), 5.0f);
}

TEST(FrameStep, ShowEndsAfterBeat389) {
  Fixture f(0, 385);
  int frame = 0;
  while (!f.show.Over()) {
    f.show.Frame(frame++ / 120.0f, FreeView(), false);
    ASSERT_LT(frame, 30000);
  }
  EXPECT_EQ(f.show.clock.beat, 390);
  EXPECT_GE((frame - 1) / 120.0f, 390 * spb - 0.001f);
  EXPECT_LT((frame - 1) / 120.0f, 390 * spb + 1 / 120.0f);
  EXPECT_EQ(f.recorder->calls.back().beat, 384);  // the node's range ends at 385
}

TEST(FrameStep, DrawnFrameBalancesTheMatrixStackAndBindsTheProgram) {
  ASSERT_NE(test_gl_context(), nullptr);
  GLint depth_before = 0, depth_after = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
  Fixture f(0, 10);
  f.camera.AddPosition(effect::Camera::CUT, 0, 0, omni::Vector3<float>(0, 0, 10));
  f.show.Frame(0.0f, FreeView(), true);
  EXPECT_EQ(f.recorder->draws, 1);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
  EXPECT_EQ(depth_before, depth_after);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_EQ(m[14], 0.0f);  // the camera's transform is inside the frame's push and pop
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
