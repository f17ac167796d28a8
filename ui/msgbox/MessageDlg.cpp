// CMessageDlg: creation, layout, commands, countdown, title bar, dragging.
#include "ui/msgbox/MessageDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "platform/ResourceFiles.h"
#include "platform/wx/TextMeasure.h"
#include "platform/wx/WorkArea.h"
#include "ui/msgbox/MessageBoxTypes.h"
#include "ui/msgbox/MessageDlgButtons.h"
#include "ui/msgbox/MessageDlgHook.h"
#include "ui/msgbox/MessageDlgTitleBar.h"
#include "ui/msgbox/ShowMessageDlg.h"

wxDEFINE_EVENT(WM_PMESSAGEBOX_CLOSE, wxCommandEvent);

namespace {

constexpr int kCountdownTimerId = 1;
constexpr int kCountdownPeriodMs = 1000;
constexpr int kFrameId = 25;
constexpr int kIconId = 26;
constexpr int kTextId = 27;
// The window title (not the drawn one) is cut to this many characters.
constexpr size_t kMaxWindowTitleLength = 50;

const int kButtonIds[3] = {MESSAGEDLG_BUTTON1, MESSAGEDLG_BUTTON2, MESSAGEDLG_BUTTON3};

wxFont MessageDlgFont() {
  return wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
}

// The program's icon at the box's icon size, or an invalid bitmap.
wxBitmap LoadBoxIcon() {
  const int iconId = GetMessageDlgIcon();
  if (iconId == 0) return wxBitmap();
  const std::string file = FindResourceFileById(iconId);
  if (file.empty()) return wxBitmap();
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxLogNull quiet;
  wxImage image;
  if (!image.LoadFile(wxString::FromUTF8(file), wxBITMAP_TYPE_ANY) || !image.IsOk()) return wxBitmap();
  if (image.GetWidth() != kMessageDlgIconSize || image.GetHeight() != kMessageDlgIconSize) {
    image.Rescale(kMessageDlgIconSize, kMessageDlgIconSize, wxIMAGE_QUALITY_HIGH);
  }
  return wxBitmap(image);
}

}  // namespace

CMessageDlg::CMessageDlg(wxWindow* owner, const wxString& text, const wxString& caption, int type,
                         int options, const MessageDlgValue& value, const wxString& buttonTexts,
                         int* checkState)
    : m_pOwner(owner),
      m_strText(text),
      m_strCaption(caption),
      m_nType(type),
      m_nButtonSet(type & MB_TYPEMASK),
      m_nDefaultBits(type & MB_DEFMASK),
      m_nOptions(options),
      m_pCheckState(checkState),
      m_language(GetUserLanguage()),
      m_countdownTimer(this, kCountdownTimerId) {
  if (options & MDO_COUNTDOWN) m_nCountdown = value.nSeconds;
  m_strButtonTexts = MessageDlgSetTexts(m_nButtonSet, m_language);
  if (options & MDO_BUTTONTEXTS) m_strButtonTexts = SplitButtonTexts(buttonTexts);
  if (options & (MDO_CHECKBOX | MDO_CHECKBOX_CHECKED)) {
    m_strCheckText = value.strText;
    if (m_pCheckState != nullptr) *m_pCheckState = (options & MDO_CHECKBOX_CHECKED) ? 1 : 0;
  }
}

CMessageDlg::~CMessageDlg() {
  m_countdownTimer.Stop();
}

bool CMessageDlg::CreateBox() {
  const wxPoint start = m_pOwner != nullptr ? m_pOwner->GetScreenPosition() + wxPoint(10, 10)
                                            : wxPoint(10, 10);
  const long style = wxBORDER_NONE | (m_pOwner == nullptr ? wxDIALOG_NO_PARENT : 0);
  if (!wxDialog::Create(m_pOwner, wxID_ANY, m_strCaption.Left(kMaxWindowTitleLength), start,
                        wxSize(kMessageDlgMinContentWidth + 20, kMessageDlgMinContentHeight + 110),
                        style, "MessageDlg")) {
    return false;
  }
  SetFont(MessageDlgFont());
  SetBackgroundStyle(wxBG_STYLE_SYSTEM);

  CreateControls();
  wxBitmap measureBitmap(1, 1);
  wxMemoryDC measureDc(measureBitmap);
  measureDc.SetFont(MessageDlgFont());
  ApplyLayout(measureDc);
  measureDc.SelectObject(wxNullBitmap);
  CreateTitleBitmaps();
  FocusDefaultButton();

  Bind(wxEVT_BUTTON, &CMessageDlg::OnButton, this);
  Bind(wxEVT_CHECKBOX, &CMessageDlg::OnCheckBox, this, MESSAGEDLG_CHECKBOX);
  Bind(WM_PMESSAGEBOX_CLOSE, &CMessageDlg::OnCloseRequest, this);
  Bind(wxEVT_CHAR_HOOK, &CMessageDlg::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMessageDlg::OnClose, this);
  Bind(wxEVT_TIMER, &CMessageDlg::OnCountdownTimer, this, kCountdownTimerId);
  Bind(wxEVT_ACTIVATE, &CMessageDlg::OnActivate, this);
  Bind(wxEVT_PAINT, &CMessageDlg::OnPaint, this);
  for (wxWindow* background : {static_cast<wxWindow*>(this), static_cast<wxWindow*>(m_pText),
                               static_cast<wxWindow*>(m_pIcon), static_cast<wxWindow*>(m_pFrame)}) {
    background->Bind(wxEVT_LEFT_DOWN, &CMessageDlg::OnDragStart, this);
  }
  Bind(wxEVT_MOTION, &CMessageDlg::OnDragMove, this);
  Bind(wxEVT_LEFT_UP, &CMessageDlg::OnDragEnd, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CMessageDlg::OnDragLost, this);

  if (m_nOptions & MDO_COUNTDOWN) m_countdownTimer.Start(kCountdownPeriodMs);
  CentreOnOwnerOrWorkArea();
  m_bInitialised = true;
  return true;
}

void CMessageDlg::CreateControls() {
  // The frame first: the icon and the text lie over it.
  m_pFrame = new wxStaticBox(this, kFrameId, wxString());
  m_pIcon = new wxStaticBitmap(this, kIconId, LoadBoxIcon());
  m_pText = new wxStaticText(this, kTextId, wxString(), wxDefaultPosition, wxDefaultSize,
                             wxST_NO_AUTORESIZE);
  for (size_t i = 0; i < m_pButtons.size(); ++i) {
    m_pButtons[i] = new wxButton(this, kButtonIds[i], wxString::Format("BTN%zu", i + 1));
    m_pButtons[i]->Hide();
  }
  m_pCheckBox = new wxCheckBox(this, MESSAGEDLG_CHECKBOX, m_strCheckText);
  m_pCheckBox->Hide();
}

void CMessageDlg::ApplyLayout(wxDC& dc) {
  MessageDlgMetrics metrics;
  metrics.textWidth = MeasureTextWidth(dc, m_strText);
  metrics.textHeight = MeasureTextHeight(dc, false, m_strText);
  metrics.buttonTexts = m_strButtonTexts;
  for (size_t i = 0; i < 3; ++i) {
    metrics.buttonTextWidths[i] = dc.GetTextExtent(m_strButtonTexts[i]).x;
  }
  metrics.checkBoxText = m_strCheckText;
  if (!m_strCheckText.empty()) {
    metrics.checkBoxTextWidth = dc.GetTextExtent(m_strCheckText).x;
    // The toolkit's indicator and spacing, where they need more than the classic 20 pixels.
    const int toolkitExtra = m_pCheckBox->GetBestSize().x - m_pCheckBox->GetTextExtent(m_strCheckText).x;
    metrics.checkBoxExtra = std::max(kMessageDlgCheckBoxExtra, toolkitExtra);
  }
  metrics.noButtons = (m_nOptions & MDO_NOBUTTONS) != 0;
  m_layout = ComputeMessageDlgLayout(metrics);

  SetSize(m_layout.window);
  m_pFrame->SetSize(m_layout.frame);
  m_pIcon->SetSize(m_layout.icon);
  m_pText->SetSize(m_layout.text);

  const std::array<bool, 3> shown = MessageDlgShownButtons(m_nButtonSet);
  for (size_t i = 0; i < 3; ++i) {
    wxButton* button = m_pButtons[i];
    if (metrics.noButtons) {
      button->Disable();
      continue;
    }
    // A button of the set without text has no width: it stays out of sight.
    if (shown[i] && m_layout.buttonWidths[i] > 0) {
      button->SetSize(m_layout.buttons[i]);
      button->SetLabel(m_strButtonTexts[i]);
      button->Show();
    }
  }

  m_pText->SetLabelText((m_nOptions & MDO_COUNTDOWN) ? CountdownText(m_strText, m_nCountdown) : m_strText);

  if (m_layout.checkBoxWidth != 0) {
    m_pCheckBox->SetValue((m_nOptions & MDO_CHECKBOX_CHECKED) != 0);
    m_pCheckBox->SetSize(m_layout.checkBox);
    m_pCheckBox->Show();
  }
}

void CMessageDlg::CreateTitleBitmaps() {
  const int width = m_layout.title.width;
  const int height = m_layout.title.height;
  if (width <= 0 || height <= 0) return;
  struct Form {
    wxBitmap& bitmap;
    wxColour start, end, text;
  };
  Form forms[2] = {
      {m_titleActive, kMessageDlgActiveTitleStart, kMessageDlgActiveTitleEnd, *wxWHITE},
      {m_titleInactive, wxSystemSettings::GetColour(wxSYS_COLOUR_INACTIVECAPTION),
       wxSystemSettings::GetColour(wxSYS_COLOUR_GRADIENTINACTIVECAPTION),
       wxSystemSettings::GetColour(wxSYS_COLOUR_INACTIVECAPTIONTEXT)},
  };
  for (Form& form : forms) {
    form.bitmap.Create(width, height, wxBITMAP_SCREEN_DEPTH);
    wxMemoryDC dc(form.bitmap);
    dc.SetFont(MessageDlgFont());
    DrawMessageDlgTitle(dc, width, height, m_strCaption, form.start, form.end, form.text);
    dc.SelectObject(wxNullBitmap);
  }
}

void CMessageDlg::CentreOnOwnerOrWorkArea() {
  const wxRect box = GetRect();
  wxRect area;
  wxWindow* ownerFrame = m_pOwner != nullptr ? wxGetTopLevelParent(m_pOwner) : nullptr;
  const bool ownerUsable = m_pOwner != nullptr && m_pOwner->IsShown() &&
                           !(ownerFrame != nullptr && ownerFrame->IsTopLevel() &&
                             static_cast<wxTopLevelWindow*>(ownerFrame)->IsIconized());
  if (ownerUsable) {
    area = m_pOwner->GetScreenRect();
  } else {
    GetNearestWorkArea(box, &area, nullptr);
  }
  wxRect centred = box;
  centred.x = (area.x + area.x + area.width) / 2 - box.width / 2;
  centred.y = (area.y + area.y + area.height) / 2 - box.height / 2;
  wxRect fitted;
  FitRectToWorkArea(centred, fitted, nullptr);
  Move(fitted.GetPosition());
}

void CMessageDlg::FocusDefaultButton() {
  const size_t index = static_cast<size_t>(MessageDlgFocusCommand(m_nDefaultBits) / 10 - 1);
  wxButton* button = m_pButtons[index];
  if (!button->IsShown()) button = m_pButtons[0];
  if (!button->IsShown()) return;
  button->SetDefault();
  button->SetFocus();
}

int CMessageDlg::ShowModal() {
  if (!m_bInitialised) return -1;
  MessageDlgEntered(*this);
  CallAfter([this] {
    FocusDefaultButton();
    if (!m_bEnded) MessageDlgOpened(*this);
  });
  const int result = wxDialog::ShowModal();
  MessageDlgLeft(*this);
  return result;
}

wxString CMessageDlg::GetShownText() const {
  return m_pText != nullptr ? m_pText->GetLabelText() : wxString();
}

wxButton* CMessageDlg::GetButton(int number) const {
  if (number < 1 || number > 3) return nullptr;
  return m_pButtons[static_cast<size_t>(number - 1)];
}

void CMessageDlg::PressButton(int commandId) {
  if (commandId == MESSAGEDLG_CHECKBOX) {
    if (m_pCheckState != nullptr && m_pCheckBox != nullptr) *m_pCheckState = m_pCheckBox->GetValue() ? 1 : 0;
    return;
  }
  EndWith(MessageDlgResult(m_nButtonSet, commandId));
}

bool CMessageDlg::Answer(int result) {
  const std::array<bool, 3> shown = MessageDlgShownButtons(m_nButtonSet);
  const bool anyShown = shown[0] || shown[1] || shown[2];
  for (size_t i = 0; i < 3; ++i) {
    if ((shown[i] || !anyShown) && MessageDlgResult(m_nButtonSet, kButtonIds[i]) == result) {
      PressButton(kButtonIds[i]);
      return true;
    }
  }
  if (MessageDlgResult(m_nButtonSet, MESSAGEDLG_ESCAPE) == result) {
    PressButton(MESSAGEDLG_ESCAPE);
    return true;
  }
  return false;
}

void CMessageDlg::EndWith(int result) {
  if (m_bEnded) return;
  m_bEnded = true;
  m_countdownTimer.Stop();
  if (HasCapture()) ReleaseMouse();
  if (IsModal()) {
    EndModal(result);
  } else {
    SetReturnCode(result);
  }
}

void CMessageDlg::OnButton(wxCommandEvent& event) {
  const int id = event.GetId();
  if (id == MESSAGEDLG_BUTTON1 || id == MESSAGEDLG_BUTTON2 || id == MESSAGEDLG_BUTTON3) {
    PressButton(id);
  } else {
    event.Skip();
  }
}

void CMessageDlg::OnCheckBox(wxCommandEvent&) {
  PressButton(MESSAGEDLG_CHECKBOX);
}

void CMessageDlg::OnCloseRequest(wxCommandEvent&) {
  PressButton(MESSAGEDLG_BUTTON1);
}

void CMessageDlg::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    PressButton(MESSAGEDLG_ESCAPE);
    return;
  }
  event.Skip();
}

void CMessageDlg::OnClose(wxCloseEvent&) {
  PressButton(MESSAGEDLG_ESCAPE);
}

void CMessageDlg::OnCountdownTimer(wxTimerEvent&) {
  --m_nCountdown;
  if (m_nCountdown > 0) {
    if (m_strText.Contains("%d")) m_pText->SetLabelText(CountdownText(m_strText, m_nCountdown));
    return;
  }
  m_countdownTimer.Stop();
  PressButton(MessageDlgCountdownCommand(m_nDefaultBits));
}

void CMessageDlg::OnActivate(wxActivateEvent& event) {
  m_bActive = event.GetActive();
  Refresh(false);
  event.Skip();
}

void CMessageDlg::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxBitmap& title = m_bActive ? m_titleActive : m_titleInactive;
  if (title.IsOk()) dc.DrawBitmap(title, m_layout.title.GetPosition(), false);
  // The box's own border: it has no window-manager frame.
  const wxSize size = GetClientSize();
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW)));
  dc.DrawRectangle(0, 0, size.x, size.y);
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT)));
  dc.DrawLine(1, size.y - 2, 1, 1);
  dc.DrawLine(1, 1, size.x - 2, 1);
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
  dc.DrawLine(1, size.y - 2, size.x - 2, size.y - 2);
  dc.DrawLine(size.x - 2, size.y - 2, size.x - 2, 1);
}

void CMessageDlg::OnDragStart(wxMouseEvent& event) {
  m_dragOffset = wxGetMousePosition() - GetPosition();
  m_bDragging = true;
  if (!HasCapture()) CaptureMouse();
  event.Skip(false);
}

void CMessageDlg::OnDragMove(wxMouseEvent& event) {
  if (m_bDragging && event.LeftIsDown()) Move(wxGetMousePosition() - m_dragOffset);
  event.Skip();
}

void CMessageDlg::OnDragEnd(wxMouseEvent& event) {
  if (m_bDragging) {
    m_bDragging = false;
    if (HasCapture()) ReleaseMouse();
  }
  event.Skip();
}

void CMessageDlg::OnDragLost(wxMouseCaptureLostEvent&) {
  m_bDragging = false;
}
