// Gallery page of the waveform view: one live control at the main window's
// size, fed with a synthetic signal, with a list of states to step through
// (empty, analysing, the first waveform with its hint, selections, cursors,
// rulers at the interval thresholds) and the notifications it posts shown
// below it. Screenshots write waveform-<state>.png for every state.
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/gallery/Gallery.h"
#include "ui/waveform/SpectrumCtrl.h"

namespace {

// The view's rectangle in the main window, in dialog units.
const wxSize kViewDialogUnits(396, 126);
constexpr int kPlayTimerMs = 50;
constexpr int kPcmBlockFrames = 2304;
// Synthetic files are made at a rate that keeps them near this many samples.
constexpr double kSampleBudget = 4.0e6;
constexpr double kPi = 3.14159265358979323846;

const char* const kStates[] = {
    "empty",     "analysing", "ready-hint", "selection", "play-cursor", "mouse-line", "right-click-first",
    "partial",   "short-file", "ruler-10s", "ruler-11s", "ruler-60s",   "ruler-61s",  "ruler-601s",
    "ruler-3601s", "ruler-7201s",
};

wxString FormatTime(int ms) {
  if (ms < 0) return "--";
  return wxString::Format("%02d:%02d:%02d.%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
}

// A music-like signal: a few partials under a beating envelope with a quiet
// passage, some noise, channels slightly apart.
int16_t SampleAt(double seconds, int channel, uint32_t& noise) {
  const double envelope = 0.12 + 0.78 * std::fabs(std::sin(2 * kPi * seconds / 9.7)) *
                                     (0.55 + 0.45 * std::sin(2 * kPi * seconds / 1.3 + channel));
  const double quiet = seconds > 0 && std::fmod(seconds, 47.0) < 3.0 ? 0.15 : 1.0;
  const double tone = 0.6 * std::sin(2 * kPi * 110 * seconds) + 0.3 * std::sin(2 * kPi * 331 * seconds + channel) +
                      0.1 * std::sin(2 * kPi * 997 * seconds);
  noise = noise * 1664525u + 1013904223u;
  const double hiss = (static_cast<int>(noise >> 17) - 16384) / 16384.0 * 0.08;
  const double value = std::clamp(envelope * quiet * (tone + hiss), -1.0, 1.0);
  return static_cast<int16_t>(std::lround(value * 32767));
}

class WaveformPage : public wxPanel {
 public:
  explicit WaveformPage(wxWindow* parent) : wxPanel(parent), m_playTimer(this) {
    SetFont(GalleryWindowFont());
    m_pSizer = new wxBoxSizer(wxVERTICAL);
    m_pSizer->Add(new wxStaticText(this, wxID_ANY,
                                   "Waveform view. Left button: start / drag, right button: end. "
                                   "Pick a state below, or load a file and play it."),
                  0, wxALL, 6);
    m_pViewSizer = new wxBoxSizer(wxHORIZONTAL);
    m_pSizer->Add(m_pViewSizer, 0, wxLEFT | wxRIGHT, 6);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_pStateChoice = new wxChoice(this, wxID_ANY);
    for (const char* state : kStates) m_pStateChoice->Append(state);
    m_pStateChoice->SetSelection(0);
    row->Add(m_pStateChoice, 0, wxRIGHT, 6);
    auto* load = new wxButton(this, wxID_ANY, "Load a 3-minute file");
    auto* play = new wxButton(this, wxID_ANY, "Play / stop");
    auto* fresh = new wxButton(this, wxID_ANY, "New control");
    row->Add(load, 0, wxRIGHT, 6);
    row->Add(play, 0, wxRIGHT, 6);
    row->Add(fresh, 0);
    m_pSizer->Add(row, 0, wxALL, 6);
    m_pEvents = new wxStaticText(this, wxID_ANY, "");
    m_pSizer->Add(m_pEvents, 0, wxALL, 6);
    SetSizer(m_pSizer);

    m_pStateChoice->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { ShowState(m_pStateChoice->GetStringSelection()); });
    load->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { LoadFile(180000, 2, true); });
    play->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { TogglePlay(); });
    fresh->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { MakeView(); });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { AdvancePlay(); });
    Bind(WM_SPECTRUM_CHANGE_TIME, [this](SpectrumTimeEvent& e) {
      m_strSelection = "selection " + FormatTime(e.GetSelStart()) + " ~ " + FormatTime(e.GetSelEnd());
      ShowEvents();
    });
    Bind(WM_SPECTRUM_MOUSE_TIME, [this](SpectrumTimeEvent& e) {
      m_strPointer = "pointer " + FormatTime(e.GetTime());
      ShowEvents();
    });
    MakeView();
  }

  CSpectrumCtrl* View() const { return m_pView; }

  // Puts the view into a named state (see kStates).
  void ShowState(const wxString& state) {
    StopPlay();
    if (state == "empty") {
      m_pView->Reset();
    } else if (state == "analysing") {
      LoadFile(180000, 2, false);
    } else if (state == "ready-hint") {
      MakeView();  // the hint shows once per control
      LoadFile(180000, 2, true);
    } else if (state == "selection") {
      LoadFile(180000, 2, true);
      Drag(0.22, 0.58);
    } else if (state == "play-cursor") {
      LoadFile(180000, 2, true);
      Drag(0.22, 0.58);
      m_pView->SetPlayPosition(m_pView->XToTime(Column(0.4)));
    } else if (state == "mouse-line") {
      LoadFile(180000, 2, true);
      Mouse(wxEVT_MOTION, Column(0.7), false);
    } else if (state == "right-click-first") {
      LoadFile(180000, 2, true);
      Mouse(wxEVT_RIGHT_DOWN, Column(0.35), false);
    } else if (state == "partial") {
      LoadFile(180000, 2, true, 0.6);
    } else if (state == "short-file") {
      LoadFile(10, 1, true);
    } else if (state.StartsWith("ruler-")) {
      long seconds = 0;
      state.Mid(6).BeforeFirst('s').ToLong(&seconds);
      LoadFile(static_cast<int>(seconds) * 1000, 1, true);
    }
    m_pView->Update();
  }

 private:
  void MakeView() {
    StopPlay();
    if (m_pView) m_pView->Destroy();
    m_pView = new CSpectrumCtrl(this, 1021, wxDefaultPosition, ConvertDialogToPixels(kViewDialogUnits));
    m_pView->SetNotifyWindow(this);
    m_pViewSizer->Clear();
    m_pViewSizer->Add(m_pView, 0);
    Layout();
  }

  int Column(double share) const { return static_cast<int>(m_pView->GetClientSize().x * share); }

  // Feeds a synthetic file the way the main window does: Reset,
  // BeginAnalysis, Redraw, AddPcm blocks, EndAnalysis, Redraw. `fed` is the
  // share of the PCM delivered before the analysis ends.
  void LoadFile(int durationMs, int channels, bool finish, double fed = 1.0) {
    const double seconds = durationMs / 1000.0;
    const int rate = static_cast<int>(std::clamp(kSampleBudget / (seconds * channels), 100.0, 44100.0));
    m_pView->Reset();
    m_pView->BeginAnalysis(durationMs, rate, 16, channels);
    m_pView->Redraw();
    const int64_t frames = static_cast<int64_t>(static_cast<double>(durationMs) * rate / 1000.0 * fed);
    std::vector<int16_t> block;
    uint32_t noise = 12345;
    for (int64_t first = 0; first < frames; first += kPcmBlockFrames) {
      const int64_t count = std::min<int64_t>(kPcmBlockFrames, frames - first);
      block.clear();
      for (int64_t i = 0; i < count; ++i) {
        for (int c = 0; c < channels; ++c) {
          block.push_back(SampleAt(static_cast<double>(first + i) / rate, c, noise));
        }
      }
      m_pView->AddPcm(block.data(), static_cast<int>(block.size() * sizeof(int16_t)));
    }
    if (!finish) return;
    m_pView->EndAnalysis();
    m_pView->Redraw();
  }

  // Mouse input delivered to the control's handlers as the window system
  // would deliver it.
  void Mouse(wxEventType type, int x, bool leftDown) {
    wxMouseEvent event(type);
    event.SetEventObject(m_pView);
    event.SetId(m_pView->GetId());
    event.m_x = x;
    event.m_y = m_pView->GetClientSize().y / 2;
    event.m_leftDown = leftDown;
    m_pView->GetEventHandler()->ProcessEvent(event);
  }

  void Drag(double from, double to) {
    Mouse(wxEVT_MOTION, Column(from), false);
    Mouse(wxEVT_LEFT_DOWN, Column(from), true);
    for (int step = 1; step <= 8; ++step) Mouse(wxEVT_MOTION, Column(from + (to - from) * step / 8), true);
    Mouse(wxEVT_LEFT_UP, Column(to), false);
  }

  void TogglePlay() {
    if (m_playTimer.IsRunning()) {
      StopPlay();
      return;
    }
    const SpectrumModel& model = m_pView->GetModel();
    if (model.GetState() != SpectrumState::Ready) return;
    m_nPlayPosition = std::max(0, m_pView->GetSelStart());
    m_pView->SetPlayPosition(m_nPlayPosition);
    m_playTimer.Start(kPlayTimerMs);
  }

  void AdvancePlay() {
    const SpectrumModel& model = m_pView->GetModel();
    const int end = m_pView->GetSelEnd() > m_nPlayPosition ? m_pView->GetSelEnd() : model.GetDuration();
    m_nPlayPosition += kPlayTimerMs;
    if (m_nPlayPosition >= end) {
      m_playTimer.Stop();
      m_nPlayPosition = end;
    }
    m_pView->SetPlayPosition(m_nPlayPosition);
  }

  void StopPlay() {
    if (!m_playTimer.IsRunning()) return;
    m_playTimer.Stop();
    m_pView->SetPlayPosition(-1);
  }

  void ShowEvents() { m_pEvents->SetLabel(m_strSelection + "    " + m_strPointer); }

  wxBoxSizer* m_pSizer = nullptr;
  wxBoxSizer* m_pViewSizer = nullptr;
  CSpectrumCtrl* m_pView = nullptr;
  wxChoice* m_pStateChoice = nullptr;
  wxStaticText* m_pEvents = nullptr;
  wxTimer m_playTimer;
  int m_nPlayPosition = -1;
  wxString m_strSelection;
  wxString m_strPointer;
};

int WriteScreenshots(wxWindow* window, const wxString& folder) {
  auto* page = dynamic_cast<WaveformPage*>(window);
  if (!page) return -1;
  int written = 0;
  for (const char* state : kStates) {
    page->ShowState(state);
    GalleryPump(120);
    const wxBitmap shot = GrabWindow(page->View());
    if (!SavePng(shot, folder + "/waveform-" + state + ".png")) return -1;
    ++written;
    if (wxString(state) == "selection") {
      // The start marker four times enlarged, to check its flags pixel by pixel.
      const int x = page->View()->TimeToX(page->View()->GetSelStart());
      const wxRect around(std::max(0, x - 12), 0, 32, page->View()->GetModel().WaveArea().top + 24);
      if (!SavePng(Enlarge(shot.GetSubBitmap(around), 4), folder + "/waveform-selection-marker-x4.png")) return -1;
      ++written;
    }
  }
  return written;
}

}  // namespace

GALLERY_PAGE("Waveform", [](wxWindow* parent) -> wxWindow* { return new WaveformPage(parent); }, WriteScreenshots);
