// What the end-to-end tests ask the X server about the player's window and the desktop.
// Usage:
//   xprobe close WINDOW_ID   asks the window to close as a window manager does (WM_DELETE_WINDOW)
//   xprobe saver             prints the screensaver's state: on, off or disabled
//   xprobe cursor            prints how many pixels of the pointer's cursor can be seen
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/scrnsaver.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int close_window(Display* display, const char* id) {
  const Window window = std::strtoul(id, nullptr, 0);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  return 0;
}

int saver_state(Display* display) {
  XScreenSaverInfo* info = XScreenSaverAllocInfo();
  if (info == nullptr || !XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) {
    std::fprintf(stderr, "xprobe: no screensaver extension\n");
    return 1;
  }
  std::printf("%s\n", info->state == ScreenSaverOn    ? "on"
                      : info->state == ScreenSaverOff ? "off"
                                                      : "disabled");
  XFree(info);
  return 0;
}

int cursor_pixels(Display* display) {
  XFixesCursorImage* image = XFixesGetCursorImage(display);
  if (image == nullptr) {
    std::fprintf(stderr, "xprobe: no cursor image\n");
    return 1;
  }
  int seen = 0;
  for (int i = 0; i < image->width * image->height; ++i) {
    if ((image->pixels[i] >> 24) != 0) ++seen;  // alpha in the top byte
  }
  std::printf("%d\n", seen);
  XFree(image);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "xprobe: cannot open the display\n");
    return 1;
  }
  int status = 2;
  if (argc == 3 && std::strcmp(argv[1], "close") == 0) {
    status = close_window(display, argv[2]);
  } else if (argc == 2 && std::strcmp(argv[1], "saver") == 0) {
    status = saver_state(display);
  } else if (argc == 2 && std::strcmp(argv[1], "cursor") == 0) {
    status = cursor_pixels(display);
  } else {
    std::fprintf(stderr, "usage: xprobe close WINDOW_ID | saver | cursor\n");
  }
  XCloseDisplay(display);
  return status;
}
