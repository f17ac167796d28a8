// Text measuring over wxDC.
#include "platform/wx/TextMeasure.h"

#include <wx/tokenzr.h>

#include <algorithm>

int MeasureTextWidth(wxDC& dc, const wxString& text) {
  int widest = 0;
  wxStringTokenizer lines(text, "\n", wxTOKEN_STRTOK);
  while (lines.HasMoreTokens()) {
    wxCoord width = 0;
    wxCoord height = 0;
    dc.GetTextExtent(lines.GetNextToken(), &width, &height);
    widest = std::max(widest, static_cast<int>(width));
  }
  return widest;
}

int MeasureTextHeight(wxDC& dc, bool withLeading, const wxString& text) {
  const int lines = static_cast<int>(text.Freq('\n')) + 1;
  int lineHeight = dc.GetCharHeight();
  if (withLeading) {
    wxCoord width = 0, height = 0, descent = 0, externalLeading = 0;
    dc.GetTextExtent("M", &width, &height, &descent, &externalLeading);
    lineHeight += externalLeading;
  }
  return lines * lineHeight;
}
