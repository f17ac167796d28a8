// Undo and redo of the selection, without a window.
#include <gtest/gtest.h>

#include "ui/waveform/SelectionHistory.h"

namespace {

using Selection = SelectionHistory::Selection;

TEST(SelectionHistoryTest, UndoGoesBackStepByStepAndRedoForwardUntilANewChange) {
  SelectionHistory history;
  history.Reset({-1, -1});
  history.Commit({1000, 2000});
  history.Commit({1000, 2000});  // no change: no step
  history.Commit({1500, 2000});
  Selection shown;
  // A change not committed yet is undone first.
  ASSERT_TRUE(history.Undo({1500, 3000}, &shown));
  EXPECT_EQ(shown, Selection(1500, 2000));
  ASSERT_TRUE(history.Undo(shown, &shown));
  EXPECT_EQ(shown, Selection(1000, 2000));
  ASSERT_TRUE(history.Undo(shown, &shown));
  EXPECT_EQ(shown, Selection(-1, -1));
  EXPECT_FALSE(history.Undo(shown, &shown));
  ASSERT_TRUE(history.Redo(shown, &shown));
  ASSERT_TRUE(history.Redo(shown, &shown));
  EXPECT_EQ(shown, Selection(1500, 2000));
  // A new change ends what could be redone.
  EXPECT_FALSE(history.Redo({0, 10}, &shown));
  EXPECT_EQ(history.RedoSteps(), 0u);
  ASSERT_TRUE(history.Undo({0, 10}, &shown));
  EXPECT_EQ(shown, Selection(1500, 2000));
}

TEST(SelectionHistoryTest, KeepsTheNewestStepsAndResetForgetsThem) {
  SelectionHistory history;
  history.Reset({0, 0});
  for (int i = 1; i <= static_cast<int>(SelectionHistory::kMaxSteps) + 50; ++i) history.Commit({0, i});
  EXPECT_EQ(history.UndoSteps(), SelectionHistory::kMaxSteps);
  Selection shown{0, static_cast<int>(SelectionHistory::kMaxSteps) + 50};
  for (size_t i = 0; i < SelectionHistory::kMaxSteps; ++i) ASSERT_TRUE(history.Undo(shown, &shown));
  EXPECT_EQ(shown, Selection(0, 50));
  history.Reset({7, 8});
  EXPECT_FALSE(history.Undo({7, 8}, &shown));
}

}  // namespace
