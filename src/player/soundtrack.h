#ifndef TESSARY_PLAYER_SOUNDTRACK_H
#define TESSARY_PLAYER_SOUNDTRACK_H

// The show's music as the player plays it: opened only where an audio device exists (without
// one, SFML's stream thread would report every failed OpenAL call on standard error, millions
// of lines a minute), following the transport's pauses, seeks, speed and mute.
//
// How to use:
//   Soundtrack music;
//   music.Open();            // prints the music's E: line when the file cannot be read
//   music.Start(seconds);    // plays from that moment of the show
//   music.SetPaused(true);   // with the developer pause
//   music.SeekTo(paused, seconds);  // after a seek or a loop

#include <memory>

namespace sf {
class Music;
}

// Opens the track into `music` when music is enabled; on failure prints the one error line and
// the show runs by the clock alone.
void music_init(sf::Music& music);
// Plays (`play`) or pauses the music when music is enabled.
void music_play(sf::Music& music, bool play);

class Soundtrack {
 public:
  Soundtrack();
  ~Soundtrack();
  Soundtrack(const Soundtrack&) = delete;
  Soundtrack& operator=(const Soundtrack&) = delete;

  // Opens the music where there is a device; otherwise says once that the show plays silently
  // and still reports a missing or broken track. False when nothing will sound.
  bool Open();
  // Plays from `seconds` into the show.
  void Start(float seconds);
  // Pauses or plays on.
  void SetPaused(bool paused);
  // Puts the music at `seconds` into the show (a seek or a loop), playing unless `paused`.
  void SeekTo(bool paused, float seconds);
  // Playback speed: the music is played faster or slower, its pitch with it.
  void SetSpeed(float speed);
  // Mutes or unmutes; returns the new state.
  bool ToggleMute();
  bool Muted() const { return muted_; }
  void Stop();

  // What the music is doing now, as the sound library has it (all zero and false before Open
  // found a device): for the tests, which run with OpenAL's silent driver.
  struct State {
    bool open = false;
    bool playing = false;
    bool paused = false;
    float offset = 0.0f;  // seconds into the track
    float pitch = 0.0f;
    float volume = 0.0f;
  };
  State Now() const;

 private:
  std::unique_ptr<sf::Music> music_;
  bool muted_ = false;
};

#endif
