#include "app/FileDialogs.h"

#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/string.h>

#include "app/Texts.h"
#include "platform/wx/Translation.h"

wxString PathToWx(const std::string& path) {
  wxString text = wxString::FromUTF8(path.c_str(), path.size());
  if (text.empty() && !path.empty()) text = wxString(path.c_str(), *wxConvFileName);
  return text;
}

std::string PathFromWx(const wxString& path) { return path.utf8_string(); }

bool CWxFileDialogs::AskOpenPath(wxWindow* owner, const std::string& folder, std::string* path) {
  wxFileDialog dialog(owner, wxFileSelectorPromptStr, PathToWx(folder), wxString(),
                      Tr(apptext::kOpenFilter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  dialog.SetFilterIndex(0);
  if (dialog.ShowModal() != wxID_OK) return false;
  *path = PathFromWx(dialog.GetPath());
  return !path->empty();
}

bool CWxFileDialogs::AskSavePath(wxWindow* owner, const std::string& folder, const std::string& defaultName,
                                 std::string* path) {
  wxFileDialog dialog(owner, Tr(apptext::kSaveTitle), PathToWx(folder), PathToWx(defaultName),
                      Tr(apptext::kSaveFilter), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  dialog.SetFilterIndex(0);
  if (dialog.ShowModal() != wxID_OK) return false;
  *path = PathFromWx(dialog.GetPath());
  return !path->empty();
}

bool CWxFileDialogs::AskFolder(wxWindow* owner, const std::string& title, const std::string& folder,
                               std::string* path) {
  wxDirDialog dialog(owner, Tr(title.c_str()), PathToWx(folder), wxDD_DEFAULT_STYLE);
  if (dialog.ShowModal() != wxID_OK) return false;
  *path = PathFromWx(dialog.GetPath());
  return !path->empty();
}
