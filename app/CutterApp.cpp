#include "app/CutterApp.h"

#include <unistd.h>
#include <wx/uilocale.h>

#include <filesystem>
#include <system_error>

#include "app/CutterDlg.h"
#include "mp3/PathParts.h"
#include "platform/ResourceIds.h"
#include "platform/wx/Translation.h"
#include "ui/msgbox/ShowMessageDlg.h"

wxIMPLEMENT_APP_NO_MAIN(CCutterApp);

namespace {

std::vector<std::string>& Arguments() {
  static std::vector<std::string> arguments;
  return arguments;
}

}  // namespace

void CCutterApp::SetArguments(int argc, char** argv) {
  Arguments().assign(argv, argv + (argc > 0 ? argc : 0));
}

bool ParseCommandLinePath(const std::vector<std::string>& args, CCutterDlg& dialog) {
  if (args.size() < 2) return false;
  const std::string& path = args[1];
  if (path.empty() || !IsExistingFile(path) || access(path.c_str(), R_OK) != 0) return false;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  dialog.SetSourcePath(error ? path : absolute.lexically_normal().string());
  return true;
}

bool CCutterApp::InitInstance() {
  wxUILocale::UseDefault();
  UseWindowLanguage();
  SetMessageDlgIcon(IDI_APP);
  m_pMainDlg = new CCutterDlg();
  ParseCommandLinePath(Arguments(), *m_pMainDlg);
  if (!m_pMainDlg->CreateDialog()) {
    delete m_pMainDlg;
    m_pMainDlg = nullptr;
    return false;
  }
  SetTopWindow(m_pMainDlg);
  m_pMainDlg->Show();
  // Asks for the keyboard focus at once (also where no window manager
  // hands it out), so the keys work before any click.
  m_pMainDlg->Raise();
  return true;
}

int CCutterApp::ExitInstance() {
  m_pMainDlg = nullptr;  // destroyed with its window
  return wxApp::OnExit();
}
