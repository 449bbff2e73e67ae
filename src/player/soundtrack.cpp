#include "player/soundtrack.h"

#include <SFML/Audio.hpp>
#include <cstdio>
#include <string>

#include "demo/startup.h"
#include "helpers.h"
#include "platform/platform.h"
#include "player/flags.h"

namespace {
// The id of the music's error line: fixed, as scripts and the README match the whole line.
constexpr int music_message_id = 51;

void report_music_failure() {
  print_error("main", music_message_id, "music_init",
              std::string("Couldn't open music from file ") + music_path);
}
}  // namespace

void music_init(sf::Music& music) {
  if (!music_enabled) return;
  if (!music.openFromFile(music_path)) report_music_failure();
}

void music_play(sf::Music& music, bool play) {
  if (!music_enabled) return;
  if (play) {
    music.play();
  } else {
    music.pause();
  }
}

Soundtrack::Soundtrack() = default;
Soundtrack::~Soundtrack() = default;

bool Soundtrack::Open() {
  // Even constructing sf::Music opens a device: it exists only where there is one.
  if (platform::audio_device_available()) {
    music_ = std::make_unique<sf::Music>();
    music_init(*music_);
    return music_enabled && music_->getDuration() > sf::Time::Zero;
  }
  std::fprintf(stderr, "tessary: no audio device; the show plays silently, timed by the clock\n");
  // A missing or broken track is still reported as it would be with sound.
  sf::InputSoundFile file;
  if (music_enabled && !file.openFromFile(music_path)) report_music_failure();
  return false;
}

void Soundtrack::Start(float seconds) {
  if (!music_) return;
  music_play(*music_, true);
  if (seconds > 0) music_->setPlayingOffset(sf::seconds(seconds));
}

void Soundtrack::SetPaused(bool paused) {
  if (music_) music_play(*music_, !paused);
}

void Soundtrack::SeekTo(bool paused, float seconds) {
  if (!music_ || !music_enabled) return;
  // A stream that played to its end has stopped: start it again before placing it.
  if (!paused && music_->getStatus() == sf::SoundSource::Stopped) music_->play();
  music_->setPlayingOffset(sf::seconds(seconds));
}

void Soundtrack::SetSpeed(float speed) {
  if (music_) music_->setPitch(speed);
}

bool Soundtrack::ToggleMute() {
  muted_ = !muted_;
  if (music_) music_->setVolume(muted_ ? 0.0f : 100.0f);
  return muted_;
}

void Soundtrack::Stop() {
  if (music_) music_->stop();
}

Soundtrack::State Soundtrack::Now() const {
  State state;
  if (!music_) return state;
  state.open = music_->getDuration() > sf::Time::Zero;
  state.playing = music_->getStatus() == sf::SoundSource::Playing;
  state.paused = music_->getStatus() == sf::SoundSource::Paused;
  state.offset = music_->getPlayingOffset().asSeconds();
  state.pitch = music_->getPitch();
  state.volume = music_->getVolume();
  return state;
}
