// The player's types without a window: keys, the free camera and the transport, on the
// headless context.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "demo/demo.h"
#include "gl_context.h"
#include "platform/keyname.h"
#include "player/freecamera.h"
#include "player/keys.h"
#include "player/transport.h"
#include "tunables.h"

namespace {

std::unique_ptr<Transport> whole_show() {
  return std::make_unique<Transport>(
      std::make_unique<Playhead>(
          [](effect::Camera& camera) { return init_demo(camera, show_seconds_per_beat); }, nullptr),
      nullptr);
}

}  // namespace

// One action per key, and every bound key reachable from a desktop key code; developer keys do
// nothing without -magic; the README's key table is the table's own rows.
TEST(PlayerKeys, OneActionPerKeyAndTheReadmeListsThemAll) {
  std::set<std::string> desktop_names;
  for (int code = 0; code < sf::Keyboard::KeyCount; ++code) {
    const char* name = platform::key_name(static_cast<sf::Keyboard::Key>(code));
    if (name != nullptr) {
      EXPECT_TRUE(desktop_names.insert(name).second) << name << " names two key codes";
    }
  }
  int count = 0;
  const KeyBinding* table = key_table(count);
  std::set<std::string> keys;
  for (int i = 0; i < count; ++i) {
    EXPECT_TRUE(keys.insert(table[i].name).second) << table[i].name << " is bound twice";
    EXPECT_EQ(desktop_names.count(table[i].name), 1u) << table[i].name << " has no desktop key";
    EXPECT_EQ(find_key(table[i].name, false) != nullptr, !table[i].developer) << table[i].name;
    EXPECT_EQ(find_key(table[i].name, true), &table[i]);
  }
  EXPECT_EQ(find_key(platform::key_name(sf::Keyboard::Q), true), nullptr);
  EXPECT_EQ(find_key(nullptr, true), nullptr);

  std::ifstream file("README.md");
  std::stringstream readme;
  readme << file.rdbuf();
  std::istringstream rows(key_help(true));
  for (std::string row; std::getline(rows, row);) {
    EXPECT_NE(readme.str().find(row), std::string::npos) << "the README lacks: " << row;
  }
}

// Held keys move the camera once every 1/120 s of clock time, however the frames fall; losing
// focus lets go of them.
TEST(FreeCamera, MovesPerTickAtAnyFrameRateAndStopsWhenFocusIsLost) {
  FreeCamera smooth, jerky;
  for (FreeCamera* camera : {&smooth, &jerky}) {
    camera->Tick(0.0f);
    camera->Hold(Action::MoveUp, true);
    camera->Hold(Action::YawLeft, true);
  }
  for (int frame = 1; frame <= 60; ++frame) smooth.Tick(frame / 120.0f);
  jerky.Tick(0.25f);
  jerky.Tick(0.5f);
  EXPECT_FLOAT_EQ(smooth.position.y, 60.0f);
  EXPECT_FLOAT_EQ(jerky.position.y, 60.0f);
  EXPECT_FLOAT_EQ(jerky.rotation.y, 60.0f);

  jerky.ReleaseAll();
  EXPECT_FALSE(jerky.Moving());
  jerky.Tick(1.0f);
  EXPECT_FLOAT_EQ(jerky.position.y, 60.0f);
}

// Keys that arrive together act one after the other: each seek starts where the last landed.
TEST(Transport, SeeksInOneBatchStartWhereTheLastLanded) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto transport = whole_show();
  const ShowSteps& steps = transport->Steps();
  transport->Start(0, 0.0f);
  for (int i = 0; i < 3; ++i) transport->Seek(steps.NextPartStart(transport->Current()), 0.0f);
  EXPECT_EQ(transport->Current(), steps.part_first_step[3]);
  for (int i = 0; i < 4; ++i) transport->Seek(steps.BarFrom(transport->Current(), 1), 0.0f);
  EXPECT_EQ(transport->Current(), steps.first_step_of_beat[150 + 16]);
  transport->Frame(0.0f, FreeView());
  EXPECT_EQ(transport->Current(), steps.first_step_of_beat[150 + 16]);
}

// A pause at once holds the start frame; steps and beats move a paused show; the loop of the
// last part wraps to its start and never ends the show.
TEST(Transport, PausedStepsAndTheLoopOfTheLastPart) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto transport = whole_show();
  const ShowSteps& steps = transport->Steps();
  const int credits = steps.part_first_step[show_part_count - 1];
  const int end = steps.PartEnd(show_part_count - 1);
  transport->Start(end - 10, 0.0f);
  EXPECT_TRUE(transport->TogglePause(0.0f));
  EXPECT_EQ(transport->Current(), end - 10);
  transport->Frame(1.0f, FreeView());
  EXPECT_EQ(transport->Current(), end - 10);
  transport->Seek(transport->Current() + 1, 1.0f);
  transport->Seek(transport->Current() - 2, 1.0f);
  transport->Frame(1.0f, FreeView());
  EXPECT_EQ(transport->Current(), end - 11);
  transport->Seek(steps.BeatFrom(transport->Current(), 1), 1.0f);
  EXPECT_EQ(transport->Current(), end);  // the first step of the beat after the last part's

  transport->Seek(end - 10, 1.0f);
  EXPECT_TRUE(transport->ToggleLoop());
  EXPECT_FALSE(transport->TogglePause(1.0f));
  transport->Frame(1.5f, FreeView());  // 60 steps on: past the part's end
  EXPECT_EQ(transport->Current(), credits);
  EXPECT_FALSE(transport->Over());
}

// At half speed demo time runs at half the clock's pace, from where it stood.
TEST(Transport, HalfSpeedHalvesTheStepsAClockSecondRuns) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto transport = whole_show();
  transport->Start(1200, 0.0f);
  EXPECT_FLOAT_EQ(transport->SetSpeed(0.5f, 0.0f), 0.5f);
  EXPECT_FLOAT_EQ(transport->SetSpeed(0.01f, 0.0f), 0.125f);
  EXPECT_FLOAT_EQ(transport->SetSpeed(0.5f, 0.0f), 0.5f);
  transport->Frame(1.0f, FreeView());
  EXPECT_EQ(transport->Current(), 1200 + show_fps / 2);
}
