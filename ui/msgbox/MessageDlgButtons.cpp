// Button texts, sets and results of the message box.
#include "ui/msgbox/MessageDlgButtons.h"

#include <wx/tokenzr.h>

#include "ui/msgbox/MessageDlgTexts.h"
#include "ui/msgbox/MessageBoxTypes.h"

wxString MessageDlgButtonText(UserLanguage language, int entry) {
  if (entry < 0 || entry >= uitext::kButtonTextEntries) return wxString();
  switch (language) {
    case UserLanguage::Korean:
      return wxString::FromUTF8(uitext::kKoreanButtons[entry]);
    case UserLanguage::Japanese:
      return wxString::FromUTF8(uitext::kJapaneseButtons[entry]);
    case UserLanguage::English:
      break;
  }
  return wxString::FromUTF8(uitext::kEnglishButtons[entry]);
}

std::array<wxString, 3> MessageDlgSetTexts(int buttonSet, UserLanguage language) {
  int entries[3] = {kTextNone, kTextNone, kTextNone};
  switch (buttonSet) {
    case MB_OK:
      entries[0] = kTextOk;
      break;
    case MB_OKCANCEL:
      entries[0] = kTextOk;
      entries[1] = kTextCancel;
      break;
    case MB_YESNOCANCEL:
      entries[0] = kTextYes;
      entries[1] = kTextNo;
      entries[2] = kTextCancel;
      break;
    case MB_YESNO:
      entries[0] = kTextYes;
      entries[1] = kTextNo;
      break;
    default:
      break;
  }
  return {MessageDlgButtonText(language, entries[0]), MessageDlgButtonText(language, entries[1]),
          MessageDlgButtonText(language, entries[2])};
}

std::array<bool, 3> MessageDlgShownButtons(int buttonSet) {
  switch (buttonSet) {
    case MB_OK:
      return {true, false, false};
    case MB_OKCANCEL:
    case MB_YESNO:
      return {true, true, false};
    case MB_YESNOCANCEL:
      return {true, true, true};
    default:
      return {false, false, false};
  }
}

std::array<wxString, 3> SplitButtonTexts(const wxString& texts) {
  std::array<wxString, 3> pieces;
  wxStringTokenizer tokens(texts, ",", wxTOKEN_STRTOK);
  for (size_t i = 0; i < pieces.size() && tokens.HasMoreTokens(); ++i) {
    pieces[i] = tokens.GetNextToken();
  }
  return pieces;
}

int MessageDlgFocusCommand(int type) {
  if (type & MB_DEFBUTTON3) return MESSAGEDLG_BUTTON3;
  if (type & MB_DEFBUTTON2) return MESSAGEDLG_BUTTON2;
  return MESSAGEDLG_BUTTON1;
}

int MessageDlgCountdownCommand(int type) {
  if (type & MB_DEFBUTTON2) return MESSAGEDLG_BUTTON2;
  if (type & MB_DEFBUTTON3) return MESSAGEDLG_BUTTON3;
  return MESSAGEDLG_BUTTON1;
}

int MessageDlgResult(int buttonSet, int commandId) {
  switch (buttonSet) {
    case MB_OK:
      return IDOK;
    case MB_OKCANCEL:
      return commandId == MESSAGEDLG_BUTTON1 ? IDOK : IDCANCEL;
    case MB_YESNOCANCEL:
      if (commandId == MESSAGEDLG_BUTTON1) return IDYES;
      if (commandId == MESSAGEDLG_BUTTON2) return IDNO;
      return IDCANCEL;
    case MB_YESNO:
      return commandId == MESSAGEDLG_BUTTON1 ? IDYES : IDNO;
    default:
      return commandId;
  }
}
