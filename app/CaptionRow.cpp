#include "app/CaptionRow.h"

#include <algorithm>
#include <cstddef>

std::vector<RowPlace> FitCaptionRow(std::vector<RowPlace> row) {
  std::vector<int> widths;
  int overrun = 0;
  for (const RowPlace& place : row) {
    widths.push_back(std::max(place.width, place.textWidth));
    overrun += widths.back() - place.width;
  }
  if (overrun == 0) return row;
  for (size_t i = 0; i < row.size() && overrun > 0; ++i) {
    if (row[i].textWidth < 0) continue;
    const int spare = std::min(overrun, widths[i] - row[i].textWidth);
    widths[i] -= spare;
    overrun -= spare;
  }
  std::vector<RowPlace> fitted = row;
  for (size_t i = 1; i < row.size(); ++i) {
    const int gap = row[i].x - (row[i - 1].x + row[i - 1].width);
    fitted[i].x = fitted[i - 1].x + widths[i - 1] + gap;
  }
  for (size_t i = 0; i < row.size(); ++i) fitted[i].width = widths[i];
  return fitted;
}
