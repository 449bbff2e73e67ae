// Moments of the show, the seeks that land on them, and the pause and seek of demo time.
#include "demo/moments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "demo/show.h"
#include "helpers.h"
#include "step_of.h"
#include "tunables.h"

// Seconds, beats and frames, written as plain decimals; anything else is refused with a reason.
TEST(ShowSteps, MomentsBecomeFramesOfTheShow) {
  const ShowSteps show;
  ASSERT_EQ(show.first_step_of_beat.size(), 391u);             // beats 0 to 390
  EXPECT_EQ(show.end_step - 1, show.first_step_of_beat[390]);  // the player's last frame
  EXPECT_EQ(step_of("12.5"), 1500);
  EXPECT_EQ(step_of("0.001"), 1);  // the first frame at or after the moment
  EXPECT_EQ(step_of("12000f"), 12000);
  EXPECT_EQ(step_of("224b"), show.first_step_of_beat[224]);
  // The show's start times rest on 224 beats rounding to exactly 96 s (the image part's start).
  EXPECT_EQ(static_cast<float>(224.0 * show_seconds_per_beat), 96.0f);
  EXPECT_EQ(beat2seconds(show_bpm, 4), show_seconds_per_beat);
  for (const char* bad : {"", "-1", "nan", "inf", "0x10", "1e3", "0x10b", "1e2f", "infb", " 12",
                          "12.5b", "391b", "167.2", "12s", "1.5f", "20059f", "f", "."}) {
    int frame = 0;
    std::string error;
    EXPECT_FALSE(show.Parse(bad, frame, error) || error.empty()) << "'" << bad << "' was taken";
  }
}

TEST(ShowSteps, StepAtIsTheLastStepDue) {
  for (int n : {0, 1, 119, 1500, 12000, 20058}) {
    EXPECT_EQ(step_at(step_time(n)), n);
    EXPECT_EQ(step_at(std::nextafter(step_time(n), -1.0f)), n - 1);
  }
}

// The developer keys' seeks: part starts and bars, kept within the show.
TEST(ShowSteps, SeeksLandOnPartStartsAndBars) {
  const ShowSteps f;
  const int images = f.part_first_step[4], plasma = f.part_first_step[3];
  EXPECT_EQ(f.NextPartStart(plasma), images);
  EXPECT_EQ(f.NextPartStart(f.end_step - 1), f.end_step - 1);  // the tail has no next part
  EXPECT_EQ(f.PartStartBefore(images + 2 * show_fps), images);
  EXPECT_EQ(f.PartStartBefore(images + 10), plasma);  // at its start: the part before
  EXPECT_EQ(f.PartStartBefore(5), 0);
  EXPECT_EQ(f.BarFrom(images + 1, 1), f.first_step_of_beat[228]);
  EXPECT_EQ(f.BarFrom(images, -1), f.first_step_of_beat[220]);
  EXPECT_EQ(f.BarFrom(3, -1), 0);
  EXPECT_EQ(f.BarFrom(f.end_step - 1, 1), f.end_step - 1);
}

// A pause freezes demo time and a resume goes on from there; a seek moves it, paused or not.
TEST(PauseClock, PauseResumeAndSeek) {
  PauseClock pause;
  EXPECT_EQ(pause.DemoTime(1.0f), 1.0f);
  EXPECT_TRUE(pause.Toggle(2.0f));
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

  PauseClock seek;
  seek.SeekTo(1.0f, 50.0f);
  EXPECT_FLOAT_EQ(seek.DemoTime(2.0f), 51.0f);
  seek.Toggle(3.0f);
  seek.SeekTo(4.0f, 10.0f);
  EXPECT_FLOAT_EQ(seek.DemoTime(6.0f), 10.0f);  // still paused, at the moment sought
  seek.DemoTime(7.0f);
  seek.Toggle(7.0f);
  EXPECT_FLOAT_EQ(seek.DemoTime(8.0f), 11.0f);
}
