// SelectionHistory: undo and redo of the waveform's selection and split
// marks, without a window. One stack holds both, so an undo takes back
// whichever changed last.
//
// The owner commits the selection and the marks when a change is complete
// (a click, the end of a drag, a key, a typed time, a mark added, moved or
// removed); a commit that changes nothing is no step. Undo first commits
// what is shown (a change not committed yet is the step it undoes), then
// goes back one step; Redo goes forward again unless something changed
// since. At most kMaxSteps steps are kept (the oldest go first); Reset
// forgets them all.
#pragma once

#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

class SelectionHistory {
 public:
  // One step: the selection's start and end in ms and the split marks (ms, rising).
  struct Selection {
    int start = 0;
    int end = 0;
    std::vector<int> marks;

    Selection() = default;
    Selection(int startMs, int endMs, std::vector<int> markTimes = {})
        : start(startMs), end(endMs), marks(std::move(markTimes)) {}
    bool operator==(const Selection&) const = default;
  };
  static constexpr size_t kMaxSteps = 1000;

  void Reset(Selection current);
  void Commit(Selection current);
  // The step to show instead of `current`; false when there is none.
  bool Undo(Selection current, Selection* previous);
  bool Redo(Selection current, Selection* next);

  size_t UndoSteps() const { return m_undo.size(); }
  size_t RedoSteps() const { return m_redo.size(); }

 private:
  Selection m_committed;
  std::deque<Selection> m_undo;
  std::vector<Selection> m_redo;
};
