// The music follows the transport: start, pause, seek, speed and mute reach the sound library
// (OpenAL's silent driver stands in for a device: ALSOFT_DRIVERS=null).
#include "player/soundtrack.h"

#include <gtest/gtest.h>

#include <SFML/System/Sleep.hpp>

namespace {

// Positions in the track, to within what a stream's chunk and a short run leave.
constexpr float slack = 0.5f;

}  // namespace

TEST(Soundtrack, StartPauseSeekSpeedAndMuteReachTheMusic) {
  Soundtrack music;
  ASSERT_TRUE(music.Open()) << "no music (data/melody5.ogg) or no OpenAL driver";
  music.Start(10.0f);
  Soundtrack::State now = music.Now();
  EXPECT_TRUE(now.playing);
  EXPECT_NEAR(now.offset, 10.0f, slack);

  music.SetPaused(true);
  now = music.Now();
  EXPECT_TRUE(now.paused);
  sf::sleep(sf::milliseconds(50));
  EXPECT_EQ(music.Now().offset, now.offset);  // a paused track does not move

  music.SeekTo(true, 100.0f);  // paused seek: placed there, still paused
  now = music.Now();
  EXPECT_TRUE(now.paused);
  EXPECT_NEAR(now.offset, 100.0f, slack);
  music.SeekTo(false, 50.0f);
  now = music.Now();
  EXPECT_NEAR(now.offset, 50.0f, slack);

  music.SetPaused(false);
  EXPECT_TRUE(music.Now().playing);
  music.SetSpeed(0.5f);
  EXPECT_EQ(music.Now().pitch, 0.5f);
  EXPECT_TRUE(music.ToggleMute());
  EXPECT_EQ(music.Now().volume, 0.0f);
  EXPECT_FALSE(music.ToggleMute());
  EXPECT_EQ(music.Now().volume, 100.0f);

  // A track that played to its end (stopped) starts again when the show seeks back.
  music.Stop();
  EXPECT_FALSE(music.Now().playing);
  music.SeekTo(false, 5.0f);
  now = music.Now();
  EXPECT_TRUE(now.playing);
  EXPECT_NEAR(now.offset, 5.0f, slack);
  music.Stop();
}
