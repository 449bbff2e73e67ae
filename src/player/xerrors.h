#ifndef TESSARY_PLAYER_XERRORS_H
#define TESSARY_PLAYER_XERRORS_H

#include <string>

// The window can be destroyed from outside (a tool or window manager killing the window rather
// than asking it to close). Xlib's default error handler would then end the program with status
// 1 on the next call that names the window. Instead, after this call, such an error sets
// `*lost` and is otherwise ignored, so the frame loop ends after the frame in progress and the
// show shuts down normally. Call before the window is created.
void watch_window_loss(bool* lost);
// Names the window whose loss counts, once it exists (its X window id); errors about other
// windows are ignored.
void watch_window(unsigned long window);

// Whether an X display can be opened; `reason` says why not (DISPLAY unset, or refused). The
// connection stays open until the program ends.
bool display_available(std::string& reason);

#endif
