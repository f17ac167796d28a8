// Which message boxes are open, and the process-wide hook that sees each
// box as it opens (for tests and for code that must answer a box without a
// person). The hook runs inside the box's modal loop, once the box is
// shown and its default button has the focus; it may end the box at once
// (box.Answer(IDYES)) or leave it open. Without a hook nothing happens.
#pragma once

#include <functional>

class CMessageDlg;

using MessageDlgHook = std::function<void(CMessageDlg& box)>;

// Installs `hook` (an empty one removes it) and returns the one it replaces.
MessageDlgHook SetMessageDlgHook(MessageDlgHook hook);

// Installs a hook for the lifetime of the object, then restores the previous one.
class ScopedMessageDlgHook {
 public:
  explicit ScopedMessageDlgHook(MessageDlgHook hook) : m_previous(SetMessageDlgHook(std::move(hook))) {}
  ~ScopedMessageDlgHook() { SetMessageDlgHook(std::move(m_previous)); }
  ScopedMessageDlgHook(const ScopedMessageDlgHook&) = delete;
  ScopedMessageDlgHook& operator=(const ScopedMessageDlgHook&) = delete;

 private:
  MessageDlgHook m_previous;
};

// The innermost open box (boxes can be nested), or null.
CMessageDlg* FindOpenMessageDlg();

// Bookkeeping of CMessageDlg: a box entering and leaving its modal loop.
// MessageDlgOpened calls the hook.
void MessageDlgEntered(CMessageDlg& box);
void MessageDlgOpened(CMessageDlg& box);
void MessageDlgLeft(CMessageDlg& box);
