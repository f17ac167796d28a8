// CCutterApp: the program. It gives the message box the program's icon,
// makes the main window, hands it the MP3 file named as the first
// command-line argument (ignored when missing or unreadable) and shows it.
// Closing the main window ends the program. Nothing is read at start-up but
// that argument, and nothing is kept between runs.
#pragma once

#include <wx/app.h>

#include <string>
#include <vector>

class CCutterDlg;

class CCutterApp : public wxApp {
 public:
  // The process's arguments as given (argument 0 is the program), before
  // the toolkit sees them; main() hands them over.
  static void SetArguments(int argc, char** argv);

  bool OnInit() override { return InitInstance(); }
  int OnExit() override { return ExitInstance(); }

  bool InitInstance();
  int ExitInstance();

  CCutterDlg* GetMainDlg() const { return m_pMainDlg; }

 private:
  // Window owned by the toolkit once created; forgotten at exit.
  CCutterDlg* m_pMainDlg = nullptr;
};

// Hands argument 1 to `dialog` (SetSourcePath) when it names an existing,
// readable file; true when it did. A relative name is made absolute.
bool ParseCommandLinePath(const std::vector<std::string>& args, CCutterDlg& dialog);

wxDECLARE_APP(CCutterApp);
