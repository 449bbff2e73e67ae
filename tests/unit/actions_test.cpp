// What a key does to the show in every player (player/actions.h), with a host that records
// what it is told and given.
#include "player/actions.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "demo/demo.h"
#include "gl_context.h"
#include "player/flags.h"
#include "player/freecamera.h"
#include "player/soundtrack.h"
#include "player/transport.h"
#include "tunables.h"

namespace {

struct RecordingHost : Controls::Host {
  std::vector<std::string> lines;
  std::set<Action> own;
  void Say(const std::string& line) override { lines.push_back(line); }
  void Own(Action action, float) override { own.insert(action); }
};

// Drives one component of the camera, as sync tracks do.
struct RaiseCamera : CameraOverride {
  void Apply(float, omni::Vector3<float>& position, omni::Vector3<float>&) const override {
    position.y = 77.0f;
  }
};

struct ControlsTest : ::testing::Test {
  void SetUp() override {
    ASSERT_NE(test_gl_context(), nullptr);
    transport = std::make_unique<Transport>(
        std::make_unique<Playhead>(
            [](effect::Camera& camera) { return init_demo(camera, show_seconds_per_beat); },
            nullptr),
        nullptr);
    controls = std::make_unique<Controls>(*transport, music, free, host);
    transport->Start(1000, 0.0f);
  }
  void TearDown() override { mushroom_mode = false; }

  Soundtrack music;
  FreeCamera free;
  RecordingHost host;
  std::unique_ptr<Transport> transport;
  std::unique_ptr<Controls> controls;
};

}  // namespace

// Every pressed key is either the show's (done here, the same in every player) or one the
// player does its own way; none is lost between the two, none done twice.
TEST_F(ControlsTest, OnlyThePlayersOwnActionsAreLeftToIt) {
  for (int a = held_action_count; a <= static_cast<int>(Action::Undo); ++a) {
    controls->Act(static_cast<Action>(a), 0.0f);
  }
  EXPECT_EQ(host.own, (std::set<Action>{Action::Quit, Action::Shot, Action::Reload,
                                        Action::WriteKey, Action::WriteSmoothKey, Action::Undo}));
}

// Frame steps move a paused show only, and each move says where it landed; F1 flips the
// overlay.
TEST_F(ControlsTest, StepsMoveOnlyAPausedShowAndSayWhereTheyLand) {
  controls->Act(Action::StepForward, 0.0f);
  EXPECT_EQ(transport->Current(), 1000);
  EXPECT_NE(host.lines.back().find("press p first"), std::string::npos);
  controls->Act(Action::Pause, 0.0f);
  EXPECT_EQ(host.lines.back().rfind("paused at frame 1000 ", 0), 0u) << host.lines.back();
  controls->Act(Action::StepForward, 0.0f);
  controls->Act(Action::StepForward, 0.0f);
  EXPECT_EQ(transport->Current(), 1002);
  EXPECT_EQ(host.lines.back().rfind("at frame 1002 ", 0), 0u) << host.lines.back();
  EXPECT_FALSE(controls->OverlayOn());
  controls->Act(Action::Overlay, 0.0f);
  EXPECT_TRUE(controls->OverlayOn());
}

// With -magic, c starts the free camera at the shot on screen: the keyframed pose with what
// the tracks drive in place, without roll.
TEST_F(ControlsTest, TheFreeCameraStartsAtTheShotOnScreen) {
  mushroom_mode = true;
  RaiseCamera raise;
  transport->Head().SetCameraOverride(&raise);
  transport->Frame(0.0f, FreeView());
  const effect::Camera& shot = transport->Head().Camera();
  controls->Act(Action::ToggleCamera, 0.0f);
  ASSERT_TRUE(free.on);
  EXPECT_EQ(free.position.x, shot.location.x);
  EXPECT_EQ(free.position.y, 77.0f);
  EXPECT_EQ(free.rotation.z, 0.0f);
  EXPECT_EQ(host.lines.back(), "camera: free");
  controls->Act(Action::ToggleCamera, 0.0f);
  EXPECT_FALSE(free.on);
  EXPECT_EQ(host.lines.back(), "camera: keyframed");
}
