// Message box geometry. Halves are integer divisions.
#include "ui/msgbox/MessageDlgLayout.h"

#include <algorithm>

MessageDlgLayout ComputeMessageDlgLayout(const MessageDlgMetrics& m) {
  MessageDlgLayout layout;
  const int textWidth = std::max(m.textWidth, 50);
  const int t = m.textHeight;

  int buttonsTotal = 0;
  for (size_t i = 0; i < 3; ++i) {
    int width = std::max(m.buttonTextWidths[i] + 10, kMessageDlgMinButtonWidth);
    if (i > 0 && m.buttonTexts[i].empty()) width = 0;
    layout.buttonWidths[i] = width;
    buttonsTotal += width;
  }
  layout.checkBoxWidth = m.checkBoxText.empty() ? 0 : m.checkBoxTextWidth + m.checkBoxExtra;

  const int w = std::max({kMessageDlgMinContentWidth, textWidth + 62,
                          buttonsTotal + layout.checkBoxWidth + 25});
  const int h = std::max(t, kMessageDlgMinContentHeight);
  layout.contentWidth = w;
  layout.contentHeight = h;
  layout.textHeight = t;
  layout.window = wxSize(w + 20, m.noButtons ? h + 85 : h + 110);

  layout.frame = wxRect(7, 30, w, h + 40);
  layout.icon = wxRect(17, (h + 8) / 2 + 30, kMessageDlgIconSize, kMessageDlgIconSize);
  layout.text = wxRect(59, (h + 40 - t) / 2 + 30, w - 62, t);
  layout.title = wxRect(5, 5, w + 5, kMessageDlgTitleHeight);

  // Right-aligned: the rightmost button with a width ends at W + 2.
  const int top = h + 75;
  int right = w + 2;
  for (int i = 2; i >= 0; --i) {
    const int width = layout.buttonWidths[i];
    if (width == 0) continue;
    layout.buttons[i] = wxRect(right - width, top, width, kMessageDlgButtonHeight);
    right -= width + kMessageDlgButtonGap;
  }
  if (layout.checkBoxWidth != 0) {
    layout.checkBox = wxRect(10, top, layout.checkBoxWidth, kMessageDlgButtonHeight);
  }
  return layout;
}

wxString CountdownText(const wxString& text, int seconds) {
  wxString shown = text;
  shown.Replace("%d", wxString::Format("%d", seconds));
  return shown;
}
