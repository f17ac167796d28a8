// The message box's buttons: their texts per language, which of the three
// buttons each button set shows, the caller's own texts, which button is
// the default, and the result a command gives in each set.
#pragma once

#include <wx/string.h>

#include <array>

#include "platform/UserLanguage.h"

// Entries of the button-text table.
enum MessageDlgTextEntry : int {
  kTextNone = 0,
  kTextOk = 1,
  kTextCancel = 2,
  kTextAbort = 3,
  kTextRetry = 4,
  kTextIgnore = 5,
  kTextYes = 6,
  kTextNo = 7,
};

// The text of a table entry in a language ("" for kTextNone or an entry
// out of range).
wxString MessageDlgButtonText(UserLanguage language, int entry);

// Texts of buttons 1 to 3 for a button set (type & 0x0F); unsupported sets
// get three empty texts.
std::array<wxString, 3> MessageDlgSetTexts(int buttonSet, UserLanguage language);

// Which of buttons 1 to 3 a button set shows.
std::array<bool, 3> MessageDlgShownButtons(int buttonSet);

// The caller's button texts: split at "," with empty pieces skipped; the
// first three pieces, "" where a piece is missing.
std::array<wxString, 3> SplitButtonTexts(const wxString& texts);

// The command (10, 20 or 30) of the button that gets the focus, and of the
// one a finished countdown presses, for the default-button bits.
int MessageDlgFocusCommand(int type);
int MessageDlgCountdownCommand(int type);

// The result of the box when `commandId` ends it in `buttonSet`.
int MessageDlgResult(int buttonSet, int commandId);
