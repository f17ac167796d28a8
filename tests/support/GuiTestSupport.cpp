// Event-loop pumping, pixel read-back and guarded message boxes for tests.
#include "tests/support/GuiTestSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>

#include "ui/msgbox/ShowMessageDlg.h"

void PumpFor(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return condition();
    wxTheApp->Yield(true);
    wxMilliSleep(2);
  }
}

wxBitmap GrabClient(wxWindow* window) {
  const wxSize size = window->GetClientSize();
  wxBitmap bitmap(size.x, size.y, 24);
  wxMemoryDC memory(bitmap);
  wxClientDC client(window);
  memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  memory.SelectObject(wxNullBitmap);
  return bitmap;
}

wxColour PixelAt(const wxBitmap& bitmap, int x, int y) {
  const wxImage image = bitmap.ConvertToImage();
  if (x < 0 || y < 0 || x >= image.GetWidth() || y >= image.GetHeight()) return wxColour();
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

std::string CompareBitmaps(const wxBitmap& actual, const wxBitmap& expected) {
  if (!actual.IsOk() || !expected.IsOk()) return "invalid bitmap";
  if (actual.GetSize() != expected.GetSize()) {
    return "size " + std::to_string(actual.GetWidth()) + "x" + std::to_string(actual.GetHeight()) +
           " instead of " + std::to_string(expected.GetWidth()) + "x" + std::to_string(expected.GetHeight());
  }
  const wxImage a = actual.ConvertToImage();
  const wxImage e = expected.ConvertToImage();
  for (int y = 0; y < a.GetHeight(); ++y) {
    for (int x = 0; x < a.GetWidth(); ++x) {
      if (a.GetRed(x, y) != e.GetRed(x, y) || a.GetGreen(x, y) != e.GetGreen(x, y) ||
          a.GetBlue(x, y) != e.GetBlue(x, y)) {
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
               wxColour(a.GetRed(x, y), a.GetGreen(x, y), a.GetBlue(x, y)).GetAsString().ToStdString() +
               ", expected " +
               wxColour(e.GetRed(x, y), e.GetGreen(x, y), e.GetBlue(x, y)).GetAsString().ToStdString();
      }
    }
  }
  return std::string();
}

int ShowAndHandle(const std::function<int()>& show, const std::function<void(CMessageDlg&)>& onOpen,
                  int safetyMs) {
  ScopedMessageDlgHook hook(onOpen);
  wxTimer safety;
  safety.Bind(wxEVT_TIMER, [](wxTimerEvent&) {
    ADD_FAILURE() << "a message box was still open at the safety deadline";
    while (CMessageDlg* box = FindOpenMessageDlg()) {
      if (box->IsEnded()) break;
      box->PressButton(2);
    }
  });
  safety.StartOnce(safetyMs);
  const int result = show();
  safety.Stop();
  return result;
}

ScopedLcAll::ScopedLcAll(const char* value) {
  if (const char* old = std::getenv("LC_ALL")) m_old = old;
  setenv("LC_ALL", value, 1);
}

ScopedLcAll::~ScopedLcAll() {
  if (m_old) {
    setenv("LC_ALL", m_old->c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}
