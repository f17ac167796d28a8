// Type, option and result values of the program's message box
// (ShowMessageDlg). The type takes the classic MessageBox values: the button
// set in bits 0x0F and the default button in bits 0x0F00; the icon bits are
// ignored (the box always shows the program's icon). Results are the
// classic ids; for an unsupported button set the result is the id of the
// command that ended the box (10, 20 or 30 for its buttons, 2 for Escape).
#pragma once

// Button sets (type & 0x0F).
constexpr int MB_OK = 0x00;
constexpr int MB_OKCANCEL = 0x01;
constexpr int MB_ABORTRETRYIGNORE = 0x02;  // not supported: shows no buttons
constexpr int MB_YESNOCANCEL = 0x03;
constexpr int MB_YESNO = 0x04;
constexpr int MB_RETRYCANCEL = 0x05;       // not supported: shows no buttons
constexpr int MB_TYPEMASK = 0x0F;

// Default button (type & 0x0F00): the one that has the focus and that a
// countdown presses.
constexpr int MB_DEFBUTTON1 = 0x000;
constexpr int MB_DEFBUTTON2 = 0x100;
constexpr int MB_DEFBUTTON3 = 0x200;
constexpr int MB_DEFMASK = 0xF00;

// Results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Options (ShowMessageDlg's fifth argument), bit by bit.
// Used when a box must close by itself or carry a check box; the program's own boxes need neither.
constexpr int MDO_COUNTDOWN = 0x01;         // value = seconds; at 0 the default button is pressed
constexpr int MDO_NOBUTTONS = 0x02;         // no buttons; the box is 25 pixels shorter
constexpr int MDO_BUTTONTEXTS = 0x04;       // buttonTexts = up to three texts separated by ","
constexpr int MDO_CHECKBOX = 0x08;          // a check box, unchecked; value = its text
constexpr int MDO_CHECKBOX_CHECKED = 0x10;  // a check box, checked; value = its text

// Command ids inside a box: its three buttons, Escape and the check box.
constexpr int MESSAGEDLG_BUTTON1 = 10;
constexpr int MESSAGEDLG_BUTTON2 = 20;
constexpr int MESSAGEDLG_BUTTON3 = 30;
constexpr int MESSAGEDLG_ESCAPE = IDCANCEL;
constexpr int MESSAGEDLG_CHECKBOX = 40;
