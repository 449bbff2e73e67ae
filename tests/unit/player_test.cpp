// The player's types without a window: keys, the free camera and the transport, on the
// headless context.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "demo/demo.h"
#include "gl_context.h"
#include "platform/keyname.h"
#include "player/freecamera.h"
#include "player/keys.h"
#include "player/overlay.h"
#include "player/strip.h"
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

// One action per key (typed with Shift or without), and every bound key reachable from a
// desktop key code; developer keys do nothing without -magic; a key typed with Shift that has
// no binding of its own acts as without it; the README's key table is the table's own rows.
TEST(PlayerKeys, OneActionPerKeyAndTheReadmeListsThemAll) {
  std::set<std::string> desktop_names;
  for (int code = 0; code < sf::Keyboard::KeyCount; ++code) {
    const char* name = platform::key_name(static_cast<sf::Keyboard::Key>(code));
    if (name != nullptr) {
      EXPECT_TRUE(desktop_names.insert(name).second) << name << " names two key codes";
    }
    const char* shifted = platform::key_name(static_cast<sf::Keyboard::Key>(code), true);
    if (shifted != nullptr && shifted != name) desktop_names.insert(shifted);
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
  using K = sf::Keyboard;
  const auto typed = [](K::Key key, bool shift, bool magic) {
    return find_key(platform::key_name(key, shift), magic, platform::key_name(key));
  };
  EXPECT_EQ(typed(K::Q, false, true), nullptr);
  EXPECT_EQ(typed(K::LBracket, true, true)->action, Action::LoopStart);
  EXPECT_EQ(typed(K::LBracket, false, true)->action, Action::BarBack);
  EXPECT_EQ(typed(K::K, true, true)->action, Action::WriteSmoothKey);
  EXPECT_EQ(typed(K::Z, true, true)->action, Action::MoveBack);
  EXPECT_EQ(typed(K::LBracket, true, false), nullptr);
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

// A marked range, whichever mark came first, plays to its last step (shown) and wraps to its
// first, where the picture is the renderer's frame of that step; a mark set twice on its step
// clears the range, and l then loops the part as before.
TEST(Transport, TheLoopRangeWrapsToTheRenderersFrame) {
  ASSERT_NE(test_gl_context(), nullptr);
  const int first = 5000, last = 5100;  // in the lines part, where every frame differs
  std::vector<unsigned char> expected;
  {
    Playhead fresh([](effect::Camera& camera) { return init_demo(camera, show_seconds_per_beat); },
                   nullptr);
    fresh.SeekTo(first);
    fresh.DrawNext(FreeView());
    expected = read_test_pixels();
  }
  auto transport = whole_show();
  transport->Start(last - 6, 0.0f);
  transport->SetLoopMark(true, first);  // marks in either order
  transport->SetLoopMark(false, last);
  EXPECT_EQ(transport->LoopFirst(), first);
  EXPECT_EQ(transport->LoopLast(), last);
  EXPECT_TRUE(transport->ToggleLoop());
  EXPECT_TRUE(transport->LoopingRange());
  EXPECT_EQ(transport->LoopPart(), -1);
  transport->Frame(6.0f / show_fps, FreeView());
  EXPECT_EQ(transport->Current(), last);  // the last step is shown
  transport->Frame(7.0f / show_fps, FreeView());
  EXPECT_EQ(transport->Current(), first);
  EXPECT_EQ(read_test_pixels(), expected);
  transport->Frame(8.0f / show_fps, FreeView());
  EXPECT_EQ(transport->Current(), first + 1);

  EXPECT_FALSE(transport->ToggleLoop());
  transport->Seek(last + 200, 1.0f);
  transport->Frame(1.0f, FreeView());
  EXPECT_EQ(transport->Current(), last + 200);    // no loop: no wrap
  EXPECT_TRUE(transport->SetLoopMark(true, -1));  // kept within the show
  EXPECT_EQ(transport->LoopFirst(), 0);
  EXPECT_FALSE(transport->SetLoopMark(true, 0));
  EXPECT_FALSE(transport->HasLoopRange());
  EXPECT_TRUE(transport->ToggleLoop());
  EXPECT_EQ(transport->LoopPart(), transport->Steps().PartAt(last + 200));
}

// Every column of the strip seeks to the first frame drawn in it, at any width; the strip lies
// along the viewport's bottom; a part's name is shown only where the part is wide enough, and
// the frame on screen is drawn in its own column.
TEST(TimelineStrip, EachColumnSeeksToItsFirstFrame) {
  const ShowSteps steps;
  CameraFile file;
  ASSERT_TRUE(load_camera_file(camera_file_path, file));
  TimelineStrip strip;
  strip.SetShow(steps, file);
  const auto letters = [](const char* text) { return 12.0f * static_cast<float>(strlen(text)); };
  for (int width : {320, 1024, 3000}) {
    SCOPED_TRACE(width);
    strip.Layout(width, width * 3 / 4, letters);
    EXPECT_EQ(strip.StepAt(0), 0);
    for (int x = 1; x < width; ++x) {
      const int step = strip.StepAt(x);
      ASSERT_EQ(strip.ColumnOf(step), x);
      ASSERT_EQ(strip.ColumnOf(step - 1), x - 1);
    }
    EXPECT_EQ(strip.StepAt(width + 50), steps.end_step - 1);
    EXPECT_TRUE(strip.Contains(width / 2, width * 3 / 4 - 1));
    EXPECT_FALSE(strip.Contains(width / 2, width * 3 / 8));
    EXPECT_FALSE(strip.Contains(-1, width * 3 / 4 - 1));
    const OverlayRect now = strip.Shapes(9000, -1, -1, false).back();
    EXPECT_EQ(static_cast<int>(now.x) + 1, strip.ColumnOf(9000));
  }
  strip.Layout(320, 240, letters);
  EXPECT_LT(strip.Labels().size(),
            static_cast<size_t>(show_part_count));  // the title is too narrow
  strip.Layout(3000, 2250, letters);
  EXPECT_EQ(strip.Labels().size(), static_cast<size_t>(show_part_count));
}
