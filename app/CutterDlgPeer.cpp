#include "app/CutterDlgPeer.h"

#include <wx/arrstr.h>

#include "app/Commands.h"

bool CutterDlgPeer::OnOpenFile() { return m_pDialog->OnOpenFile(); }
void CutterDlgPeer::OnCloseFile() { m_pDialog->OnCloseFile(); }
void CutterDlgPeer::OnAnalyse() { m_pDialog->OnAnalyse(); }
bool CutterDlgPeer::OnPlay() { return m_pDialog->OnPlay(); }
bool CutterDlgPeer::OnPause() { return m_pDialog->OnPause(); }
void CutterDlgPeer::OnStop() { m_pDialog->OnStop(); }
void CutterDlgPeer::OnCut() { m_pDialog->OnCut(); }
void CutterDlgPeer::OnLevel() { m_pDialog->OnLevel(); }
void CutterDlgPeer::OnFindSilences() { m_pDialog->OnFindSilences(); }
void CutterDlgPeer::OnSplitTracks() { m_pDialog->OnSplitTracks(); }
void CutterDlgPeer::OnDropFiles(const wxArrayString& files) { m_pDialog->OnDropFiles(files); }
int CutterDlgPeer::OnWorkerError(int code) { return m_pDialog->OnWorkerError(code); }
void CutterDlgPeer::CloseFile() { m_pDialog->CloseFile(); }
void CutterDlgPeer::StopAnalysis() { m_pDialog->StopAnalysis(); }

CutterDlgState CutterDlgPeer::State() const {
  const CCutterDlg& d = *m_pDialog;
  CutterDlgState state;
  state.workState = d.m_nWorkState;
  state.sourcePath = d.m_strSourcePath;
  state.destPath = d.m_strDestPath;
  state.lastFolder = d.m_strLastFolder;
  state.defaultFolder = d.m_strDefaultFolder;
  state.exactCutChecked = d.IsExactCutChecked();
  state.keepCoverChecked = d.IsMenuChecked(ID_FILE_KEEP_COVER);
  state.progressTimerRunning = d.m_timerProgress.IsRunning();
  state.playbackTimerRunning = d.m_timerPlayback.IsRunning();
  state.timeEdge = d.m_nTimeEdge;
  state.timeRefusal = d.m_strTimeRefusal;
  return state;
}

CArwMan* CutterDlgPeer::ArwMan() const { return m_pDialog->m_pArwMan.get(); }
