// Helpers for the tests that run real windows under Xvfb: pumping the event
// loop with deadlines, reading pixels back, and showing a message box that
// a callback answers, guarded by a safety timer so that no test can hang.
#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/window.h>

#include <functional>
#include <optional>
#include <string>

class CMessageDlg;

// Runs the event loop for `milliseconds`.
void PumpFor(int milliseconds);
// Runs the event loop until `condition` holds or `timeoutMs` has passed;
// returns the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 15000);

// The pixels of a window's client area as shown on screen.
wxBitmap GrabClient(wxWindow* window);
wxColour PixelAt(const wxBitmap& bitmap, int x, int y);
// "" when equal, else a description of the first difference.
std::string CompareBitmaps(const wxBitmap& actual, const wxBitmap& expected);

// Calls `show` (which opens a message box) with `onOpen` installed as the
// box hook. A box still open after `safetyMs` fails the test and is closed
// with Escape. Returns what `show` returned.
int ShowAndHandle(const std::function<int()>& show, const std::function<void(CMessageDlg&)>& onOpen,
                  int safetyMs = 15000);

// Sets LC_ALL for the lifetime of the object.
class ScopedLcAll {
 public:
  explicit ScopedLcAll(const char* value);
  ~ScopedLcAll();
  ScopedLcAll(const ScopedLcAll&) = delete;
  ScopedLcAll& operator=(const ScopedLcAll&) = delete;

 private:
  std::optional<std::string> m_old;
};
