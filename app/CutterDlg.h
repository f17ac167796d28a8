// CCutterDlg: the program's one window. A frame laid out from dialog
// template 102 (DialogLayout.h) with menu 128, resizable down to the
// template's size (ControlAnchors.h says how each control follows): the file name, the
// waveform view, the transport buttons (play, pause, stop), the time labels,
// the cut button, and a progress bar with a cancel button while a file is
// being analysed.
//
// The window owns the audio pipeline (worker manager, MP3 reader, analysis
// reader, discarding writer, plug-in writer), built once in CreatePipeline
// and reused for every file. Its work state is one of
//   STATE_NO_FILE    nothing loaded: transport and cut disabled;
//   STATE_ANALYSING  the worker decodes the file into the waveform view:
//                    progress bar and cancel button instead of the rest;
//   STATE_READY      waveform shown: play, select, cut. Playback is a worker
//                    run inside this state; a playback error ends the run
//                    and keeps the state, the file and the selection.
//   STATE_BUSY       a background job (a silence search, a split into
//                    tracks) runs: progress bar and cancel button as while
//                    analysing, the waveform stays shown.
// SetUiState shows, hides, enables and disables the controls for a state.
//
// Threads: everything runs on the user-interface thread except OnPcmData,
// which the worker calls with every decoded block. The worker's outcome
// comes back as queued events (PostArwMessage), never as a direct call.
// m_csPcm orders the hand-off against StartAnalysis (no PCM before the view
// is sized) and StopAnalysis; a stop first closes the hand-off
// (m_bPcmOpen), so a worker waiting for the lock gives up its block instead
// of waiting for a thread that is waiting for it.
//
// Its public surface is what the program needs: build it, name the command
// line's file, receive the worker's messages. The handlers are private;
// tests and tools reach them through CutterDlgPeer (CutterDlgPeer.h).
// Commands (CutterDlgCommands.cpp), the cut (CutterDlgCut.cpp), the split
// marks and the split (CutterDlgMarks.cpp, CutterDlgSplit.cpp, on
// BackgroundJob: CutterDlgJob.cpp) and the set-up (CutterDlg.cpp) each have
// their own file, as the other concerns named below.
#pragma once

#include <wx/event.h>
#include <wx/font.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/BackgroundJob.h"
#include "app/GainDialog.h"
#include "pipeline/ArwNotify.h"
#include "split/SilenceFinder.h"
#include "split/SplitPlan.h"

class CArwMan;
class CAudioReader;
class CLevelReader;
class CMp3Reader;
class CNullWriter;
class CPluginWriter;
class CSkinButton;
class CSpectrumCtrl;
class IFileDialogs;
class SpectrumTimeEvent;
class TrackSplitter;
struct SplitOutcome;
struct SplitSettings;
struct TrackJob;
class wxDropFilesEvent;
class wxKeyEvent;
class wxGauge;
class wxMenuEvent;
class wxPopupWindow;
class wxStaticBox;
class wxStaticLine;
class wxStaticText;
class wxTextCtrl;
class wxThreadEvent;

// The worker's two messages as queued window events: GetInt() is the error
// code, GetExtraLong() the number of the run that sent it.
wxDECLARE_EVENT(EVT_ARWMAN_END, wxThreadEvent);
wxDECLARE_EVENT(EVT_ARWMAN_ERROR, wxThreadEvent);

enum WorkState {
  STATE_NO_FILE = 0,
  STATE_ANALYSING = 1,
  STATE_READY = 2,
  STATE_BUSY = 3,
};

enum CutterTimerId {
  TIMER_PROGRESS = 1,  // 500 ms while analysing: the progress bar
  TIMER_PLAYBACK = 2,  // 50 ms while playing: the play cursor and the end of the stretch
};

// What the window can be given instead of its defaults (tests, tools).
struct CutterDlgOptions {
  // Folder of the output plug-in; empty: the program's folder, or the
  // installed plug-in folder (../lib/padocut) when the program's has none.
  std::string pluginDirectory;
  // Makes the reader used for playback (and analysis, see below); empty: a
  // CMp3Reader.
  std::function<CMp3Reader*()> makeReader;
  // Makes the reader used for analysis; empty: a CParallelMp3Reader, or the
  // reader of makeReader when that is given.
  std::function<CAudioReader*()> makeAnalysisReader;
  // The open and save dialogs; null: the desktop's (the window owns neither).
  IFileDialogs* fileDialogs = nullptr;
};

class CCutterDlg : public wxFrame, public IArwNotify {
 public:
  explicit CCutterDlg(CutterDlgOptions options = CutterDlgOptions());
  ~CCutterDlg() override;

  // Names the file to analyse once the window is built (the command line's
  // file); also remembers its folder for the open dialog.
  void SetSourcePath(const std::string& path);
  // Builds the window and its pipeline, then starts the analysis of a file
  // named before (SetSourcePath) or shows the empty window. False when the
  // window could not be made.
  bool CreateDialog();

  // IArwNotify: any thread; queues the message to the window.
  void PostArwMessage(ArwMessage message, int code) override;

 private:
  // Tests and tools reach the commands and the state through the peer only.
  friend class CutterDlgPeer;
  friend int DialogPcmCallback(void* user, const void* data, int length);
  class DropTarget;

  static constexpr int kProgressPeriodMs = 500;
  static constexpr int kPlaybackPeriodMs = 50;
  static constexpr int kPlayVolumePercent = 50;
  static constexpr int kShortestCutMs = 1000;
  static constexpr int kPrelistenMs = 2000;

  // Commands and notifications (CutterDlgCommands.cpp).
  // Pauses the work (a playback or an analysis) before a question; an
  // analysis is asked about and resumed on No. Remembers whether the work
  // was paused already, for ResumeAfterNo.
  bool ConfirmStopWork();
  // After a No to a question ConfirmStopWork paused for: the work goes on
  // unless the user had paused it.
  void ResumeAfterNo();
  bool OnOpenFile();
  void OnCloseFile();
  void CloseFile();
  void OnAnalyse();
  bool StartAnalysis();
  void StopAnalysis();
  bool OnPlay();
  // A playback run from `from` (negative: the beginning) to `until` (-1:
  // the selection's end, or the file's).
  bool StartPlayback(int from, int until);
  bool OnPause();
  void OnStop();
  void StopPlayback();
  void UpdatePlayPosition();
  void OnTimer(int timerId);
  int OnWorkerEnd();
  int OnWorkerError(int code);
  int OnSelectionTime(int start, int end);
  int OnMouseTime(int time);
  void ShowSelectionTimes(int start, int end);
  void ShowMouseTime(int time);
  void OnAbout();
  // Worker thread: hands one block of decoded PCM to the waveform view.
  int OnPcmData(const void* data, int length);

  // Keyboard editing, zoom, undo and prelistening (CutterDlgEditing.cpp).
  // Runs a command of the keys or the view menu; false for another id.
  bool RunEditCommand(int id);
  void ZoomBy(double factor);
  void ZoomToSelection();
  void PlayOrStop();
  // F6, Shift+F6, F7, Shift+F7: two seconds at an edge of the selection.
  void Prelisten(int id);
  // The start or the end at the play cursor while playing, else at the pointer.
  void PlaceEdgeHere(bool start);
  void MoveActiveEdgeBy(int direction, int stepMs);
  void FocusWaveform();
  // Typed times (CutterDlgTimes.cpp). Edge 0 is the start, 1 the end.
  void CreateTimeEditor();
  void BeginTimeEdit(int edge);
  // Puts the field over the label it edits (also after a resize).
  void PlaceTimeEditor();
  void ApplyTimeEdit();
  void EndTimeEdit();
  // Marks the field and shows why its text was refused; null takes both away.
  void ShowTimeRefusal(const char* reason);
  // Whether a key belongs to the time being typed.
  bool TimeEditorTakes(const wxKeyEvent& event) const;

  // The cut (CutterDlgCut.cpp).
  void OnCut();
  bool AskSaveName();
  bool IsSameFile(const std::string& a, const std::string& b) const;
  // The file menu's "sample-exact cut" item is checked.
  bool IsExactCutChecked() const;
  bool IsMenuChecked(int id) const;
  // What the file menu's switches ask of a cut or a split (exact, cover).
  CutOptions MenuCutOptions() const;

  // Split marks and the silence search (CutterDlgMarks.cpp).
  // The play cursor's time while playing, else the pointer's; -1 for neither.
  int TimeHere() const;
  void AddMarkHere();
  void DeleteMarkNearPointer();
  void OnFindSilences();
  void EndSilenceSearch(const SilenceResult& result, bool exact);

  // The split into tracks at the marks (CutterDlgSplit.cpp).
  void OnSplitTracks();
  bool AskSplitFolder(std::string* folder);
  // Resolves the tracks; asks before replacing existing files.
  bool PrepareSplit(TrackSplitter& splitter, const SplitPlan& plan, const std::string& folder,
                    SplitSettings* settings, std::vector<TrackJob>* jobs);
  void EndSplit(const std::vector<TrackJob>& jobs, const SplitOutcome& outcome);

  // The background job (CutterDlgJob.cpp): STATE_BUSY from StartJob until
  // its end comes back (EndJob) or StopJob ends it without a word.
  // `range` is what the progress bar fills up to.
  bool StartJob(int64_t range, std::function<void(BackgroundJob&)> work, std::function<void()> done);
  void EndJob();
  void StopJob();

  // Gain and fades (CutterDlgLevel.cpp): the dialog, whether the loaded
  // file can take them (greys the menu item), the options a cut or a
  // playback gets, and the fades drawn over the selection.
  void OnLevel();
  void UpdateLevelSource();
  CutOptions WithLevel(const CutOptions& options) const;
  void ShowFades();

  // Set-up, states and window events (CutterDlg.cpp).
  void CreateMenu();
  void CreateControls();
  // The controls' template rectangles, which the resized layout starts from.
  void RememberTemplatePlaces();
  void OnPanelSize(wxSizeEvent& event);
  void SetUpBoldLabels();
  void SetUpPictureButtons();
  bool CreatePipeline();
  void ReleasePipeline();
  void InitDefaultFolder();
  void SetUiState(int state);
  // Greys the menu items whose commands the state does not allow (the
  // close item exactly while no file is loaded).
  void UpdateMenu();
  bool IsCommandAvailable(int id) const;
  // Files dropped on the window: the first one, when it is a regular file
  // (or a link to one) and its name ends in "mp3" in any letter case.
  void OnDropFiles(const wxArrayString& files);
  void ShowSourcePath();
  CSkinButton* GetButton(int id) const;
  void PostCommand(wxEventType type, int id);
  // A new worker run begins (events of earlier runs are dropped from now on).
  void BeginRun() { m_nRunId.fetch_add(1); }

  // Window events (bound in the event table or in CreateDialog).
  void OnCloseWindow(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnMenuOpen(wxMenuEvent& event);
  void OnCommand(wxCommandEvent& event);
  void OnTimerEvent(wxTimerEvent& event);
  void OnArwEnd(wxThreadEvent& event);
  void OnArwError(wxThreadEvent& event);
  void OnSelectionTimeEvent(SpectrumTimeEvent& event);
  void OnMouseTimeEvent(SpectrumTimeEvent& event);

  CutterDlgOptions m_options;
  std::unique_ptr<IFileDialogs> m_pOwnFileDialogs;
  IFileDialogs* m_pFileDialogs = nullptr;

  // Controls (owned by the window).
  CSkinButton* m_pAbout = nullptr;
  CSkinButton* m_pCancel = nullptr;
  wxStaticBox* m_pLowerFrame = nullptr;
  wxStaticLine* m_pLineStart = nullptr;
  wxStaticLine* m_pLineEnd = nullptr;
  wxStaticText* m_pMouseTime = nullptr;
  wxStaticText* m_pMouseCaption = nullptr;
  wxStaticText* m_pFileCaption = nullptr;
  wxTextCtrl* m_pFileName = nullptr;
  wxStaticText* m_pStartTime = nullptr;
  wxStaticText* m_pEndTime = nullptr;
  wxStaticText* m_pStartCaption = nullptr;
  wxStaticText* m_pEndCaption = nullptr;
  CSkinButton* m_pStop = nullptr;
  CSkinButton* m_pCut = nullptr;
  CSkinButton* m_pPlay = nullptr;
  CSkinButton* m_pPause = nullptr;
  wxGauge* m_pProgress = nullptr;
  wxTextCtrl* m_pTimeEdit = nullptr;
  wxPopupWindow* m_pReasonPopup = nullptr;
  wxStaticText* m_pReasonText = nullptr;
  int m_nTimeEdge = -1;  // the edge being typed, -1 for none
  std::string m_strTimeRefusal;  // why the last typed time was refused
  CSpectrumCtrl* m_pSpectrum = nullptr;
  wxWindow* m_pPanel = nullptr;

  // The pipeline, built in CreatePipeline and released in ReleasePipeline
  // in this order.
  std::unique_ptr<CArwMan> m_pArwMan;
  std::unique_ptr<CMp3Reader> m_pReader;
  std::unique_ptr<CAudioReader> m_pAnalysisReader;  // null: m_pReader analyses
  std::unique_ptr<CNullWriter> m_pNullWriter;
  std::unique_ptr<CPluginWriter> m_pPluginWriter;
  // Playback reads m_pReader through it (the gain and fades).
  std::unique_ptr<CLevelReader> m_pLevelReader;
  LevelSettings m_level;
  bool m_bLevelFits = true;
  // The silence dialog's last answer, and the job that searches or splits.
  SilenceOptions m_silence;
  BackgroundJob m_job;

  std::string m_strSourcePath;
  std::string m_strDefaultFolder;
  std::string m_strLastFolder;
  std::string m_strDestPath;
  // Where the playback run stops, when not at the selection's end (prelistening).
  int m_nPlayUntil = -1;
  int m_nSampleRate = 0;
  int m_nBitsPerSample = 0;
  int m_nChannels = 0;
  std::timed_mutex m_csPcm;
  // Cleared by StopAnalysis before it takes m_csPcm: the worker then drops
  // its block instead of waiting for the lock.
  std::atomic<bool> m_bPcmOpen{false};
  // Numbers the worker runs; each queued worker event carries the number of
  // the run that sent it, and events of an earlier run are dropped.
  std::atomic<long> m_nRunId{0};
  int m_nWorkState = STATE_NO_FILE;
  // The worker was paused when ConfirmStopWork began.
  bool m_bPausedBeforeQuestion = false;
  bool m_bWindowReady = false;
  struct TemplatePlace {
    wxWindow* window;
    wxRect rect;
  };
  std::vector<TemplatePlace> m_templatePlaces;
  wxSize m_templateClient;
  wxFont m_fontBold;
  wxTimer m_timerProgress;
  wxTimer m_timerPlayback;

  wxDECLARE_EVENT_TABLE();
};

// The PcmCallback given to the discarding writer; `user` is the window.
int DialogPcmCallback(void* user, const void* data, int length);
