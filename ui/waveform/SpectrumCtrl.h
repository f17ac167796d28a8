// CSpectrumCtrl: the waveform view of the main window.
//
// A thin window around SpectrumModel (reduction, time <-> column mapping,
// selection and mouse rules) and SpectrumPainter (the three layers). The
// window forwards size and mouse events to the model, holds the mouse
// capture during a drag, paints by copying the composite layer, and reports
// through two queued events (SpectrumTimeEvent.h), never by calling anyone.
//
// How the owner drives it (all on the UI thread unless noted):
//
//   auto* view = new CSpectrumCtrl(parent, id, pos, size);  // final size!
//   view->SetNotifyWindow(dialog);          // receives the two events
//   dialog->Bind(WM_SPECTRUM_CHANGE_TIME, &Dlg::OnSelectionTime, dialog);
//   dialog->Bind(WM_SPECTRUM_MOUSE_TIME, &Dlg::OnMouseTime, dialog);
//   per file:
//     view->Reset();
//     { lock; view->BeginAnalysis(durationMs, rate, bits, channels); }
//     view->Redraw();                       // shows the analysing text
//     worker thread, under the same lock: view->AddPcm(data, length);
//     view->EndAnalysis(); view->Redraw();  // shows the waveform
//   then GetSelStart()/GetSelEnd(), SetPlayPosition(ms) while playing (-1
//   hides the cursor), Reset() when the file is closed.
//
// The number of columns is the client width when the control is created and
// never changes; later size changes only rebuild the layers. Create the
// control at its final size. Events are queued with wxQueueEvent to the
// notify handler (nothing is sent while none is set); the event object is the
// control and its id the control's id.
#pragma once

#include <wx/control.h>
#include <wx/font.h>

#include "ui/waveform/SpectrumModel.h"
#include "ui/waveform/SpectrumPainter.h"
#include "ui/waveform/SpectrumTimeEvent.h"

class wxEvtHandler;
class wxMouseEvent;
class wxMouseCaptureLostEvent;
class wxPaintEvent;
class wxSizeEvent;

class CSpectrumCtrl : public wxControl, private SpectrumModel::Host {
 public:
  CSpectrumCtrl() = default;
  CSpectrumCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxBORDER_NONE);
  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = wxBORDER_NONE);
  ~CSpectrumCtrl() override;

  // The handler that receives WM_SPECTRUM_CHANGE_TIME and
  // WM_SPECTRUM_MOUSE_TIME; nullptr stops them.
  void SetNotifyWindow(wxEvtHandler* handler) { m_pNotify = handler; }

  void Reset() { m_model.Reset(); }
  bool BeginAnalysis(int durationMs, int sampleRate, int bitsPerSample, int channels) {
    return m_model.BeginAnalysis(durationMs, sampleRate, bitsPerSample, channels);
  }
  // Worker thread; the caller holds its own lock around this and BeginAnalysis.
  void AddPcm(const void* bytes, int length) { m_model.AddPcm(bytes, length); }
  void EndAnalysis() { m_model.EndAnalysis(); }
  // Re-renders everything and invalidates the window.
  void Redraw() override;

  int GetSelStart() const { return m_model.GetSelStart(); }
  int GetSelEnd() const { return m_model.GetSelEnd(); }
  bool SetSelStart(int timeMs) { return m_model.SetSelStart(timeMs); }
  bool SetSelEnd(int timeMs) { return m_model.SetSelEnd(timeMs); }
  bool SetPlayPosition(int timeMs) { return m_model.SetPlayPosition(timeMs); }
  // The fades drawn over the selection (SpectrumPainter::SetFades).
  void SetFades(int fadeInMs, int fadeOutMs) {
    m_painter.SetFades(fadeInMs, fadeOutMs);
    Compose();
  }
  int TimeToX(int timeMs) const { return m_model.TimeToX(timeMs); }
  int XToTime(int x) const { return m_model.XToTime(x); }

  const SpectrumModel& GetModel() const { return m_model; }
  const SpectrumPainter& GetPainter() const { return m_painter; }
  const wxFont& GetRulerFont() const { return m_rulerFont; }

  bool AcceptsFocus() const override { return false; }

 protected:
  wxSize DoGetBestSize() const override;

 private:
  bool CreateLayers();

  // SpectrumModel::Host
  void PostChangeTime(int selStart, int selEnd) override;
  void PostMouseTime(int timeMs) override;
  void Compose() override;
  bool HoldsMouseCapture() const override;
  void BeginMouseCapture() override;
  void EndMouseCapture() override;

  void OnSize(wxSizeEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnRightDown(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);

  SpectrumModel m_model;
  SpectrumPainter m_painter;
  wxFont m_rulerFont;
  wxEvtHandler* m_pNotify = nullptr;
};
