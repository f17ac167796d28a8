// Typed times: the start and end values of the main window become a text
// field when clicked (or on Ctrl+1 / Ctrl+2). The field takes the forms of
// the command line (TimeText.h: hh:mm:ss.mmm, mm:ss.mmm, ss.mmm, plain
// seconds, and the rest of its forms). Enter applies the time, clamped to
// the file; Esc, or leaving the field, cancels. A text that does not parse,
// an end before the start or a start after the end is refused: the field is
// marked, the reason shows beside it and the selection stays.
#include <wx/popupwin.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "app/CutterDlg.h"
#include "app/DialogLayout.h"
#include "app/Texts.h"
#include "platform/FormatTime.h"
#include "platform/TimeText.h"
#include "platform/wx/Translation.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

const wxColour kRefusedBackground(255, 205, 205);
constexpr int kReasonPadding = 4;

// The key goes to a field being typed in: text keys, and the field's own
// editing shortcuts (select all, copy, paste, cut, undo).
bool IsFieldKey(const wxKeyEvent& event) {
  const int code = event.GetKeyCode();
  if (code >= WXK_F1 && code <= WXK_F24) return false;
  if (event.GetModifiers() & (wxMOD_CONTROL | wxMOD_ALT)) {
    return event.GetModifiers() == wxMOD_CONTROL && wxString("ACVXZY").Find(static_cast<wxChar>(code)) != wxNOT_FOUND;
  }
  return true;
}

}  // namespace

void CCutterDlg::CreateTimeEditor() {
  m_pTimeEdit = new wxTextCtrl(m_pPanel, IDC_TIME_EDIT, wxString(), wxDefaultPosition, wxDefaultSize,
                               wxTE_PROCESS_ENTER);
  m_pTimeEdit->Hide();
  m_pTimeEdit->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { ApplyTimeEdit(); });
  m_pTimeEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { ShowTimeRefusal(nullptr); });
  m_pTimeEdit->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
    event.Skip();
    // Leaving the field cancels, once the focus has really gone elsewhere.
    CallAfter([this] {
      if (m_nTimeEdge >= 0 && wxWindow::FindFocus() != m_pTimeEdit) EndTimeEdit();
    });
  });
  // A click on a time value edits it (the labels have no window of their
  // own in every toolkit: the panel sees the click).
  auto clicked = [this](wxMouseEvent& event) {
    event.Skip();
    const wxPoint at = m_pPanel->ScreenToClient(wxGetMousePosition());
    if (m_pStartTime->GetRect().Contains(at)) BeginTimeEdit(0);
    if (m_pEndTime->GetRect().Contains(at)) BeginTimeEdit(1);
  };
  m_pPanel->Bind(wxEVT_LEFT_DOWN, clicked);
  m_pStartTime->Bind(wxEVT_LEFT_DOWN, clicked);
  m_pEndTime->Bind(wxEVT_LEFT_DOWN, clicked);
}

void CCutterDlg::BeginTimeEdit(int edge) {
  if (m_nWorkState != STATE_READY || !m_pTimeEdit) return;
  if (m_nTimeEdge >= 0) EndTimeEdit();
  wxStaticText* label = edge == 0 ? m_pStartTime : m_pEndTime;
  const int value = edge == 0 ? m_pSpectrum->GetSelStart() : m_pSpectrum->GetSelEnd();
  m_nTimeEdge = edge;
  PlaceTimeEditor();
  m_pTimeEdit->ChangeValue(FormatTime(std::max(value, 0)));
  m_pTimeEdit->SetBackgroundColour(wxNullColour);
  label->Hide();
  m_pTimeEdit->Show();
  m_pTimeEdit->Raise();
  m_pTimeEdit->SetFocus();
  m_pTimeEdit->SelectAll();
}

void CCutterDlg::PlaceTimeEditor() {
  if (m_nTimeEdge < 0) return;
  // As wide as the label and a bit, as high as the field needs, centred on
  // the label's row.
  const wxRect place = (m_nTimeEdge == 0 ? m_pStartTime : m_pEndTime)->GetRect();
  const int height = std::max(m_pTimeEdit->GetBestSize().y, place.height);
  m_pTimeEdit->SetSize(place.x, place.y + place.height / 2 - height / 2, place.width + place.height, height);
}

void CCutterDlg::EndTimeEdit() {
  if (m_nTimeEdge < 0) return;
  ShowTimeRefusal(nullptr);
  m_nTimeEdge = -1;
  m_pTimeEdit->Hide();
  m_pStartTime->Show(m_nWorkState != STATE_ANALYSING);
  m_pEndTime->Show(m_nWorkState != STATE_ANALYSING);
  FocusWaveform();
}

void CCutterDlg::ApplyTimeEdit() {
  if (m_nTimeEdge < 0) return;
  const TimeTextResult typed = ParseTimeText(m_pTimeEdit->GetValue().Trim(true).Trim(false).utf8_string());
  if (typed.status == TimeTextStatus::Malformed) {
    ShowTimeRefusal(apptext::kTimeMalformed);
    return;
  }
  const int duration = m_pSpectrum->GetModel().GetDuration();
  // Past the end of the file (or past what a time can hold): the end.
  const int time = static_cast<int>(
      typed.status == TimeTextStatus::Ok ? std::min<int64_t>(typed.ms, duration) : duration);
  const int start = m_pSpectrum->GetSelStart();
  const int end = m_pSpectrum->GetSelEnd();
  if (m_nTimeEdge == 0) {
    if (end >= 0 && time > end) {
      ShowTimeRefusal(apptext::kStartAfterEnd);
      return;
    }
    m_pSpectrum->PlaceStart(time);
  } else {
    if (start >= 0 && time < start) {
      ShowTimeRefusal(apptext::kEndBeforeStart);
      return;
    }
    m_pSpectrum->PlaceEnd(time);
  }
  EndTimeEdit();
}

void CCutterDlg::ShowTimeRefusal(const char* reason) {
  m_strTimeRefusal = reason ? reason : "";
  if (!reason) {
    if (m_pReasonPopup) m_pReasonPopup->Hide();
    if (m_pTimeEdit && m_pTimeEdit->GetBackgroundColour() == kRefusedBackground) {
      m_pTimeEdit->SetBackgroundColour(wxNullColour);
      m_pTimeEdit->Refresh();
    }
    return;
  }
  m_pTimeEdit->SetBackgroundColour(kRefusedBackground);
  m_pTimeEdit->Refresh();
  if (!m_pReasonPopup) {
    m_pReasonPopup = new wxPopupWindow(this, wxBORDER_SIMPLE);
    m_pReasonPopup->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK));
    m_pReasonText = new wxStaticText(m_pReasonPopup, wxID_ANY, wxString());
    m_pReasonText->SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INFOTEXT));
  }
  m_pReasonText->SetLabel(Tr(reason));
  const wxSize text = m_pReasonText->GetBestSize();
  m_pReasonText->SetPosition(wxPoint(kReasonPadding, kReasonPadding));
  m_pReasonPopup->SetClientSize(text + wxSize(2 * kReasonPadding, 2 * kReasonPadding));
  // Above the field, its right edge with the field's.
  const wxRect field = m_pTimeEdit->GetScreenRect();
  const wxSize size = m_pReasonPopup->GetSize();
  m_pReasonPopup->Position(wxPoint(field.GetRight() - size.x, field.y - size.y), wxSize(0, 0));
  m_pReasonPopup->Show();
}

bool CCutterDlg::TimeEditorTakes(const wxKeyEvent& event) const {
  return m_nTimeEdge >= 0 && wxWindow::FindFocus() == m_pTimeEdit && IsFieldKey(event);
}
