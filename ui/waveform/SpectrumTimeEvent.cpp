#include "ui/waveform/SpectrumTimeEvent.h"

wxDEFINE_EVENT(WM_SPECTRUM_CHANGE_TIME, SpectrumTimeEvent);
wxDEFINE_EVENT(WM_SPECTRUM_MOUSE_TIME, SpectrumTimeEvent);

SpectrumTimeEvent::SpectrumTimeEvent(wxEventType type, int id, int wParam, int lParam)
    : wxCommandEvent(type, id), m_nWParam(wParam), m_nLParam(lParam) {
  SetInt(wParam);
  SetExtraLong(lParam);
}
