// The show's music in the browser: the page decoded it with Web Audio before the show began,
// or has no sound (blocked, no device, undecodable) and said so on the page. The show's clock
// is the audio clock, so the music only needs placing on seeks, pauses and speed changes.
#include "player/soundtrack.h"

#include "platform/web/page.h"

struct Soundtrack::Stream {
  float rate = 1.0f;
};

Soundtrack::Soundtrack() = default;
Soundtrack::~Soundtrack() = default;

bool Soundtrack::Open() {
  if (page::has_sound()) music_ = std::make_unique<Stream>();
  return music_ != nullptr;
}

void Soundtrack::Start(float seconds) {
  if (music_) page::music_play(seconds, music_->rate);
}

void Soundtrack::SetPaused(bool paused) {
  if (!music_) return;
  if (paused) {
    page::music_pause();
  } else {
    page::music_resume();
  }
}

void Soundtrack::SeekTo(bool paused, float seconds) {
  if (!music_) return;
  page::music_play(seconds, music_->rate);
  if (paused) page::music_pause();
}

void Soundtrack::SetSpeed(float speed) {
  if (!music_) return;
  music_->rate = speed;
  page::music_rate(speed);
}

bool Soundtrack::ToggleMute() {
  muted_ = !muted_;
  if (music_) page::music_mute(muted_);
  return muted_;
}

void Soundtrack::Stop() {
  if (music_) page::music_stop();
}
