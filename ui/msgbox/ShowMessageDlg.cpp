// ShowMessageDlg and the process-wide box settings.
#include "ui/msgbox/ShowMessageDlg.h"

namespace {

int g_nMessageDlgIcon = 0;

}  // namespace

void SetMessageDlgIcon(int iconId) {
  g_nMessageDlgIcon = iconId;
}

int GetMessageDlgIcon() {
  return g_nMessageDlgIcon;
}

int ShowMessageDlg(wxWindow* owner, const wxString& text, const wxString& caption, int type,
                   int options, const MessageDlgValue& value, const wxString& buttonTexts,
                   int* checkState) {
  CMessageDlg box(owner, text, caption, type, options, value, buttonTexts, checkState);
  if (!box.CreateBox()) return -1;
  return box.ShowModal();
}

bool RequestMessageDlgClose(CMessageDlg* box) {
  if (box == nullptr) box = FindOpenMessageDlg();
  if (box == nullptr) return false;
  wxQueueEvent(box, new wxCommandEvent(WM_PMESSAGEBOX_CLOSE));
  return true;
}
