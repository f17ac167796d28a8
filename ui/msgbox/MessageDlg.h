// CMessageDlg: one modal message box (created by ShowMessageDlg, see
// ShowMessageDlg.h). A borderless box that draws its own gradient title
// bar, lays itself out from its measured text (MessageDlgLayout.h), shows
// the program's icon, up to three buttons with texts in the user's language
// (or the caller's), an optional check box and an optional countdown, and
// centres itself on its owner within the nearest monitor's work area. It
// can be dragged by any point of its background.
//
// Commands end the box with a result that depends on the button set
// (MessageDlgButtons.h): its buttons (10, 20, 30), Escape or a close request
// from the window manager (2), and the WM_PMESSAGEBOX_CLOSE event, which
// presses button 1. The check box (40) only records its state.
#pragma once

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/timer.h>

#include <array>

#include "platform/UserLanguage.h"
#include "ui/msgbox/MessageDlgLayout.h"

class wxButton;
class wxCheckBox;
class wxStaticBitmap;
class wxStaticBox;
class wxStaticText;

// Queued to an open box (wxQueueEvent), ends it as if button 1 had been
// pressed. Any code may send it; see also RequestMessageDlgClose.
wxDECLARE_EVENT(WM_PMESSAGEBOX_CLOSE, wxCommandEvent);

// The value argument of a box: the countdown's seconds (MDO_COUNTDOWN) or
// the check box's text (MDO_CHECKBOX, MDO_CHECKBOX_CHECKED).
struct MessageDlgValue {
  MessageDlgValue() = default;
  MessageDlgValue(int seconds) : nSeconds(seconds) {}                         // NOLINT: implicit by design
  MessageDlgValue(const wxString& text) : strText(text) {}                    // NOLINT
  MessageDlgValue(const char* utf8Text)                                        // NOLINT
      : strText(utf8Text != nullptr ? wxString::FromUTF8(utf8Text) : wxString()) {}
  MessageDlgValue(const wchar_t* text) : strText(text != nullptr ? wxString(text) : wxString()) {}  // NOLINT
  int nSeconds = 0;
  wxString strText;
};

class CMessageDlg : public wxDialog {
 public:
  // Keeps the arguments (nothing is shown yet): button set and default
  // button from `type`, texts from the language table or the caller's
  // `buttonTexts`, and writes the check box's initial state to `checkState`.
  CMessageDlg(wxWindow* owner, const wxString& text, const wxString& caption, int type,
              int options, const MessageDlgValue& value, const wxString& buttonTexts,
              int* checkState);
  ~CMessageDlg() override;

  // Creates the window and its controls, lays them out, focuses the
  // default button, starts the countdown and centres the box. False when
  // the window cannot be created.
  bool CreateBox();

  int ShowModal() override;

  // Acts as if command `commandId` had been given: a button (10, 20, 30),
  // Escape (2) or the check box (40). Every command but 40 ends the box.
  void PressButton(int commandId);
  // Ends the box with `result` by pressing a button that gives it in this
  // box's set (Escape when only that does); false when none does.
  bool Answer(int result);

  const wxString& GetText() const { return m_strText; }
  const wxString& GetCaption() const { return m_strCaption; }
  int GetType() const { return m_nType; }
  int GetButtonSet() const { return m_nButtonSet; }
  int GetOptions() const { return m_nOptions; }
  int GetCountdown() const { return m_nCountdown; }
  UserLanguage GetLanguage() const { return m_language; }
  const MessageDlgLayout& GetLayout() const { return m_layout; }
  // The text the box shows now (with the countdown's number).
  wxString GetShownText() const;
  // Button 1, 2 or 3 (null for other numbers or before CreateBox).
  wxButton* GetButton(int number) const;
  wxCheckBox* GetCheckBox() const { return m_pCheckBox; }
  wxStaticText* GetTextControl() const { return m_pText; }
  wxStaticBitmap* GetIconControl() const { return m_pIcon; }
  bool IsTitleActive() const { return m_bActive; }
  const wxBitmap& GetTitleBitmap(bool active) const { return active ? m_titleActive : m_titleInactive; }
  bool IsEnded() const { return m_bEnded; }

 private:
  void CreateControls();
  void ApplyLayout(wxDC& measureDc);
  void CreateTitleBitmaps();
  void CentreOnOwnerOrWorkArea();
  void FocusDefaultButton();
  void EndWith(int result);

  void OnButton(wxCommandEvent& event);
  void OnCheckBox(wxCommandEvent& event);
  void OnCloseRequest(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCountdownTimer(wxTimerEvent& event);
  void OnActivate(wxActivateEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnDragStart(wxMouseEvent& event);
  void OnDragMove(wxMouseEvent& event);
  void OnDragEnd(wxMouseEvent& event);
  void OnDragLost(wxMouseCaptureLostEvent& event);

  wxWindow* m_pOwner;
  wxString m_strText;
  wxString m_strCaption;
  int m_nType;
  int m_nButtonSet;
  int m_nDefaultBits;
  int m_nOptions;
  int m_nCountdown = 0;
  int* m_pCheckState;
  UserLanguage m_language;
  std::array<wxString, 3> m_strButtonTexts;
  wxString m_strCheckText;

  std::array<wxButton*, 3> m_pButtons{};
  wxCheckBox* m_pCheckBox = nullptr;
  wxStaticBox* m_pFrame = nullptr;
  wxStaticBitmap* m_pIcon = nullptr;
  wxStaticText* m_pText = nullptr;
  MessageDlgLayout m_layout;
  wxBitmap m_titleActive;
  wxBitmap m_titleInactive;
  bool m_bActive = true;
  bool m_bInitialised = false;
  bool m_bEnded = false;
  wxTimer m_countdownTimer;
  bool m_bDragging = false;
  wxPoint m_dragOffset;
};
