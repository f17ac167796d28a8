// CutterDlgPeer: the one way into the main window for its tests and for
// padocut-app-shots. The program itself never uses it.
//
// The peer gives the window's commands the way its buttons, menu and drops
// give them, only without the event loop in between (so a test sees their
// effect when the call returns), reads what the window holds as a
// CutterDlgState snapshot, and finds its controls by their ids
// (DialogLayout.h). It holds a plain pointer: it must not outlive the window.
#pragma once

#include <wx/window.h>

#include <string>

#include "app/CutterDlg.h"

class CArwMan;
class wxArrayString;

// What the window holds at one moment.
struct CutterDlgState {
  int workState = STATE_NO_FILE;
  std::string sourcePath;
  std::string destPath;       // the last cut's destination ("" when none)
  std::string lastFolder;     // where the open dialog starts
  std::string defaultFolder;  // the documents folder
  bool exactCutChecked = false;  // the file menu's sample-exact item
  bool keepCoverChecked = false;  // the file menu's cover item
  bool progressTimerRunning = false;
  bool playbackTimerRunning = false;
  int timeEdge = -1;          // the time being typed: 0 start, 1 end, -1 none
  std::string timeRefusal;    // why the last typed time was refused ("" when it was not)
};

class CutterDlgPeer {
 public:
  explicit CutterDlgPeer(CCutterDlg* dialog = nullptr) : m_pDialog(dialog) {}

  // The commands (what the open, close, cancel, play, pause, stop, cut,
  // level, silence and split commands and a drop run).
  bool OnOpenFile();
  void OnCloseFile();
  void OnAnalyse();
  bool OnPlay();
  bool OnPause();
  void OnStop();
  void OnCut();
  void OnLevel();
  void OnFindSilences();
  void OnSplitTracks();
  void OnDropFiles(const wxArrayString& files);
  // What the window does on its own: a worker's error arriving, closing the
  // file without a question, stopping the analysis.
  int OnWorkerError(int code);
  void CloseFile();
  void StopAnalysis();

  CutterDlgState State() const;
  // The worker manager the window owns (null before CreateDialog).
  CArwMan* ArwMan() const;
  // The control with `id`, or null when the window has none of that type.
  template <typename Control>
  Control* Find(int id) const {
    return dynamic_cast<Control*>(m_pDialog->FindWindow(id));
  }

 private:
  CCutterDlg* m_pDialog;
};
