// The file and folder dialogs of the main window behind a small interface,
// so that tests (and anything else that must run without a person) can
// answer them.
//
// CWxFileDialogs is the real one: the desktop's open, save and folder dialogs with
// the program's filters and titles. Paths are UTF-8; folders may end in '/'.
#pragma once

#include <wx/string.h>

#include <string>

class wxWindow;

class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // The open dialog: one existing file, starting in `folder`. True with the
  // chosen path; false when cancelled.
  virtual bool AskOpenPath(wxWindow* owner, const std::string& folder, std::string* path) = 0;
  // The save dialog: starting in `folder` with `defaultName` typed in; the
  // dialog itself asks before an existing file is chosen. True with the
  // chosen path; false when cancelled.
  virtual bool AskSavePath(wxWindow* owner, const std::string& folder, const std::string& defaultName,
                           std::string* path) = 0;
  // The folder dialog titled `title` (a text of app/Texts.h): one existing
  // folder, starting in `folder`. True with the chosen folder; false when
  // cancelled.
  virtual bool AskFolder(wxWindow* owner, const std::string& title, const std::string& folder,
                         std::string* path) = 0;
};

class CWxFileDialogs : public IFileDialogs {
 public:
  bool AskOpenPath(wxWindow* owner, const std::string& folder, std::string* path) override;
  bool AskSavePath(wxWindow* owner, const std::string& folder, const std::string& defaultName,
                   std::string* path) override;
  bool AskFolder(wxWindow* owner, const std::string& title, const std::string& folder,
                 std::string* path) override;
};

// UTF-8 path <-> wx text (a name that is not valid UTF-8 is shown through
// the file-name conversion).
wxString PathToWx(const std::string& path);
std::string PathFromWx(const wxString& path);
