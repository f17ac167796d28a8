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
// The analysis columns are as many as the client width when the control is
// created; later size changes rebuild the layers and the visible columns
// from what the analysis kept. Events are queued with wxQueueEvent to the
// notify handler (nothing is sent while none is set); the event object is the
// control and its id the control's id.
//
// Zoom and scroll: Ctrl + wheel zooms around the pointer, the wheel (also
// with Shift, and a horizontal wheel) scrolls a zoomed view, and a
// horizontal scroll bar appears along the bottom while the view is zoomed
// (the painted area gives up its height). The owner's commands call
// ZoomAround, ShowAll, ZoomTo and ScrollBy. The control takes the keyboard
// focus (a click gives it) and passes keys on to its window.
#pragma once

#include <wx/control.h>
#include <wx/font.h>

#include <string>
#include <vector>

#include "ui/waveform/DetailLoader.h"
#include "ui/waveform/SpectrumModel.h"
#include "ui/waveform/SpectrumPainter.h"
#include "ui/waveform/SpectrumTimeEvent.h"

class wxEvtHandler;
class wxMouseEvent;
class wxMouseCaptureLostEvent;
class wxPaintEvent;
class wxScrollBar;
class wxScrollEvent;
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

  void Reset();
  // The file the view shows, for the detail decoded at the deepest zoom.
  void SetSourcePath(const std::string& path);
  bool BeginAnalysis(int durationMs, int sampleRate, int bitsPerSample, int channels) {
    return m_model.BeginAnalysis(durationMs, sampleRate, bitsPerSample, channels);
  }
  // Worker thread; the caller holds its own lock around this and BeginAnalysis.
  void AddPcm(const void* bytes, int length) { m_model.AddPcm(bytes, length); }
  // Also has the frame times found, for the frame grid and the keys.
  void EndAnalysis();
  // Whether the cut is sample-exact (what the cut writes is drawn so).
  void SetExactCut(bool exact) { m_model.SetExactCut(exact); }
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

  // Zoom and scroll, passed on to the model; true when the view moved.
  bool ZoomAround(int timeMs, int x, double factor) { return m_model.ZoomAround(timeMs, x, factor); }
  bool ShowAll() { return m_model.ShowAll(); }
  bool ZoomTo(int fromMs, int toMs) { return m_model.ZoomTo(fromMs, toMs); }
  bool ScrollBy(int deltaMs) { return m_model.ScrollBy(deltaMs); }
  void SetFollowing(bool following) { m_model.SetFollowing(following); }
  bool FollowPlayPosition(int timeMs) { return m_model.FollowPlayPosition(timeMs); }
  // Keyboard editing and the selection's history, passed on to the model.
  void SwitchEdge() { m_model.SwitchEdge(); }
  bool PlaceStart(int timeMs) { return m_model.PlaceStart(timeMs); }
  bool PlaceEnd(int timeMs) { return m_model.PlaceEnd(timeMs); }
  bool MoveActiveEdge(int timeMs) { return m_model.MoveActiveEdge(timeMs); }
  bool SelectAll() { return m_model.SelectAll(); }
  bool SetSelectionRange(int startMs, int endMs) { return m_model.SetSelectionRange(startMs, endMs); }
  // Split marks, passed on to the model (a press near one drags it).
  bool AddMark(int timeMs) { return m_model.AddMark(timeMs); }
  int AddMarks(const std::vector<int>& times) { return m_model.AddMarks(times); }
  bool RemoveMarkNearest(int timeMs) { return m_model.RemoveMarkNearest(timeMs); }
  const std::vector<int>& GetMarks() const { return m_model.GetMarks(); }
  bool Undo() { return m_model.Undo(); }
  bool Redo() { return m_model.Redo(); }
  // The scroll bar shown while zoomed (null before Create).
  wxScrollBar* GetScrollBar() const { return m_pScrollBar; }

  const SpectrumModel& GetModel() const { return m_model; }
  const SpectrumPainter& GetPainter() const { return m_painter; }
  const wxFont& GetRulerFont() const { return m_rulerFont; }

  bool AcceptsFocus() const override { return true; }

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
  void ViewChanged() override;
  void RequestDetail(int startMs, int endMs) override { m_detailLoader.Request(startMs, endMs); }

  void UpdateScrollBar();
  void OnSize(wxSizeEvent& event);
  void OnWheel(wxMouseEvent& event);
  void OnScroll(wxScrollEvent& event);
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
  wxScrollBar* m_pScrollBar = nullptr;
  DetailLoader m_detailLoader;
  // Wheel rotation not yet worth a whole step (touchpads send small ones).
  int m_nWheelRest = 0;
};
