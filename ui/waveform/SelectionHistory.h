// SelectionHistory: undo and redo of the waveform's selection, without a
// window.
//
// The owner commits the selection when a change is complete (a click, the
// end of a drag, a key, a typed time); a commit that changes nothing is no
// step. Undo first commits what is shown (a change not committed yet is
// the step it undoes), then goes back one step; Redo goes forward again
// unless the selection changed since. At most kMaxSteps steps are kept
// (the oldest go first); Reset forgets them all.
#pragma once

#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

class SelectionHistory {
 public:
  using Selection = std::pair<int, int>;  // start, end in ms
  static constexpr size_t kMaxSteps = 1000;

  void Reset(Selection current);
  void Commit(Selection current);
  // The selection to show instead of `current`; false when there is none.
  bool Undo(Selection current, Selection* previous);
  bool Redo(Selection current, Selection* next);

  size_t UndoSteps() const { return m_undo.size(); }
  size_t RedoSteps() const { return m_redo.size(); }

 private:
  Selection m_committed{0, 0};
  std::deque<Selection> m_undo;
  std::vector<Selection> m_redo;
};
