// ShowMessageDlg: the program's one way of telling the user something or
// asking a question. It shows a modal CMessageDlg and returns its result.
//
//   if (ShowMessageDlg(this, text, caption, MB_YESNO) == IDYES) ...
//
// Tests (and any code that must answer a box without a person) install a
// hook: it is called once for every box, inside the box's modal loop, as
// soon as the box is up, and may end it at once (box.Answer(IDYES),
// box.PressButton(...)) or leave it open. A box can also be ended from
// outside by queuing WM_PMESSAGEBOX_CLOSE to it (RequestMessageDlgClose).
// Boxes are shown, answered and closed on the user-interface thread only.
#pragma once

#include <wx/string.h>
#include <wx/window.h>

#include "ui/msgbox/MessageBoxTypes.h"
#include "ui/msgbox/MessageDlg.h"
#include "ui/msgbox/MessageDlgHook.h"

// Shows a box over `owner` (may be null) and returns its result: IDOK,
// IDCANCEL, IDYES or IDNO for the sets MB_OK, MB_OKCANCEL, MB_YESNOCANCEL
// and MB_YESNO; for other sets the command that ended it (10, 20, 30, or 2
// for Escape); -1 when the box cannot be created. `type`: button set |
// default button; `options`: MDO_* bits; `value`: the countdown's seconds
// or the check box's text; `buttonTexts`: "A,B,C" with MDO_BUTTONTEXTS;
// `checkState`: receives 1 / 0 for the check box.
int ShowMessageDlg(wxWindow* owner, const wxString& text, const wxString& caption, int type,
                   int options = 0, const MessageDlgValue& value = MessageDlgValue(),
                   const wxString& buttonTexts = wxString(), int* checkState = nullptr);

// The icon every box shows, as a resource number (IDI_APP of
// platform/ResourceIds.h is the program's icon); 0 shows none. Set once at
// start-up.
void SetMessageDlgIcon(int iconId);
int GetMessageDlgIcon();

// Queues WM_PMESSAGEBOX_CLOSE to `box` (the innermost open box when null);
// false when there is none.
bool RequestMessageDlgClose(CMessageDlg* box = nullptr);
