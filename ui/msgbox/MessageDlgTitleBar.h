// The title bar the message box draws itself: a horizontal colour gradient
// with the caption over it, in an active and an inactive form.
#pragma once

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/string.h>

// Colours of the active form (the inactive form takes the system's
// inactive-caption colours).
const wxColour kMessageDlgActiveTitleStart(0, 0, 100);
const wxColour kMessageDlgActiveTitleEnd(140, 161, 255);

// One colour channel of column `column` of a gradient `width` columns wide:
// start - column * (start - end) / width, truncating toward zero.
int TitleGradientChannel(int start, int end, int column, int width);

// The caption as the title bar shows it: "APP" for an empty caption, after
// one space.
wxString TitleBarCaption(const wxString& caption);

// Draws the bar over (0, 0, width, height) of `dc`: the gradient, then the
// caption in `textColour`, single line, vertically centred, ended with an
// ellipsis when it does not fit. The caption font must be selected.
void DrawMessageDlgTitle(wxDC& dc, int width, int height, const wxString& caption,
                         const wxColour& start, const wxColour& end, const wxColour& textColour);
