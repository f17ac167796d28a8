// Open boxes and the hook. Boxes live on the user-interface thread only.
#include "ui/msgbox/MessageDlgHook.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

MessageDlgHook& Hook() {
  static MessageDlgHook hook;
  return hook;
}

std::vector<CMessageDlg*>& OpenBoxes() {
  static std::vector<CMessageDlg*> boxes;
  return boxes;
}

}  // namespace

MessageDlgHook SetMessageDlgHook(MessageDlgHook hook) {
  return std::exchange(Hook(), std::move(hook));
}

CMessageDlg* FindOpenMessageDlg() {
  return OpenBoxes().empty() ? nullptr : OpenBoxes().back();
}

void MessageDlgEntered(CMessageDlg& box) {
  OpenBoxes().push_back(&box);
}

void MessageDlgOpened(CMessageDlg& box) {
  // A copy: the hook may replace itself.
  const MessageDlgHook hook = Hook();
  if (hook) hook(box);
}

void MessageDlgLeft(CMessageDlg& box) {
  auto& boxes = OpenBoxes();
  boxes.erase(std::remove(boxes.begin(), boxes.end(), &box), boxes.end());
}
