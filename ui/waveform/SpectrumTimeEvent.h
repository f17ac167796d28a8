// SpectrumTimeEvent: the two notifications of the waveform view, queued
// (never processed synchronously) to the handler named with
// CSpectrumCtrl::SetNotifyWindow.
//
//   WM_SPECTRUM_CHANGE_TIME  GetSelStart(), GetSelEnd(): the new selection in
//                            ms (either may be -1 right after an analysis).
//   WM_SPECTRUM_MOUSE_TIME   GetTime(): the time under the pointer in ms.
//
// The raw pair is also kept as GetWParam()/GetLParam() (the mouse time
// carries 0 as its second value) and as GetInt()/GetExtraLong().
#pragma once

#include <wx/event.h>

class SpectrumTimeEvent : public wxCommandEvent {
 public:
  SpectrumTimeEvent(wxEventType type = wxEVT_NULL, int id = 0, int wParam = 0, int lParam = 0);

  int GetWParam() const { return m_nWParam; }
  int GetLParam() const { return m_nLParam; }
  int GetSelStart() const { return m_nWParam; }
  int GetSelEnd() const { return m_nLParam; }
  int GetTime() const { return m_nWParam; }

  wxEvent* Clone() const override { return new SpectrumTimeEvent(*this); }

 private:
  int m_nWParam;
  int m_nLParam;
};

wxDECLARE_EVENT(WM_SPECTRUM_CHANGE_TIME, SpectrumTimeEvent);
wxDECLARE_EVENT(WM_SPECTRUM_MOUSE_TIME, SpectrumTimeEvent);
