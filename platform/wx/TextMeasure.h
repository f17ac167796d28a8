// Measuring multi-line text in the font selected into a device context, for
// laying out boxes around it. Lines are separated by "\n".
#pragma once

#include <wx/dc.h>
#include <wx/string.h>

// Width in pixels of the widest line of `text` (empty lines are skipped; 0
// for an empty text).
int MeasureTextWidth(wxDC& dc, const wxString& text);

// (number of "\n" in `text` + 1) times the font's line height, plus the
// font's external leading when `withLeading` is set.
int MeasureTextHeight(wxDC& dc, bool withLeading, const wxString& text);
