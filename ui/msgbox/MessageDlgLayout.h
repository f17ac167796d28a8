// The message box's geometry, computed from measured texts alone (no
// window): the content width W and height H, the window size, and the
// places of the frame, icon, text, title bar, buttons and check box, all in
// pixels from the box's top-left corner. Also the text the box shows while a
// countdown runs.
#pragma once

#include <wx/gdicmn.h>
#include <wx/string.h>

#include <array>

// Fixed sizes of the box.
constexpr int kMessageDlgMinContentWidth = 230;
constexpr int kMessageDlgMinContentHeight = 32;
constexpr int kMessageDlgMinButtonWidth = 70;
constexpr int kMessageDlgButtonHeight = 25;
constexpr int kMessageDlgButtonGap = 5;
constexpr int kMessageDlgTitleHeight = 20;
constexpr int kMessageDlgIconSize = 32;
// Width a check box needs beside its text where the toolkit needs no more.
constexpr int kMessageDlgCheckBoxExtra = 20;

struct MessageDlgMetrics {
  int textWidth = 0;   // widest line of the message text
  int textHeight = 0;  // lines x line height
  std::array<wxString, 3> buttonTexts;
  std::array<int, 3> buttonTextWidths{};
  wxString checkBoxText;    // empty: no check box
  int checkBoxTextWidth = 0;
  int checkBoxExtra = kMessageDlgCheckBoxExtra;  // indicator and spacing beside the text
  bool noButtons = false;   // MDO_NOBUTTONS
};

struct MessageDlgLayout {
  int contentWidth = 0;   // W
  int contentHeight = 0;  // H
  int textHeight = 0;     // T
  int checkBoxWidth = 0;  // C, 0 without a check box
  std::array<int, 3> buttonWidths{};
  wxSize window;
  wxRect frame;
  wxRect icon;
  wxRect text;
  wxRect title;
  std::array<wxRect, 3> buttons;  // width 0 for a button without text (2 and 3)
  wxRect checkBox;                // empty without a check box
};

MessageDlgLayout ComputeMessageDlgLayout(const MessageDlgMetrics& metrics);

// The text shown while a countdown runs: every "%d" replaced by the seconds
// left; nothing else in the text is interpreted.
wxString CountdownText(const wxString& text, int seconds);
