// The main window's precision editing: zoom and scroll commands, the keys
// that place and move the selection's edges, undo and redo, and play/stop
// from the keyboard. Every command here needs a file in STATE_READY (the
// key dispatch and the menu check that first).
#include <algorithm>

#include "app/Commands.h"
#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "pipeline/ArwMan.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

constexpr double kZoomStep = 2.0;
constexpr int kSecondMs = 1000;
constexpr int kTenSecondsMs = 10 * 1000;

}  // namespace

bool CCutterDlg::RunEditCommand(int id) {
  if (m_nWorkState != STATE_READY) return id >= ID_VIEW_ZOOM_IN && id <= ID_KEY_LAST;
  switch (id) {
    case ID_VIEW_ZOOM_IN: ZoomBy(kZoomStep); break;
    case ID_VIEW_ZOOM_OUT: ZoomBy(1 / kZoomStep); break;
    case ID_VIEW_SHOW_ALL: m_pSpectrum->ShowAll(); break;
    case ID_VIEW_ZOOM_SELECTION: ZoomToSelection(); break;
    case ID_KEY_PLAY_STOP: PlayOrStop(); break;
    case ID_KEY_PAUSE: OnPause(); break;
    case ID_KEY_START_HERE: PlaceEdgeHere(true); break;
    case ID_KEY_END_HERE: PlaceEdgeHere(false); break;
    case ID_KEY_SWITCH_EDGE: m_pSpectrum->SwitchEdge(); break;
    case ID_KEY_EDGE_FRAME_BACK: MoveActiveEdgeBy(-1, 0); break;
    case ID_KEY_EDGE_FRAME_ON: MoveActiveEdgeBy(1, 0); break;
    case ID_KEY_EDGE_SECOND_BACK: MoveActiveEdgeBy(-1, kSecondMs); break;
    case ID_KEY_EDGE_SECOND_ON: MoveActiveEdgeBy(1, kSecondMs); break;
    case ID_KEY_EDGE_TEN_BACK: MoveActiveEdgeBy(-1, kTenSecondsMs); break;
    case ID_KEY_EDGE_TEN_ON: MoveActiveEdgeBy(1, kTenSecondsMs); break;
    case ID_KEY_EDGE_HOME: m_pSpectrum->MoveActiveEdge(0); break;
    case ID_KEY_EDGE_END: m_pSpectrum->MoveActiveEdge(m_pSpectrum->GetModel().GetDuration()); break;
    case ID_KEY_SELECT_ALL: m_pSpectrum->SelectAll(); break;
    case ID_KEY_UNDO: m_pSpectrum->Undo(); break;
    case ID_KEY_REDO: m_pSpectrum->Redo(); break;
    case ID_KEY_HEAR_START:
    case ID_KEY_HEAR_BEFORE_START:
    case ID_KEY_HEAR_END:
    case ID_KEY_HEAR_AFTER_END: Prelisten(id); break;
    case ID_KEY_EDIT_START: BeginTimeEdit(0); break;
    case ID_KEY_EDIT_END: BeginTimeEdit(1); break;
    case ID_KEY_ADD_MARK: AddMarkHere(); break;
    case ID_KEY_DELETE_MARK: DeleteMarkNearPointer(); break;
    default: return false;
  }
  return true;
}

void CCutterDlg::ZoomBy(double factor) {
  const SpectrumModel& model = m_pSpectrum->GetModel();
  const WaveView& view = model.GetView();
  const int cursor = model.GetPlayPosition();
  // Around the play cursor while it shows, else around the middle.
  if (m_pArwMan && m_pArwMan->IsRunning() && cursor >= 0 && view.Contains(cursor)) {
    m_pSpectrum->ZoomAround(cursor, model.TimeToX(cursor), factor);
  } else {
    const int middle = model.TrackArea().left + model.TrackArea().Width() / 2;
    m_pSpectrum->ZoomAround(model.XToTime(middle), middle, factor);
  }
}

void CCutterDlg::ZoomToSelection() {
  const int start = std::max(m_pSpectrum->GetSelStart(), 0);
  const int end = m_pSpectrum->GetSelEnd();
  if (end > start) m_pSpectrum->ZoomTo(start, end);
}

void CCutterDlg::PlayOrStop() {
  if (m_pArwMan && m_pArwMan->IsRunning() && !m_pArwMan->IsPaused()) {
    StopPlayback();
  } else {
    OnPlay();
  }
}

void CCutterDlg::Prelisten(int id) {
  const int duration = m_pSpectrum->GetModel().GetDuration();
  // An unset start is the beginning, an unset end the end of the file.
  const int start = std::max(m_pSpectrum->GetSelStart(), 0);
  const int end = m_pSpectrum->GetSelEnd() < 0 ? duration : m_pSpectrum->GetSelEnd();
  int from = 0;
  int until = 0;
  switch (id) {
    case ID_KEY_HEAR_START: from = start, until = std::min(start + kPrelistenMs, end); break;
    case ID_KEY_HEAR_BEFORE_START: from = std::max(start - kPrelistenMs, 0), until = start; break;
    case ID_KEY_HEAR_END: from = std::max(end - kPrelistenMs, start), until = end; break;
    case ID_KEY_HEAR_AFTER_END: from = end, until = std::min(end + kPrelistenMs, duration); break;
    default: return;
  }
  if (until > from) StartPlayback(from, until);
}

int CCutterDlg::TimeHere() const {
  const SpectrumModel& model = m_pSpectrum->GetModel();
  if (m_pArwMan && m_pArwMan->IsRunning() && model.GetPlayPosition() >= 0) return model.GetPlayPosition();
  if (model.GetMouseX() >= 0) return model.XToTime(model.GetMouseX());
  return -1;
}

void CCutterDlg::PlaceEdgeHere(bool start) {
  const int time = TimeHere();
  if (time < 0) return;  // neither playing nor ever pointed at
  if (start) {
    m_pSpectrum->PlaceStart(time);
  } else {
    m_pSpectrum->PlaceEnd(time);
  }
}

// By one frame (stepMs 0) or by stepMs, earlier (direction < 0) or later.
void CCutterDlg::MoveActiveEdgeBy(int direction, int stepMs) {
  const SpectrumModel& model = m_pSpectrum->GetModel();
  const int from = model.ActiveEdgeTime();
  const int to = stepMs == 0 ? model.FrameStep(from, direction) : from + direction * stepMs;
  m_pSpectrum->MoveActiveEdge(to);
}

void CCutterDlg::FocusWaveform() {
  if (m_pSpectrum && m_pSpectrum->IsShown()) m_pSpectrum->SetFocus();
}
