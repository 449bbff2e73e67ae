#ifndef TESSARY_PLATFORM_WEB_PAGE_H
#define TESSARY_PLATFORM_WEB_PAGE_H

// The player's side of the page it runs in (web/page.js): the clock, the music through Web
// Audio, what the page shows beside the canvas, and downloads. Everything here calls into the
// page's script object `tessaryPage`.
//
// How to use:
//   const double now = page::clock_seconds();     // once a frame: the audio clock, or the page's
//   page::music_play(12.5, 1.0);                  // the music from 12.5 s of the show, at speed 1
//   page::set_overlay("time 12.500 s ...");       // "" hides it
//   page::show_ended();                           // back to the start screen

#include <string>
#include <vector>

namespace page {

// The clock the show follows, in seconds: the audio clock while the page has sound (the
// moment being heard), else the page's own clock. Remembers the reading, which music_play
// takes as "now".
double clock_seconds();
// Whether the music was decoded and the audio context runs.
bool has_sound();
// Plays the music from `seconds` into the show as of the last clock reading, at `rate`.
void music_play(double seconds, double rate);
// Stops the music; music_resume plays it on from where it was at the last clock reading.
void music_pause();
void music_resume();
// Changes the playback rate from the last clock reading on.
void music_rate(double rate);
void music_mute(bool mute);
void music_stop();

// The document's title.
void set_title(const std::string& title);
// The developer overlay's text over the canvas; empty hides it.
void set_overlay(const std::string& text);
// A line for the developer in the browser's console.
void log(const std::string& line);
// Offers `bytes` to the user as a file download called `name`.
void download(const std::string& name, const std::vector<unsigned char>& bytes,
              const char* mime_type);
// The show is over: the page shows its start screen again.
void show_ended();

}  // namespace page

#endif
