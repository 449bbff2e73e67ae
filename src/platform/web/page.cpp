// The calls into the page's script (web/page.js), one small JavaScript body each.
#include "platform/web/page.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(double, js_clock, (), { return tessaryPage.clock(); });
EM_JS(int, js_has_sound, (), { return tessaryPage.hasSound() ? 1 : 0; });
EM_JS(void, js_music_play, (double seconds, double rate), { tessaryPage.music.play(seconds, rate); });
EM_JS(void, js_music_pause, (), { tessaryPage.music.pause(); });
EM_JS(void, js_music_resume, (), { tessaryPage.music.resume(); });
EM_JS(void, js_music_rate, (double rate), { tessaryPage.music.setRate(rate); });
EM_JS(void, js_music_mute, (int mute), { tessaryPage.music.mute(mute !== 0); });
EM_JS(void, js_music_stop, (), { tessaryPage.music.stop(); });
EM_JS(void, js_set_title, (const char* title), { document.title = UTF8ToString(title); });
EM_JS(void, js_set_overlay, (const char* text), { tessaryPage.setOverlay(UTF8ToString(text)); });
EM_JS(void, js_log, (const char* line), { console.log(UTF8ToString(line)); });
EM_JS(void, js_download, (const char* name, const unsigned char* bytes, int size, const char* type), {
  tessaryPage.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size), UTF8ToString(type));
});
EM_JS(void, js_show_ended, (), { tessaryPage.ended(); });
// clang-format on

}  // namespace

namespace page {

double clock_seconds() {
  return js_clock();
}
bool has_sound() {
  return js_has_sound() != 0;
}
void music_play(double seconds, double rate) {
  js_music_play(seconds, rate);
}
void music_pause() {
  js_music_pause();
}
void music_resume() {
  js_music_resume();
}
void music_rate(double rate) {
  js_music_rate(rate);
}
void music_mute(bool mute) {
  js_music_mute(mute ? 1 : 0);
}
void music_stop() {
  js_music_stop();
}
void set_title(const std::string& title) {
  js_set_title(title.c_str());
}
void set_overlay(const std::string& text) {
  js_set_overlay(text.c_str());
}
void log(const std::string& line) {
  js_log(line.c_str());
}

void download(const std::string& name, const std::vector<unsigned char>& bytes,
              const char* mime_type) {
  js_download(name.c_str(), bytes.data(), static_cast<int>(bytes.size()), mime_type);
}

void show_ended() {
  js_show_ended();
}

}  // namespace page
