#ifndef TESSARY_PLAYER_FLAGS_H
#define TESSARY_PLAYER_FLAGS_H

// The player's global flags and settings, live for the whole run.
extern bool music_enabled;  // the music is opened and played; nothing changes it
extern bool fullscreen;     // the window is opened fullscreen; -w clears it
extern bool mushroom_mode;  // the developer controls; -magic sets it
extern bool quit;           // the window was closed (or destroyed): the loop ends
extern int resolution_x;    // the window's size in pixels (--size)
extern int resolution_y;

#endif
