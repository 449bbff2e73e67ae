// The player's types without a window: keys, the free camera and the transport, on the
// headless context.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "demo/demo.h"
#include "gl_context.h"
#include "player/freecamera.h"
#include "player/keys.h"
#include "player/overlay.h"
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

// One action per key; developer keys do nothing without -magic; the README's key table is the
// table's own rows.
TEST(PlayerKeys, OneActionPerKeyAndTheReadmeListsThemAll) {
  int count = 0;
  const KeyBinding* table = key_table(count);
  std::set<int> keys;
  for (int i = 0; i < count; ++i) {
    EXPECT_TRUE(keys.insert(table[i].key).second) << table[i].name << " is bound twice";
    EXPECT_EQ(find_key(table[i].key, false) != nullptr, !table[i].developer) << table[i].name;
    EXPECT_EQ(find_key(table[i].key, true), &table[i]);
  }
  EXPECT_EQ(find_key(sf::Keyboard::Q, true), nullptr);

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

// A paused seek past the end stops on the last frame and holds it; only playing on from it
// ends the show.
TEST(Transport, APausedSeekPastTheEndHoldsTheLastFrame) {
  ASSERT_NE(test_gl_context(), nullptr);
  auto transport = whole_show();
  const ShowSteps& steps = transport->Steps();
  transport->Start(steps.first_step_of_beat[show_last_beat], 0.0f);
  EXPECT_TRUE(transport->TogglePause(0.0f));
  for (int i = 0; i < 3; ++i) transport->Seek(steps.BeatFrom(transport->Current(), 1), 0.0f);
  for (float t : {0.0f, 1.0f, 2.0f}) {
    transport->Frame(t, FreeView());
    EXPECT_EQ(transport->Current(), steps.end_step - 1);
    EXPECT_FALSE(transport->Over());
  }
  EXPECT_FALSE(transport->TogglePause(2.0f));
  transport->Frame(2.5f, FreeView());
  EXPECT_TRUE(transport->Over());
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

// The overlay's lines fit the window: a long line breaks between its fields, so no value is
// parted from its label at the show's 1024 pixels; a line with no gap breaks at a space, a
// word longer than the window inside itself; short lines stay as they are.
TEST(Overlay, LongLinesBreakBetweenFields) {
  const size_t columns = overlay_columns(1024);
  const std::string line =
      "time 162.008 s  frame 19441  beat 378 (bar 95, beat 3)  part invaders  next flash 372";
  ASSERT_GT(line.size(), columns);
  const std::string wrapped = wrap_overlay_text(line + "\nspeed 1", columns);
  EXPECT_EQ(wrapped,
            "time 162.008 s  frame 19441  beat 378 (bar 95, beat 3)  part invaders\n"
            "next flash 372\nspeed 1");
  EXPECT_EQ(wrap_overlay_text("aaaa bbbb cccc", 9), "aaaa bbbb\ncccc");
  EXPECT_EQ(wrap_overlay_text("abcdefghijkl  xy", 5), "abcde\nfghij\nkl\nxy");
  EXPECT_EQ(wrap_overlay_text("short  line\n", 80), "short  line\n");
  for (size_t width : {8u, 20u, 40u}) {
    std::string text = wrap_overlay_text(line, width) + "\n";
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
      EXPECT_LE(end - start, width) << text;
    }
  }
}
