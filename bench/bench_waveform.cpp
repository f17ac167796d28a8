// Waveform drawing benchmarks, in a real window (bench/run starts this under
// Xvfb): a pointer move (Compose + the paint copy) and a full render
// (RenderLayers + the paint copy) at the main window's 700 x 300 pixels, and
// the control's whole path from a motion event to its paint. Every figure
// ends with a round trip to the X server, so the copy to the screen is done
// when the clock stops.
#include <X11/Xlib.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/uilocale.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/BenchHarness.h"
#include "ui/waveform/SpectrumCtrl.h"
#include "ui/waveform/SpectrumModel.h"
#include "ui/waveform/SpectrumPainter.h"

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 300;
// A 60-minute stream at a low rate keeps the PCM small; the picture depends
// on the duration (the ruler) and the columns, not on the rate.
constexpr int kDurationMs = 3600 * 1000;
constexpr int kRate = 1000;
constexpr int kPointerMoves = 300;
constexpr int kRenders = 60;

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SyncWithServer() {
  if (auto* display = wxGetX11Display()) XSync(display, False);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  const double end = Now() + timeoutMs / 1000.0;
  while (!done()) {
    if (Now() > end) return false;
    wxTheApp->Yield(true);
    wxMilliSleep(2);
  }
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Music-like columns: loud and quiet stretches, most lines tall.
template <typename Sink>
void FeedColumns(int samplesPerColumn, Sink sink) {
  std::vector<int16_t> pcm(static_cast<size_t>(samplesPerColumn));
  uint32_t noise = 12345;
  for (int c = 0; c < kWidth; ++c) {
    const double loudness = 0.3 + 0.7 * ((c / 37) % 3) / 2.0;
    for (auto& s : pcm) {
      noise = noise * 1664525u + 1013904223u;
      s = static_cast<int16_t>((static_cast<int>(noise >> 16) - 32768) * loudness);
    }
    sink(pcm.data(), static_cast<int>(pcm.size() * 2));
  }
}

template <typename Target>
void MakeReady(Target& target) {
  target.Reset();
  target.BeginAnalysis(kDurationMs, kRate, 16, 1);
  const int perColumn = static_cast<int>(static_cast<int64_t>(kDurationMs) * kRate / 1000 / kWidth);
  FeedColumns(perColumn, [&](const void* data, int length) { target.AddPcm(data, length); });
  target.EndAnalysis();
}

wxFont ControlFont() { return wxFont(wxFontInfo(9).FaceName("NanumGothic")); }

void BenchPainter(wxWindow* window) {
  SpectrumModel model;
  model.Attach(kWidth, kHeight);
  MakeReady(model);
  // A selection over a third of the view: the pointer move copies it from
  // the selection layer and draws both markers.
  model.SetSelEnd(kDurationMs * 5 / 7);
  model.SetSelStart(kDurationMs * 2 / 7);

  SpectrumPainter painter;
  wxFont rulerFont = ControlFont();
  rulerFont.SetPixelSize(wxSize(0, SpectrumPainter::kRulerFontPixels));
  if (!painter.CreateLayers(kWidth, kHeight, rulerFont)) {
    ReportValue("waveform layers", "cannot be created", false, "three 700 x 300 layers");
    return;
  }
  const wxFont controlFont = ControlFont();
  painter.RenderLayers(model, controlFont);

  std::vector<double> moves;
  for (int i = 0; i < kPointerMoves; ++i) {
    model.OnMouseMove(40 + (i * 37) % (kWidth - 80), false);  // no host: the model only
    const double start = Now();
    painter.Compose(model);
    {
      wxClientDC dc(window);
      painter.Paint(dc);
    }
    SyncWithServer();
    moves.push_back(Now() - start);
  }
  std::vector<double> renders;
  for (int i = 0; i < kRenders; ++i) {
    const double start = Now();
    painter.RenderLayers(model, controlFont);
    {
      wxClientDC dc(window);
      painter.Paint(dc);
    }
    SyncWithServer();
    renders.push_back(Now() - start);
  }
  char text[120];
  const double move = Median(moves);
  std::snprintf(text, sizeof text, "median %.3f ms (slowest %.3f ms) of %d", move * 1e3,
                *std::max_element(moves.begin(), moves.end()) * 1e3, kPointerMoves);
  ReportValue("pointer move: Compose + paint copy", text, move < 0.002, "< 2 ms median");
  const double render = Median(renders);
  std::snprintf(text, sizeof text, "median %.3f ms (slowest %.3f ms) of %d", render * 1e3,
                *std::max_element(renders.begin(), renders.end()) * 1e3, kRenders);
  ReportValue("RenderLayers + paint copy", text, render < 0.020, "< 20 ms median");
}

// The control as the window uses it: a motion event, the model's rules,
// Compose, the invalidation and the paint it causes.
void BenchControl(CSpectrumCtrl* view) {
  MakeReady(*view);
  view->Redraw();
  view->SetSelEnd(kDurationMs * 5 / 7);
  view->SetSelStart(kDurationMs * 2 / 7);
  int paints = 0;
  view->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  });
  view->Update();
  std::vector<double> moves;
  int missed = 0;
  for (int i = 0; i < kPointerMoves; ++i) {
    wxMouseEvent motion(wxEVT_MOTION);
    motion.SetEventObject(view);
    motion.m_x = 40 + (i * 37) % (kWidth - 80);
    motion.m_y = kHeight / 2;
    const int before = paints;
    const double start = Now();
    view->GetEventHandler()->ProcessEvent(motion);
    view->Update();
    SyncWithServer();
    moves.push_back(Now() - start);
    missed += paints == before;
  }
  char text[120];
  std::snprintf(text, sizeof text, "median %.3f ms, %d of %d moves painted at once", Median(moves) * 1e3,
                kPointerMoves - missed, kPointerMoves);
  ReportNote("  control: motion event to paint", text);
}

void IgnoreAssert(const wxString&, int, const wxString&, const wxString& cond, const wxString& msg) {
  std::fprintf(stderr, "wx assert: %s %s\n", cond.utf8_str().data(), msg.utf8_str().data());
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "bench_waveform: cannot start wxWidgets (no display? bench/run uses xvfb-run)\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  wxUILocale::UseDefault();
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxSetAssertHandler(IgnoreAssert);
  {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(kWidth + 60, 2 * kHeight + 100));
    auto* panel = new wxPanel(frame);
    panel->SetFont(ControlFont());
    auto* plain = new wxWindow(panel, wxID_ANY, wxPoint(20, 10), wxSize(kWidth, kHeight));
    auto* view = new CSpectrumCtrl(panel, 1021, wxPoint(20, kHeight + 20), wxSize(kWidth, kHeight));
    frame->Show();
    if (!PumpUntil([&] { return view->IsShownOnScreen() && plain->IsShownOnScreen(); })) {
      ReportValue("waveform window", "never shown", false, "shown");
    } else {
      PumpUntil([] { return false; }, 200);
      BenchPainter(plain);
      BenchControl(view);
    }
    frame->Destroy();
    PumpUntil([] { return false; }, 50);
  }
  wxEntryCleanup();
  return BenchExitStatus();
}
