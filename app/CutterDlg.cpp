// The main window's set-up and teardown: controls at their template places,
// the pipeline, the work states, dropped files and closing.
#include "app/CutterDlg.h"

#include <wx/dnd.h>
#include <wx/gauge.h>
#include <wx/panel.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cctype>
#include <filesystem>
#include <initializer_list>
#include <new>
#include <system_error>
#include <vector>

#include "app/AppIcons.h"
#include "app/CaptionRow.h"
#include "app/Commands.h"
#include "app/ControlAnchors.h"
#include "app/DialogLayout.h"
#include "app/DocumentsFolder.h"
#include "app/FileDialogs.h"
#include "app/Texts.h"
#include "mp3/Mp3Reader.h"
#include "mp3/PathParts.h"
#include "pipeline/ArwMan.h"
#include "pipeline/AudioWriter.h"
#include "pipeline/LevelReader.h"
#include "pipeline/ParallelMp3Reader.h"
#include "pipeline/PluginWriter.h"
#include "platform/ResourceFiles.h"
#include "platform/ResourceIds.h"
#include "platform/wx/Translation.h"
#include "ui/msgbox/ShowMessageDlg.h"
#include "ui/skin/SkinButton.h"
#include "ui/waveform/SpectrumCtrl.h"

wxDEFINE_EVENT(EVT_ARWMAN_END, wxThreadEvent);
wxDEFINE_EVENT(EVT_ARWMAN_ERROR, wxThreadEvent);

// clang-format off
wxBEGIN_EVENT_TABLE(CCutterDlg, wxFrame)
  EVT_CLOSE(CCutterDlg::OnCloseWindow)
  EVT_MENU_OPEN(CCutterDlg::OnMenuOpen)
  EVT_MENU(wxID_ANY, CCutterDlg::OnCommand)
  EVT_BUTTON(wxID_ANY, CCutterDlg::OnCommand)
  EVT_TIMER(TIMER_PROGRESS, CCutterDlg::OnTimerEvent)
  EVT_TIMER(TIMER_PLAYBACK, CCutterDlg::OnTimerEvent)
wxEND_EVENT_TABLE()
// clang-format on

namespace {

// Picture pairs (normal, disabled) of the six picture buttons, in the order
// they are set.
struct ButtonPictures {
  int id;
  int normal;
  int disabled;
};
constexpr ButtonPictures kButtonPictures[] = {
    {IDC_CUT, IDB_CUT, IDB_CUT_DISABLED},
    {IDC_PLAY, IDB_PLAY, IDB_PLAY_DISABLED},
    {IDC_PAUSE, IDB_PAUSE, IDB_PAUSE_DISABLED},
    {IDC_STOP, IDB_STOP, IDB_STOP_DISABLED},
    {IDC_CANCEL, IDB_CANCEL, IDR_NONE},
    {IDC_ABOUT, IDB_ABOUT, IDB_ABOUT_DISABLED},
};

// What each work state shows and enables (SetUiState).
struct StateLook {
  bool transportShown;    // buttons 1000, 1001, 1002, 1004 and the six labels
  bool transportEnabled;
  bool framesShown;       // frame 1018, lines 1019 and 1023
  bool progressShown;     // progress bar 1007
  bool cancelShown;       // cancel button 1025
  bool fileNameShown;     // file-name box 1003
};
constexpr StateLook kStateLooks[] = {
    /* STATE_NO_FILE   */ {true, false, true, false, false, false},
    /* STATE_ANALYSING */ {false, false, false, true, true, true},
    /* STATE_READY     */ {true, true, true, false, false, true},
    /* STATE_BUSY      */ {false, false, false, true, true, true},
};

// One control of the lower frame's row, and whether it is a caption.
struct RowControl {
  wxWindow* window;
  bool caption;
};

// Fits the lower frame's row to its captions' texts (CaptionRow.h), measured
// in `captionFont`.
void FitLowerRow(std::initializer_list<RowControl> row, const wxFont& captionFont) {
  std::vector<RowPlace> places;
  for (const RowControl& control : row) {
    RowPlace place{control.window->GetPosition().x, control.window->GetSize().x, -1};
    if (control.caption) {
      control.window->GetTextExtent(control.window->GetLabel(), &place.textWidth, nullptr, nullptr, nullptr,
                                    &captionFont);
    }
    places.push_back(place);
  }
  const std::vector<RowPlace> fitted = FitCaptionRow(places);
  size_t i = 0;
  for (const RowControl& control : row) {
    const wxRect rect = control.window->GetRect();
    control.window->SetSize(fitted[i].x, rect.y, fitted[i].width, rect.height);
    ++i;
  }
}

std::string PluginDirectory(const std::string& chosen) {
  return chosen.empty() ? FindPluginFolder(kOutputPluginFile) : chosen;
}

}  // namespace

int DialogPcmCallback(void* user, const void* data, int length) {
  if (!user) return 0;
  return static_cast<CCutterDlg*>(user)->OnPcmData(data, length);
}

// Files dropped anywhere on the window. The drop itself only queues the
// list: questions are asked once the desktop's drag has ended.
class CCutterDlg::DropTarget : public wxFileDropTarget {
 public:
  explicit DropTarget(CCutterDlg* dialog) : m_pDialog(dialog) {}
  bool OnDropFiles(wxCoord /*x*/, wxCoord /*y*/, const wxArrayString& files) override {
    CCutterDlg* dialog = m_pDialog;
    dialog->CallAfter([dialog, files] { dialog->OnDropFiles(files); });
    return true;
  }

 private:
  CCutterDlg* m_pDialog;
};

CCutterDlg::CCutterDlg(CutterDlgOptions options)
    : m_options(std::move(options)), m_timerProgress(this, TIMER_PROGRESS), m_timerPlayback(this, TIMER_PLAYBACK) {
  m_pFileDialogs = m_options.fileDialogs;
  if (!m_pFileDialogs) {
    m_pOwnFileDialogs = std::make_unique<CWxFileDialogs>();
    m_pFileDialogs = m_pOwnFileDialogs.get();
  }
}

CCutterDlg::~CCutterDlg() {
  StopJob();
  m_bWindowReady = false;
  ReleasePipeline();
}

bool CCutterDlg::CreateDialog() {
  const DialogTemplate& layout = MainDialogTemplate();
  if (!Create(nullptr, wxID_ANY, Tr(layout.caption), wxDefaultPosition, wxDefaultSize,
              wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxMAXIMIZE_BOX | wxRESIZE_BORDER | wxCLOSE_BOX |
                  wxCLIP_CHILDREN)) {
    return false;
  }
  SetFont(DialogFont(layout));
  SetIcons(AppIconBundle());
  CreateMenu();
  m_pPanel = new wxPanel(this, wxID_ANY);
  const wxSize client = DialogSizeToPixels(this, layout);
  SetClientSize(client);
  // Resizable down to the template's size (ControlAnchors.h).
  SetSizeHints(GetSize());
  CreateControls();
  RememberTemplatePlaces();
  CreateTimeEditor();
  m_pPanel->Bind(wxEVT_SIZE, &CCutterDlg::OnPanelSize, this);

  Bind(EVT_ARWMAN_END, &CCutterDlg::OnArwEnd, this);
  Bind(EVT_ARWMAN_ERROR, &CCutterDlg::OnArwError, this);
  Bind(WM_SPECTRUM_CHANGE_TIME, &CCutterDlg::OnSelectionTimeEvent, this);
  Bind(WM_SPECTRUM_MOUSE_TIME, &CCutterDlg::OnMouseTimeEvent, this);
  Bind(wxEVT_CHAR_HOOK, &CCutterDlg::OnCharHook, this);
  m_bWindowReady = true;

  if (!CreatePipeline()) {
    ShowMessageDlg(this, Tr(apptext::kInitFailed), Tr(apptext::kCaption), MB_OK);
    CallAfter([this] { Close(true); });
    return true;
  }
  SetUpBoldLabels();
  SetUpPictureButtons();
  m_pPanel->SetDropTarget(new DropTarget(this));
  SetUiState(STATE_NO_FILE);
  // Keys work from the start: the waveform holds the focus.
  m_pSpectrum->SetFocus();
  // A file named on the command line is analysed once the window is up.
  if (!m_strSourcePath.empty()) PostCommand(wxEVT_BUTTON, IDC_ANALYSE);
  Centre();
  return true;
}

void CCutterDlg::CreateControls() {
  const DialogTemplate& layout = MainDialogTemplate();
  wxWindow* panel = m_pPanel;
  auto rect = [&](int id) { return DialogRectToPixels(this, layout, id); };
  auto text = [&](int id) { return Tr(FindDialogControl(layout, id)->text); };
  auto staticText = [&](int id, long style) {
    const wxRect r = rect(id);
    return new wxStaticText(panel, id, text(id), r.GetPosition(), r.GetSize(), style | wxST_NO_AUTORESIZE);
  };
  auto skinButton = [&](int id) {
    const wxRect r = rect(id);
    return new CSkinButton(panel, id, text(id), r.GetPosition(), r.GetSize());
  };
  auto staticBox = [&](int id) {
    const wxRect r = rect(id);
    return new wxStaticBox(panel, id, wxString(), r.GetPosition(), r.GetSize());
  };
  auto verticalLine = [&](int id) {
    const wxRect r = rect(id);
    return new wxStaticLine(panel, id, r.GetPosition(), wxSize(2, r.GetHeight()), wxLI_VERTICAL);
  };

  // Frames first, so they lie beneath the controls they surround.
  staticBox(IDC_FILE_FRAME);
  m_pLowerFrame = staticBox(IDC_LOWER_FRAME);
  m_pFileCaption = staticText(IDC_FILE_CAPTION, 0);
  const wxRect nameRect = rect(IDC_FILE_NAME);
  m_pFileName = new wxTextCtrl(panel, IDC_FILE_NAME, wxString(), nameRect.GetPosition(), nameRect.GetSize(),
                               wxTE_READONLY | wxBORDER_NONE);
  m_pAbout = skinButton(IDC_ABOUT);
  const wxRect viewRect = rect(IDC_SPECTRUM);
  m_pSpectrum = new CSpectrumCtrl(panel, IDC_SPECTRUM, viewRect.GetPosition(), viewRect.GetSize());
  m_pPlay = skinButton(IDC_PLAY);
  m_pPause = skinButton(IDC_PAUSE);
  m_pStop = skinButton(IDC_STOP);
  const wxRect progressRect = rect(IDC_PROGRESS);
  m_pProgress = new wxGauge(panel, IDC_PROGRESS, 100, progressRect.GetPosition(), progressRect.GetSize(),
                            wxGA_HORIZONTAL | wxGA_SMOOTH);
  m_pMouseCaption = staticText(IDC_MOUSE_CAPTION, wxALIGN_CENTRE_HORIZONTAL);
  m_pMouseTime = staticText(IDC_MOUSE_TIME, 0);
  m_pLineStart = verticalLine(IDC_LINE_START);
  m_pStartCaption = staticText(IDC_START_CAPTION, wxALIGN_CENTRE_HORIZONTAL);
  m_pStartTime = staticText(IDC_START_TIME, 0);
  m_pLineEnd = verticalLine(IDC_LINE_END);
  m_pEndCaption = staticText(IDC_END_CAPTION, wxALIGN_CENTRE_HORIZONTAL);
  m_pEndTime = staticText(IDC_END_TIME, 0);
  m_pCut = skinButton(IDC_CUT);
  m_pCancel = skinButton(IDC_CANCEL);
  m_pProgress->Hide();
  m_pCancel->Hide();
  // In the bold face SetUpBoldLabels gives the captions.
  FitLowerRow({{m_pMouseCaption, true},
               {m_pMouseTime, false},
               {m_pLineStart, false},
               {m_pStartCaption, true},
               {m_pStartTime, false},
               {m_pLineEnd, false},
               {m_pEndCaption, true},
               {m_pEndTime, false}},
              m_pPanel->GetFont().Bold());
}

void CCutterDlg::RememberTemplatePlaces() {
  m_templateClient = DialogSizeToPixels(this, MainDialogTemplate());
  m_templatePlaces.clear();
  for (wxWindow* child : m_pPanel->GetChildren()) m_templatePlaces.push_back({child, child->GetRect()});
}

void CCutterDlg::OnPanelSize(wxSizeEvent& event) {
  event.Skip();
  const wxSize extra = m_pPanel->GetClientSize() - m_templateClient;
  for (const TemplatePlace& place : m_templatePlaces) {
    const wxRect wanted = FollowClientSize(place.window->GetId(), place.rect, extra);
    if (place.window->GetRect() != wanted) place.window->SetSize(wanted);
  }
  PlaceTimeEditor();
}

void CCutterDlg::SetUpBoldLabels() {
  m_fontBold = m_pPanel->GetFont().Bold();
  if (!m_fontBold.IsOk()) return;
  for (wxWindow* label : {static_cast<wxWindow*>(m_pStartCaption), static_cast<wxWindow*>(m_pEndCaption),
                          static_cast<wxWindow*>(m_pMouseCaption)}) {
    label->SetFont(m_fontBold);
    label->Refresh();
  }
}

void CCutterDlg::SetUpPictureButtons() {
  for (const ButtonPictures& pictures : kButtonPictures) {
    if (CSkinButton* button = GetButton(pictures.id)) button->SetBitmaps(pictures.normal, pictures.disabled);
  }
}

CSkinButton* CCutterDlg::GetButton(int id) const {
  switch (id) {
    case IDC_ABOUT: return m_pAbout;
    case IDC_CANCEL: return m_pCancel;
    case IDC_STOP: return m_pStop;
    case IDC_CUT: return m_pCut;
    case IDC_PLAY: return m_pPlay;
    case IDC_PAUSE: return m_pPause;
    default: return nullptr;
  }
}

bool CCutterDlg::CreatePipeline() {
  m_pArwMan.reset(new (std::nothrow) CArwMan);
  if (!m_pArwMan) return false;
  m_pReader.reset(m_options.makeReader ? m_options.makeReader() : new (std::nothrow) CMp3Reader);
  if (!m_pReader) return false;
  if (m_options.makeAnalysisReader) {
    m_pAnalysisReader.reset(m_options.makeAnalysisReader());
  } else if (!m_options.makeReader) {
    m_pAnalysisReader.reset(new (std::nothrow) CParallelMp3Reader);
  }
  m_pNullWriter.reset(new (std::nothrow) CNullWriter);
  if (!m_pNullWriter) return false;
  m_pPluginWriter.reset(
      new (std::nothrow) CPluginWriter(kOutputPluginFile, this, PluginDirectory(m_options.pluginDirectory)));
  if (!m_pPluginWriter) return false;
  m_pLevelReader = std::make_unique<CLevelReader>(m_pReader.get());
  m_pArwMan->SetNotifyWindow(this);
  m_pSpectrum->SetNotifyWindow(this);
  ShowSelectionTimes(0, 0);
  ShowMouseTime(0);
  InitDefaultFolder();
  return true;
}

void CCutterDlg::ReleasePipeline() {
  if (m_bWindowReady) CloseFile();
  if (m_pArwMan) m_pArwMan->Stop();
  m_pArwMan.reset();
  m_pLevelReader.reset();
  if (m_pReader) m_pReader->Close();
  m_pReader.reset();
  if (m_pAnalysisReader) m_pAnalysisReader->Close();
  m_pAnalysisReader.reset();
  if (m_pNullWriter) m_pNullWriter->Close();
  m_pNullWriter.reset();
  if (m_pPluginWriter) m_pPluginWriter->Close();
  m_pPluginWriter.reset();  // unloads the plug-in
}

void CCutterDlg::InitDefaultFolder() { m_strDefaultFolder = FindDocumentsFolder(); }

void CCutterDlg::SetUiState(int state) {
  if (!m_bWindowReady || state < STATE_NO_FILE || state > STATE_BUSY) {
    m_nWorkState = state;
    return;
  }
  if (state != STATE_READY) EndTimeEdit();
  const StateLook& look = kStateLooks[state];
  wxWindow* transport[] = {m_pPlay, m_pPause, m_pStop, m_pCut, m_pEndCaption, m_pStartCaption,
                           m_pStartTime, m_pEndTime, m_pMouseCaption, m_pMouseTime};
  for (wxWindow* window : transport) {
    window->Show(look.transportShown);
    window->Enable(look.transportEnabled);
  }
  for (wxWindow* window : {static_cast<wxWindow*>(m_pLowerFrame), static_cast<wxWindow*>(m_pLineStart),
                           static_cast<wxWindow*>(m_pLineEnd)}) {
    window->Show(look.framesShown);
  }
  if (look.progressShown) m_pProgress->SetValue(0);
  m_pProgress->Show(look.progressShown);
  m_pCancel->Show(look.cancelShown);
  m_pFileName->Show(look.fileNameShown);
  m_nWorkState = state;
  UpdateMenu();
}

void CCutterDlg::OnDropFiles(const wxArrayString& files) {
  if (files.empty()) return;
  const std::string path = PathFromWx(files[0]);
  // Only a regular file (or a link to one) is taken: a folder or a device
  // named "*.mp3" is ignored like any other unsuitable drop.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return;
  if (path.size() < 3) return;
  std::string suffix = path.substr(path.size() - 3);
  for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (suffix != "mp3") return;
  if (m_nWorkState != STATE_NO_FILE &&
      ShowMessageDlg(this, Tr(apptext::kCloseUnsaved), Tr(apptext::kCaption), MB_YESNO) != IDYES) {
    return;
  }
  CloseFile();
  m_strSourcePath = path;
  m_strLastFolder = GetFolderPart(path);
  ShowSourcePath();
  StopAnalysis();
  StartAnalysis();
}

void CCutterDlg::OnCloseWindow(wxCloseEvent& event) {
  if (!ConfirmStopWork() && event.CanVeto()) {
    event.Veto();
    return;
  }
  SetUiState(STATE_NO_FILE);
  // What the window's destruction does: no worker may outlive the window.
  StopAnalysis();
  ReleasePipeline();
  m_bWindowReady = false;
  Destroy();
}

void CCutterDlg::OnCommand(wxCommandEvent& event) {
  switch (event.GetId()) {
    case ID_FILE_OPEN:
    case IDC_OPEN_FILE: OnOpenFile(); break;
    case IDC_CANCEL:
      if (m_nWorkState == STATE_BUSY) {
        m_job.Cancel();  // the job's end says what was done
        break;
      }
      OnCloseFile();
      break;
    case ID_FILE_CLOSE:
    case IDC_CLOSE_FILE: OnCloseFile(); break;
    case IDC_ANALYSE: OnAnalyse(); break;
    case IDC_PLAY: OnPlay(); break;
    case IDC_PAUSE: OnPause(); break;
    case IDC_STOP: OnStop(); break;
    case IDC_CUT: OnCut(); break;
    case IDC_ABOUT: PostCommand(wxEVT_MENU, ID_APP_ABOUT); break;
    case ID_APP_ABOUT: OnAbout(); break;
    case ID_FILE_EXACT_CUT:  // the menu keeps the check; the cut reads it, the view shows it
      m_pSpectrum->SetExactCut(IsExactCutChecked());
      break;
    case ID_FILE_LEVEL: OnLevel(); break;
    case ID_FILE_KEEP_COVER: break;  // the menu keeps the check; cuts and splits read it
    case ID_FILE_FIND_SILENCE: OnFindSilences(); break;
    case ID_FILE_SPLIT_TRACKS: OnSplitTracks(); break;
    case ID_APP_EXIT: CallAfter([this] { Close(); }); break;
    case ID_FILE_CUT:
      if (m_nWorkState == STATE_READY) OnCut();
      break;
    default:
      if (!RunEditCommand(event.GetId())) event.Skip();
      break;
  }
}

void CCutterDlg::PostCommand(wxEventType type, int id) {
  auto* event = new wxCommandEvent(type, id);
  event->SetEventObject(this);
  wxQueueEvent(this, event);
}

void CCutterDlg::PostArwMessage(ArwMessage message, int code) {
  auto* event = new wxThreadEvent(message == WM_ARWMAN_END ? EVT_ARWMAN_END : EVT_ARWMAN_ERROR);
  event->SetInt(code);
  event->SetExtraLong(m_nRunId.load());
  wxQueueEvent(this, event);
}

void CCutterDlg::OnArwEnd(wxThreadEvent& event) {
  if (event.GetExtraLong() == m_nRunId.load()) OnWorkerEnd();
}

void CCutterDlg::OnArwError(wxThreadEvent& event) {
  if (event.GetExtraLong() == m_nRunId.load()) OnWorkerError(event.GetInt());
}

void CCutterDlg::OnTimerEvent(wxTimerEvent& event) { OnTimer(event.GetId()); }

void CCutterDlg::OnSelectionTimeEvent(SpectrumTimeEvent& event) {
  OnSelectionTime(event.GetSelStart(), event.GetSelEnd());
}

void CCutterDlg::OnMouseTimeEvent(SpectrumTimeEvent& event) { OnMouseTime(event.GetTime()); }

void CCutterDlg::ShowSourcePath() {
  if (m_pFileName) m_pFileName->ChangeValue(PathToWx(m_strSourcePath));
}
