// Title bar gradient and caption.
#include "ui/msgbox/MessageDlgTitleBar.h"

#include <wx/brush.h>
#include <wx/control.h>
#include <wx/pen.h>

int TitleGradientChannel(int start, int end, int column, int width) {
  if (width <= 0) return start;
  return start - (column * (start - end)) / width;
}

wxString TitleBarCaption(const wxString& caption) {
  return " " + (caption.empty() ? wxString("APP") : caption);
}

void DrawMessageDlgTitle(wxDC& dc, int width, int height, const wxString& caption,
                         const wxColour& start, const wxColour& end, const wxColour& textColour) {
  if (width <= 0 || height <= 0) return;
  dc.SetPen(*wxTRANSPARENT_PEN);
  for (int column = 0; column < width; ++column) {
    const wxColour colour(TitleGradientChannel(start.Red(), end.Red(), column, width),
                          TitleGradientChannel(start.Green(), end.Green(), column, width),
                          TitleGradientChannel(start.Blue(), end.Blue(), column, width));
    dc.SetBrush(wxBrush(colour));
    dc.DrawRectangle(column, 0, 1, height);
  }
  const wxString shown = wxControl::Ellipsize(TitleBarCaption(caption), dc, wxELLIPSIZE_END, width);
  const wxSize extent = dc.GetTextExtent(shown);
  wxDCClipper clip(dc, wxRect(0, 0, width, height));
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetTextForeground(textColour);
  dc.DrawText(shown, 0, (height - extent.y) / 2);
}
