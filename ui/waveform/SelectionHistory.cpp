#include "ui/waveform/SelectionHistory.h"

#include <utility>

void SelectionHistory::Reset(Selection current) {
  m_committed = std::move(current);
  m_undo.clear();
  m_redo.clear();
}

void SelectionHistory::Commit(Selection current) {
  if (current == m_committed) return;
  m_undo.push_back(std::move(m_committed));
  if (m_undo.size() > kMaxSteps) m_undo.pop_front();
  m_redo.clear();
  m_committed = std::move(current);
}

bool SelectionHistory::Undo(Selection current, Selection* previous) {
  Commit(std::move(current));
  if (m_undo.empty()) return false;
  m_redo.push_back(std::move(m_committed));
  m_committed = std::move(m_undo.back());
  m_undo.pop_back();
  *previous = m_committed;
  return true;
}

bool SelectionHistory::Redo(Selection current, Selection* next) {
  Commit(std::move(current));  // a change since the undo drops what could be redone
  if (m_redo.empty()) return false;
  m_undo.push_back(std::move(m_committed));
  m_committed = std::move(m_redo.back());
  m_redo.pop_back();
  *next = m_committed;
  return true;
}
