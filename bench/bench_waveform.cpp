// Waveform drawing benchmarks, in a real window (bench/run starts this under
// Xvfb): a pointer move (Compose + the paint copy) and a full render
// (RenderLayers + the paint copy) at the main window's 700 x 300 pixels, and
// the control's whole path from a motion event to its paint; then a zoom or
// scroll step (the visible columns folded from the peak summary, the layers
// rendered, the paint copy) and a pointer move on a 60-minute 44.1 kHz
// stream at 1920 x 400, and the summary's size per hour. Every figure ends
// with a round trip to the X server, so the copy to the screen is done when
// the clock stops.
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
#include <string>
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

constexpr int kWideWidth = 1920;
constexpr int kWideHeight = 400;
constexpr int kHourRate = 44100;
constexpr int kZoomSteps = 60;

// A 60-minute mono stream at 44.1 kHz through the model, as the analysis
// feeds it: music-like noise whose loudness changes every few seconds.
void AnalyseAnHour(SpectrumModel& model) {
  model.BeginAnalysis(kDurationMs, kHourRate, 16, 1);
  std::vector<int16_t> pcm(1 << 16);
  uint32_t noise = 12345;
  int64_t done = 0;
  const int64_t total = static_cast<int64_t>(kDurationMs) / 1000 * kHourRate;
  while (done < total) {
    const double loudness = 0.2 + 0.8 * ((done / (kHourRate * 7)) % 5) / 4.0;
    for (auto& sample : pcm) {
      noise = noise * 1664525u + 1013904223u;
      sample = static_cast<int16_t>((static_cast<int>(noise >> 16) - 32768) * loudness);
    }
    model.AddPcm(pcm.data(), static_cast<int>(pcm.size() * 2));
    done += static_cast<int64_t>(pcm.size());
  }
  model.EndAnalysis();
}

std::string MedianText(const std::vector<double>& times) {
  char text[120];
  std::snprintf(text, sizeof text, "median %.3f ms (slowest %.3f ms) of %zu", Median(times) * 1e3,
                *std::max_element(times.begin(), times.end()) * 1e3, times.size());
  return text;
}

void BenchZoomAndScroll(wxWindow* window) {
  SpectrumModel model;
  model.Attach(kWideWidth, kWideHeight);
  AnalyseAnHour(model);
  model.SetSelEnd(kDurationMs / 2 + 40000);
  model.SetSelStart(kDurationMs / 2 - 20000);
  SpectrumPainter painter;
  wxFont rulerFont = ControlFont();
  rulerFont.SetPixelSize(wxSize(0, SpectrumPainter::kRulerFontPixels));
  if (!painter.CreateLayers(kWideWidth, kWideHeight, rulerFont)) {
    ReportValue("wide waveform layers", "cannot be created", false, "three 1920 x 400 layers");
    return;
  }
  const wxFont controlFont = ControlFont();
  auto render = [&] {
    painter.RenderLayers(model, controlFont);
    wxClientDC dc(window);
    painter.Paint(dc);
    SyncWithServer();
  };
  render();
  // In from the whole hour down to the summary's finest columns and back
  // out, around points across the file; then scroll steps of an eighth.
  std::vector<double> zooms;
  for (int i = 0; i < kZoomSteps; ++i) {
    const int x = 100 + (i * 577) % (kWideWidth - 200);
    const double factor = (i / 12) % 2 == 0 ? 2.0 : 0.5;
    const double start = Now();
    model.ZoomAtPointer(x, factor);
    render();
    zooms.push_back(Now() - start);
  }
  model.ShowAll();
  model.ZoomAround(kDurationMs / 2, kWideWidth / 2, 64);  // about a minute in view
  std::vector<double> scrolls;
  for (int i = 0; i < kZoomSteps; ++i) {
    const double start = Now();
    model.ScrollBy((i / 20) % 2 == 0 ? model.GetView().Span() / 8 : -model.GetView().Span() / 8);
    render();
    scrolls.push_back(Now() - start);
  }
  std::vector<double> moves;
  for (int i = 0; i < kPointerMoves; ++i) {
    model.OnMouseMove(40 + (i * 37) % (kWideWidth - 80), false);
    const double start = Now();
    painter.Compose(model);
    {
      wxClientDC dc(window);
      painter.Paint(dc);
    }
    SyncWithServer();
    moves.push_back(Now() - start);
  }
  ReportValue("zoom step, 60 min at 1920 x 400", MedianText(zooms), Median(zooms) < 0.016, "< 16 ms median");
  ReportValue("scroll step, 60 min at 1920 x 400", MedianText(scrolls), Median(scrolls) < 0.016, "< 16 ms median");
  ReportValue("pointer move at 1920 x 400", MedianText(moves), Median(moves) < 0.002, "< 2 ms median");
  char text[120];
  const double megabytes = model.GetSummary().Bytes() / 1048576.0;
  std::snprintf(text, sizeof text, "%.2f MB per hour at 44.1 kHz (%.2f MB at 48 kHz)", megabytes,
                megabytes * 48000 / kHourRate);
  ReportValue("peak summary", text, model.GetSummary().Bytes() <= PeakSummary::kMaxBytesPerHour, "<= 8 MB per hour");
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
    auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0),
                              wxSize(kWideWidth + 60, 2 * kHeight + kWideHeight + 140));
    auto* panel = new wxPanel(frame);
    panel->SetFont(ControlFont());
    auto* plain = new wxWindow(panel, wxID_ANY, wxPoint(20, 10), wxSize(kWidth, kHeight));
    auto* view = new CSpectrumCtrl(panel, 1021, wxPoint(20, kHeight + 20), wxSize(kWidth, kHeight));
    auto* wide = new wxWindow(panel, wxID_ANY, wxPoint(20, 2 * kHeight + 30), wxSize(kWideWidth, kWideHeight));
    frame->Show();
    if (!PumpUntil([&] { return view->IsShownOnScreen() && plain->IsShownOnScreen(); })) {
      ReportValue("waveform window", "never shown", false, "shown");
    } else {
      PumpUntil([] { return false; }, 200);
      BenchPainter(plain);
      BenchControl(view);
      BenchZoomAndScroll(wide);
    }
    frame->Destroy();
    PumpUntil([] { return false; }, 50);
  }
  wxEntryCleanup();
  return BenchExitStatus();
}
