// Fitting a row of captions to their texts. The main window's lower frame
// holds, left to right, captions ("시작"), the times they name and dividing
// lines at the template's places, which were sized for the Korean texts. A
// caption whose text is wider than its place (in another language) grows
// and pushes the rest of the row to the right; what the row then overruns
// at its right end is taken back from captions with room to spare, first
// ones first. Gaps between neighbours stay as they were, and a row whose
// captions all fit stays exactly as it was.
#pragma once

#include <vector>

struct RowPlace {
  int x = 0;
  int width = 0;
  int textWidth = -1;  // a caption's text width; -1 for a control that keeps its width
};

// The places of `row` (left to right) after fitting.
std::vector<RowPlace> FitCaptionRow(std::vector<RowPlace> row);
