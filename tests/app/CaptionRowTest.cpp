// Fitting the lower frame's row to its captions' texts.
#include <gtest/gtest.h>

#include "app/CaptionRow.h"

namespace {

// {x, width, textWidth}: caption, value, line, caption, value.
const std::vector<RowPlace> kRow = {{100, 40, 30}, {142, 50, -1}, {195, 2, -1}, {200, 15, 12}, {217, 50, -1}};

std::vector<int> Xs(const std::vector<RowPlace>& row) {
  std::vector<int> xs;
  for (const RowPlace& place : row) xs.push_back(place.x);
  return xs;
}

std::vector<int> Widths(const std::vector<RowPlace>& row) {
  std::vector<int> widths;
  for (const RowPlace& place : row) widths.push_back(place.width);
  return widths;
}

TEST(FitCaptionRow, RowWhoseCaptionsFitIsUnchanged) {
  const std::vector<RowPlace> fitted = FitCaptionRow(kRow);
  EXPECT_EQ(Xs(fitted), Xs(kRow));
  EXPECT_EQ(Widths(fitted), Widths(kRow));
}

TEST(FitCaptionRow, WiderCaptionTakesTheRoomAnEarlierCaptionSpares) {
  std::vector<RowPlace> row = kRow;
  row[3].textWidth = 21;  // 6 more than its place
  const std::vector<RowPlace> fitted = FitCaptionRow(row);
  EXPECT_EQ(Widths(fitted), (std::vector<int>{34, 50, 2, 21, 50}));
  EXPECT_EQ(Xs(fitted), (std::vector<int>{100, 136, 189, 194, 217})) << "gaps kept, the row keeps its end";
}

TEST(FitCaptionRow, RowOverrunsOnlyWhatNoCaptionCanSpare) {
  std::vector<RowPlace> row = kRow;
  row[0].textWidth = 40;  // no room to spare
  row[3].textWidth = 25;
  const std::vector<RowPlace> fitted = FitCaptionRow(row);
  EXPECT_EQ(Widths(fitted), (std::vector<int>{40, 50, 2, 25, 50}));
  EXPECT_EQ(Xs(fitted), (std::vector<int>{100, 142, 195, 200, 227}));
}

}  // namespace
