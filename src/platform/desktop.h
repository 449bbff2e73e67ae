#ifndef TESSARY_PLATFORM_DESKTOP_H
#define TESSARY_PLATFORM_DESKTOP_H

// What the player asks of the desktop beyond its window: the screensaver held off while the
// show plays, whether the window can be seen (minimised: step without drawing), the display's
// refresh rate (to tell whether vertical sync paces frames), and the signals that end the show
// as Escape does. One implementation per windowing system.
//
// How to use:
//   platform::catch_end_signals();                        // before the window opens
//   hold_off_screensaver(window.getSystemHandle(), true);
//   if (end_signal() != 0) ...                  // each frame: leave the loop
//   if (!window_shown(handle)) ...              // minimised or unmapped
//   ... after the window is closed: reraise_end_signal();

#include <SFML/Window/WindowHandle.hpp>

namespace platform {

// SIGINT, SIGTERM and SIGHUP (or their kin) from now on only set a flag that end_signal() reads,
// so the show ends through its normal shutdown: window closed, the desktop's mode restored.
void catch_end_signals();
// The signal that asked the show to end, or 0.
int end_signal();
// Ends the process by the caught signal with its default action, so the exit status is what it
// would have been without the handler; nothing when none was caught.
void reraise_end_signal();

// Keeps the screensaver and display power saving from starting while `hold` (until false, or
// the program ends).
void hold_off_screensaver(sf::WindowHandle window, bool hold);
// Whether the window is mapped and so can be seen (not minimised).
bool window_shown(sf::WindowHandle window);
// The refresh rate of the display the window is on, in Hz, or 0 when it cannot be told.
float display_refresh_rate(sf::WindowHandle window);

// The window can be destroyed from outside (a tool killing it rather than asking it to close).
// After this call, that sets `*lost`, so the frame loop ends after the frame in progress and the
// show shuts down normally. Call before the window is created.
void watch_window_loss(bool* lost);
// Names the window whose loss counts, once it exists; losses of other windows are ignored.
void watch_window(sf::WindowHandle window);

}  // namespace platform

#endif
