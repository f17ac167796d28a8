// Wheel events through XTest (apart: the X headers' macros clash with C++).
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

void FakeWheel(bool up, bool control) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  const KeyCode ctrl = XKeysymToKeycode(display, XK_Control_L);
  const unsigned button = up ? 4 : 5;
  if (control) XTestFakeKeyEvent(display, ctrl, True, CurrentTime);
  XTestFakeButtonEvent(display, button, True, CurrentTime);
  XTestFakeButtonEvent(display, button, False, CurrentTime);
  if (control) XTestFakeKeyEvent(display, ctrl, False, CurrentTime);
  XFlush(display);
  XCloseDisplay(display);
}
