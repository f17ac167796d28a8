// The waveform control in a real window under Xvfb: the pixels of its
// layers, what reaches the screen, and mouse input simulated through the X
// server producing the queued notifications.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/graphics.h>
#include <wx/panel.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <utility>
#include <vector>

#include "tests/support/GuiTestSupport.h"
#include "ui/waveform/SpectrumCtrl.h"
#include "ui/waveform/SpectrumRuler.h"

// Colours print as (r, g, b) in failure messages.
void PrintTo(const wxColour& colour, std::ostream* out) {
  *out << "(" << int(colour.Red()) << ", " << int(colour.Green()) << ", " << int(colour.Blue()) << ")";
}

namespace {

using Selection = std::pair<int, int>;
using Layer = SpectrumPainter::Layer;

constexpr int kWidth = 700;
constexpr int kHeight = 300;
constexpr int kDuration = 10000;
constexpr int kRate = 7000;  // mono: 100 samples per column
constexpr int kWaveTop = 8;
constexpr int kWaveBottom = kHeight - 28;

// Columns 200..399 at full scale, 500..599 at half scale, the rest silent.
int16_t AmplitudeOfColumn(int column) {
  if (column >= 200 && column < 400) return 32767;
  if (column >= 500 && column < 600) return 16383;
  return 0;
}

wxColour PixelOf(const wxImage& image, int x, int y) {
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

int CountPixels(const wxImage& image, const wxColour& colour, const wxRect& area) {
  int count = 0;
  for (int y = area.GetTop(); y <= area.GetBottom(); ++y) {
    for (int x = area.GetLeft(); x <= area.GetRight(); ++x) count += PixelOf(image, x, y) == colour;
  }
  return count;
}

// Receives the control's notifications the way the main window does.
class Recorder : public wxEvtHandler {
 public:
  Recorder() {
    Bind(WM_SPECTRUM_CHANGE_TIME, [this](SpectrumTimeEvent& e) { changes.emplace_back(e.GetSelStart(), e.GetSelEnd()); });
    Bind(WM_SPECTRUM_MOUSE_TIME, [this](SpectrumTimeEvent& e) {
      mouseTimes.push_back(e.GetTime());
      EXPECT_EQ(e.GetLParam(), 0);
    });
  }
  std::vector<Selection> changes;
  std::vector<int> mouseTimes;
};

class SpectrumCtrlGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "waveform", wxPoint(0, 0), wxSize(kWidth + 60, kHeight + 80));
    auto* panel = new wxPanel(frame);
    panel->SetFont(wxFont(wxFontInfo(9).FaceName("NanumGothic")));
    view = new CSpectrumCtrl(panel, 1021, wxPoint(20, 20), wxSize(kWidth, kHeight));
    view->SetNotifyWindow(&recorder);
    frame->Show();
    ASSERT_TRUE(PumpUntil([&] { return view->IsShownOnScreen(); }));
    PumpFor(100);
  }

  void TearDown() override {
    frame->Destroy();
    PumpFor(20);
  }

  void Analyse(int duration = kDuration) {
    view->Reset();
    ASSERT_TRUE(view->BeginAnalysis(duration, kRate, 16, 1));
    view->Redraw();
  }

  void MakeReady() {
    Analyse();
    std::vector<int16_t> column(100);
    for (int c = 0; c < kWidth; ++c) {
      const int16_t a = AmplitudeOfColumn(c);
      for (size_t i = 0; i < column.size(); ++i) column[i] = static_cast<int16_t>(i % 2 ? -a : a);
      view->AddPcm(column.data(), static_cast<int>(column.size() * 2));
    }
    view->EndAnalysis();
    view->Redraw();
    ASSERT_EQ(view->GetModel().GetFilledColumns(), kWidth);
  }

  wxImage LayerOf(Layer layer) const { return view->GetPainter().LayerImage(layer); }

  // The layers compared outside the mouse line's column.
  void ExpectCompositeEqualsBase() const {
    const wxImage base = LayerOf(Layer::Base);
    const wxImage composite = LayerOf(Layer::Composite);
    int differing = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (x != view->GetModel().GetMouseX()) differing += PixelOf(base, x, y) != PixelOf(composite, x, y);
      }
    }
    EXPECT_EQ(differing, 0);
  }

  wxPoint ScreenPoint(int x, int y) const { return view->ClientToScreen(wxPoint(x, y)); }

  wxFrame* frame = nullptr;
  CSpectrumCtrl* view = nullptr;
  Recorder recorder;
};

// --- layers ----------------------------------------------------------------

TEST_F(SpectrumCtrlGuiTest, EmptyAndAnalysingShowGridRulerStripAndTheirTexts) {
  const wxImage base = LayerOf(Layer::Base);
  ASSERT_TRUE(base.IsOk());
  ASSERT_EQ(base.GetWidth(), kWidth);
  EXPECT_EQ(PixelOf(base, 5, 20), SpectrumPainter::kBaseBackground);
  EXPECT_EQ(PixelOf(base, 5, kWaveTop), SpectrumPainter::kBaseGrid);
  EXPECT_EQ(PixelOf(base, 5, kWaveBottom), SpectrumPainter::kBaseGrid);
  EXPECT_EQ(PixelOf(base, 5, kWaveTop + 132), SpectrumPainter::kBaseGrid);  // middle line
  EXPECT_EQ(PixelOf(base, 5, kWaveTop + 132 - 26), SpectrumPainter::kBaseGrid);
  // The ruler strip is filled but has no ticks.
  EXPECT_EQ(CountPixels(base, SpectrumPainter::kRulerBackground, wxRect(0, kHeight - 20, kWidth, 20)), kWidth * 20);
  // The centred text: white glyphs with a black shadow, around the middle.
  const wxRect middle(0, kWaveTop + 60, kWidth, 144);
  EXPECT_GT(CountPixels(base, SpectrumPainter::kTextInk, middle), 200);
  EXPECT_GT(CountPixels(base, SpectrumPainter::kTextShadow, middle), 100);
  EXPECT_EQ(CountPixels(base, SpectrumPainter::kTextInk, wxRect(0, 0, 100, kHeight)), 0);
  ExpectCompositeEqualsBase();
  // Analysing: another text in the same place.
  Analyse();
  const wxImage analysing = LayerOf(Layer::Base);
  EXPECT_GT(CountPixels(analysing, SpectrumPainter::kTextInk, middle), 200);
  EXPECT_NE(CountPixels(analysing, SpectrumPainter::kTextInk, middle),
            CountPixels(base, SpectrumPainter::kTextInk, middle));
}

TEST_F(SpectrumCtrlGuiTest, WaveformColumnsAndTicksLandOnTheirPixels) {
  MakeReady();
  const wxImage base = LayerOf(Layer::Base);
  const wxImage selection = LayerOf(Layer::Selection);
  // 10 s over 700 columns: a tick line every 7 columns.
  EXPECT_EQ(PixelOf(base, 303, 20), SpectrumPainter::kBaseWave);       // loud column
  EXPECT_EQ(PixelOf(base, 303, kWaveTop), SpectrumPainter::kBaseGrid);  // its upper end is excluded
  EXPECT_EQ(PixelOf(base, 303, kWaveBottom), SpectrumPainter::kBaseWave);
  EXPECT_EQ(PixelOf(base, 101, 20), SpectrumPainter::kBaseBackground);  // silent column
  EXPECT_EQ(PixelOf(base, 98, 20), SpectrumPainter::kBaseGrid);         // tick line
  EXPECT_EQ(PixelOf(base, 550, 20), SpectrumPainter::kBaseBackground);  // half scale ...
  EXPECT_EQ(PixelOf(base, 550, kWaveTop + 100), SpectrumPainter::kBaseWave);  // ... reaches here
  EXPECT_EQ(PixelOf(selection, 303, 20), SpectrumPainter::kSelectionWave);
  EXPECT_EQ(PixelOf(selection, 101, 20), SpectrumPainter::kSelectionBackground);
  EXPECT_EQ(PixelOf(selection, 98, 20), SpectrumPainter::kSelectionGrid);
  EXPECT_EQ(PixelOf(selection, 101, kWaveTop), SpectrumPainter::kSelectionGrid);
  // Ruler: black marks of 2, 4 and 8 rows, labels on the major ticks.
  const int rulerTop = kHeight - 20;
  EXPECT_EQ(PixelOf(base, 7, rulerTop + 1), SpectrumPainter::kRulerInk);
  EXPECT_EQ(PixelOf(base, 7, rulerTop + 2), SpectrumPainter::kRulerBackground);
  EXPECT_EQ(PixelOf(base, 14, rulerTop + 3), SpectrumPainter::kRulerInk);
  EXPECT_EQ(PixelOf(base, 14, rulerTop + 4), SpectrumPainter::kRulerBackground);
  EXPECT_EQ(PixelOf(base, 70, rulerTop + 7), SpectrumPainter::kRulerInk);
  EXPECT_GT(CountPixels(base, SpectrumPainter::kRulerInk, wxRect(50, rulerTop + 9, 40, 11)), 10);
  EXPECT_EQ(CountPixels(selection, SpectrumPainter::kSelectionBackground, wxRect(0, rulerTop, kWidth, 20)),
            kWidth * 20);
}

TEST_F(SpectrumCtrlGuiTest, LabelAtTheEndOfTheFileIsDrawnWhole) {
  MakeReady();  // 10 s: the last major tick lies on the ruler's right edge
  const wxString text = "00:00:10";
  wxBitmap reference(100, 20, wxBITMAP_SCREEN_DEPTH);
  wxSize extent;
  {
    wxMemoryDC dc(reference);
    if (wxGraphicsContext* context = dc.GetGraphicsContext()) context->SetAntialiasMode(wxANTIALIAS_NONE);
    dc.SetFont(view->GetRulerFont());
    dc.SetBackground(wxBrush(SpectrumPainter::kRulerBackground));
    dc.Clear();
    dc.SetTextForeground(SpectrumPainter::kRulerInk);
    dc.DrawText(text, 0, 0);
    extent = dc.GetTextExtent(text);
  }
  const wxImage expected = reference.ConvertToImage();
  const wxImage base = LayerOf(Layer::Base);
  const int left = kWidth - extent.x;
  const int top = kHeight - 1 - extent.y;
  int differing = 0;
  for (int y = 0; y < extent.y; ++y) {
    for (int x = 0; x < extent.x; ++x) differing += PixelOf(base, left + x, top + y) != PixelOf(expected, x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(SpectrumCtrlGuiTest, SelectionIsCopiedBetweenTheMarkers) {
  MakeReady();
  ASSERT_TRUE(view->SetSelEnd(6000));
  ASSERT_TRUE(view->SetSelStart(2000));
  const int startX = view->TimeToX(2000);
  const int endX = view->TimeToX(6000);
  ASSERT_EQ(startX, 140);
  ASSERT_EQ(endX, 420);
  const wxImage composite = LayerOf(Layer::Composite);
  const wxImage selection = LayerOf(Layer::Selection);
  const wxImage base = LayerOf(Layer::Base);
  EXPECT_EQ(PixelOf(composite, 303, 20), SpectrumPainter::kSelectionWave);
  EXPECT_EQ(PixelOf(composite, 150, 20), SpectrumPainter::kSelectionBackground);
  EXPECT_EQ(PixelOf(composite, 303, kWaveBottom), SpectrumPainter::kSelectionWave);  // last row included
  EXPECT_EQ(PixelOf(composite, 419, 200), PixelOf(selection, 419, 200));
  EXPECT_EQ(PixelOf(composite, 139, 20), SpectrumPainter::kBaseBackground);
  EXPECT_EQ(PixelOf(composite, 421, 20), PixelOf(base, 421, 20));
  EXPECT_EQ(PixelOf(composite, 150, kWaveTop - 1), SpectrumPainter::kBaseBackground);
  EXPECT_EQ(PixelOf(composite, 150, kWaveBottom + 1), PixelOf(base, 150, kWaveBottom + 1));
  // Markers: full-height lines and flags of 8 rows narrowing away from the
  // waveform area, pointing inwards.
  EXPECT_EQ(PixelOf(composite, startX, 100), SpectrumPainter::kMarker);
  EXPECT_EQ(PixelOf(composite, endX, 100), SpectrumPainter::kMarker);
  EXPECT_EQ(PixelOf(composite, startX + 7, kWaveTop), SpectrumPainter::kMarker);
  EXPECT_NE(PixelOf(composite, startX + 8, kWaveTop), SpectrumPainter::kMarker);
  EXPECT_EQ(PixelOf(composite, startX, kWaveTop - 7), SpectrumPainter::kMarker);
  EXPECT_NE(PixelOf(composite, startX + 1, kWaveTop - 7), SpectrumPainter::kMarker);
  EXPECT_EQ(PixelOf(composite, startX + 7, kWaveBottom), SpectrumPainter::kMarker);
  EXPECT_EQ(PixelOf(composite, startX + 6, kWaveBottom + 1), SpectrumPainter::kMarker);
  EXPECT_NE(PixelOf(composite, startX + 7, kWaveBottom + 1), SpectrumPainter::kMarker);
  EXPECT_EQ(PixelOf(composite, endX - 7, kWaveTop), SpectrumPainter::kMarker);
  EXPECT_NE(PixelOf(composite, endX - 8, kWaveTop), SpectrumPainter::kMarker);
  EXPECT_EQ(PixelOf(composite, endX - 7, kWaveBottom), SpectrumPainter::kMarker);
  EXPECT_NE(PixelOf(composite, endX + 1, kWaveTop), SpectrumPainter::kMarker);
}

// The fades rise from the bottom at the start (x 140) to the top a second
// later (x 210) and fall back to the bottom at the end (x 420) over half a
// second; nothing outside the ramps.
TEST_F(SpectrumCtrlGuiTest, FadesAreDrawnOverTheSelection) {
  MakeReady();
  ASSERT_TRUE(view->SetSelEnd(6000));
  ASSERT_TRUE(view->SetSelStart(2000));
  view->SetFades(1000, 500);
  const wxImage composite = LayerOf(Layer::Composite);
  const int middle = (kWaveTop + kWaveBottom) / 2;
  auto fadePixels = [&](int x0, int x1, int y0, int y1) {
    return CountPixels(composite, SpectrumPainter::kFadeLine, wxRect(wxPoint(x0, y0), wxPoint(x1, y1)));
  };
  EXPECT_GT(fadePixels(141, 145, kWaveBottom - 10, kWaveBottom), 0);  // from the bottom, beside the marker
  EXPECT_GT(fadePixels(175, 175, middle - 2, middle + 2), 0);  // half way up half way in
  EXPECT_GT(fadePixels(402, 403, middle - 4, middle + 4), 0);
  EXPECT_EQ(fadePixels(212, 383, 0, kHeight - 1), 0);  // the set gain is not drawn
  EXPECT_EQ(fadePixels(0, 138, 0, kHeight - 1) + fadePixels(422, kWidth - 1, 0, kHeight - 1), 0);
  view->SetFades(0, 0);
  EXPECT_EQ(CountPixels(LayerOf(Layer::Composite), SpectrumPainter::kFadeLine, wxRect(0, 0, kWidth, kHeight)), 0);
}

TEST_F(SpectrumCtrlGuiTest, SelectionFromZeroToZeroIsNotDrawn) {
  MakeReady();
  ASSERT_TRUE(view->SetSelEnd(0));
  ExpectCompositeEqualsBase();  // (-1, 0)
  ASSERT_TRUE(view->SetSelStart(0));
  ExpectCompositeEqualsBase();  // (0, 0)
  ASSERT_TRUE(view->SetSelEnd(1));
  EXPECT_EQ(PixelOf(LayerOf(Layer::Composite), 0, 100), SpectrumPainter::kMarker);
}

TEST_F(SpectrumCtrlGuiTest, SplitMarksAreNumberedLinesThatFollowTheZoom) {
  MakeReady();
  ASSERT_EQ(view->AddMarks({2000, 7000}), 2);
  auto markPixels = [&](int x0, int x1, int y0, int y1) {
    return CountPixels(LayerOf(Layer::Composite), SpectrumPainter::kSplitMark, wxRect(wxPoint(x0, y0), wxPoint(x1, y1)));
  };
  const int first = view->TimeToX(2000);
  EXPECT_EQ(markPixels(first, first, 0, kWaveBottom - 1), kWaveBottom) << "across the track area";
  EXPECT_GT(markPixels(first + 1, first + 14, kWaveTop, kWaveTop + 30), 0) << "its number beside it";
  EXPECT_EQ(markPixels(0, first - 1, 0, kHeight - 1), 0);
  ASSERT_TRUE(view->ZoomTo(6000, 8000));  // the scroll bar takes some height
  const int second = view->TimeToX(7000);
  const int bottom = view->GetModel().WaveArea().bottom;
  EXPECT_EQ(markPixels(second, second, 0, bottom - 1), bottom);
  EXPECT_EQ(markPixels(0, second - 1, 0, bottom), 0) << "the first mark is out of view";
}

TEST_F(SpectrumCtrlGuiTest, PlayCursorIsDottedAndHiddenWhenNegative) {
  MakeReady();
  ASSERT_TRUE(view->SetPlayPosition(5000));
  const int x = view->TimeToX(5000);
  wxImage composite = LayerOf(Layer::Composite);
  const wxImage base = LayerOf(Layer::Base);
  for (int y = kWaveTop; y < kWaveBottom; ++y) {
    const bool dot = (y - kWaveTop) % 6 < 3;
    EXPECT_EQ(PixelOf(composite, x, y), dot ? SpectrumPainter::kPlayCursor : PixelOf(base, x, y)) << y;
  }
  EXPECT_EQ(PixelOf(composite, x, kWaveBottom), PixelOf(base, x, kWaveBottom));
  ASSERT_TRUE(view->SetPlayPosition(-1));
  ExpectCompositeEqualsBase();
}

TEST_F(SpectrumCtrlGuiTest, HintShowsOnTheFirstWaveformUntilTheFirstLeftClick) {
  MakeReady();
  const wxRect middle(0, kWaveTop + 60, kWidth, 144);
  EXPECT_GT(CountPixels(LayerOf(Layer::Base), SpectrumPainter::kTextInk, middle), 200);
  wxUIActionSimulator sim;
  sim.MouseMove(ScreenPoint(650, 50));
  sim.MouseClick(wxMOUSE_BTN_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return !recorder.changes.empty(); }));
  EXPECT_GT(CountPixels(LayerOf(Layer::Base), SpectrumPainter::kTextInk, middle), 200);
  sim.MouseClick();
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetAnchorX() >= 0; }));
  EXPECT_EQ(CountPixels(LayerOf(Layer::Base), SpectrumPainter::kTextInk, middle), 0);
  // Not for the next file either.
  MakeReady();
  EXPECT_EQ(CountPixels(LayerOf(Layer::Base), SpectrumPainter::kTextInk, middle), 0);
  sim.MouseMove(wxPoint(1200, 1000));  // away, for the next test
  PumpFor(30);
}

TEST_F(SpectrumCtrlGuiTest, PaintCopiesTheCompositeToTheScreen) {
  MakeReady();
  ASSERT_TRUE(view->SetSelEnd(7000));
  ASSERT_TRUE(view->SetSelStart(3000));
  view->Update();
  PumpFor(100);
  wxBitmap shot(kWidth, kHeight);
  {
    wxMemoryDC target(shot);
    wxClientDC screen(view);
    target.Blit(0, 0, kWidth, kHeight, &screen, 0, 0);
  }
  const wxImage onScreen = shot.ConvertToImage();
  const wxImage composite = LayerOf(Layer::Composite);
  int differing = 0;
  for (int y = 0; y < kHeight; y += 3) {
    for (int x = 0; x < kWidth; x += 3) differing += PixelOf(onScreen, x, y) != PixelOf(composite, x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(SpectrumCtrlGuiTest, ResizeRebuildsLayersButKeepsTheColumns) {
  MakeReady();
  view->SetSize(400, 200);
  PumpFor(50);
  EXPECT_EQ(view->GetPainter().GetWidth(), 400);
  EXPECT_EQ(view->GetPainter().GetHeight(), 200);
  EXPECT_EQ(view->GetModel().GetColumnCount(), kWidth);
  EXPECT_EQ(view->GetModel().WaveArea().bottom, 172);
  EXPECT_EQ(LayerOf(Layer::Base).GetHeight(), 200);
}

// --- mouse -------------------------------------------------------------------

TEST_F(SpectrumCtrlGuiTest, NotificationsAreQueuedNotSent) {
  MakeReady();
  ASSERT_TRUE(view->SetSelEnd(4000));
  EXPECT_TRUE(recorder.changes.empty());
  ASSERT_TRUE(PumpUntil([&] { return !recorder.changes.empty(); }));
  EXPECT_EQ(recorder.changes, (std::vector<Selection>{{-1, 4000}}));
  view->SetNotifyWindow(nullptr);
  ASSERT_TRUE(view->SetSelStart(1000));
  PumpFor(50);
  EXPECT_EQ(recorder.changes.size(), 1u);
}

TEST_F(SpectrumCtrlGuiTest, PointerClickDragAndRightClickPostTheirTimes) {
  MakeReady();
  wxUIActionSimulator sim;
  const int t100 = view->XToTime(100);
  sim.MouseMove(ScreenPoint(100, 100));
  ASSERT_TRUE(PumpUntil([&] { return !recorder.mouseTimes.empty() && recorder.mouseTimes.back() == t100; }));
  EXPECT_EQ(view->GetModel().GetMouseX(), 100);
  wxImage composite = LayerOf(Layer::Composite);
  EXPECT_EQ(PixelOf(composite, 100, 2), SpectrumPainter::kMouseLine);
  EXPECT_EQ(PixelOf(composite, 100, kHeight - 21), SpectrumPainter::kMouseLine);
  EXPECT_NE(PixelOf(composite, 100, kHeight - 20), SpectrumPainter::kMouseLine);

  // A first click selects (t, t).
  sim.MouseClick();
  ASSERT_TRUE(PumpUntil([&] { return recorder.changes.size() >= 2; }));
  EXPECT_EQ(recorder.changes, (std::vector<Selection>{{-1, t100}, {t100, t100}}));
  ASSERT_TRUE(PumpUntil([&] { return !view->GetModel().IsDragging(); }));
  EXPECT_FALSE(view->HasCapture());

  // A drag from 200 to 300 (leaving and re-entering nothing).
  recorder.changes.clear();
  const int t200 = view->XToTime(200);
  const int t300 = view->XToTime(300);
  sim.MouseMove(ScreenPoint(200, 100));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 200; }));
  sim.MouseDown();
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().IsDragging(); }));
  EXPECT_TRUE(view->HasCapture());
  sim.MouseMove(ScreenPoint(250, 120));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 250; }));
  sim.MouseMove(ScreenPoint(300, 140));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 300; }));
  // No mouse line while dragging.
  EXPECT_NE(PixelOf(LayerOf(Layer::Composite), 300, 2), SpectrumPainter::kMouseLine);
  sim.MouseUp();
  ASSERT_TRUE(PumpUntil([&] { return !view->GetModel().IsDragging(); }));
  ASSERT_TRUE(PumpUntil([&] { return !recorder.changes.empty() && recorder.changes.back() == Selection(t200, t300); }));
  // The click after the end collapsed the selection to 200, then the drag grew it.
  ASSERT_GE(recorder.changes.size(), 4u);
  EXPECT_EQ(recorder.changes[0], Selection(t100, t200));
  EXPECT_EQ(recorder.changes[1], Selection(t200, t200));
  EXPECT_EQ(view->GetSelStart(), t200);
  EXPECT_EQ(view->GetSelEnd(), t300);
  EXPECT_FALSE(view->HasCapture());

  // A right click further right moves the end; no drag begins.
  recorder.changes.clear();
  const int t500 = view->XToTime(500);
  sim.MouseMove(ScreenPoint(500, 100));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 500; }));
  sim.MouseClick(wxMOUSE_BTN_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return !recorder.changes.empty(); }));
  EXPECT_EQ(recorder.changes, (std::vector<Selection>{{t200, t500}}));
  EXPECT_FALSE(view->GetModel().IsDragging());
  sim.MouseMove(wxPoint(1200, 1000));  // away, for the next test
  PumpFor(30);
}

TEST_F(SpectrumCtrlGuiTest, QuickSecondPressCountsAsAPress) {
  // GTK delivers a second press within the double-click time and distance
  // as a double click only; it must still move the selection and drag.
  MakeReady();
  wxUIActionSimulator sim;
  sim.MouseMove(ScreenPoint(100, 100));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 100; }));
  sim.MouseClick();
  // Each step is seen before the next is sent: a slow server must not merge
  // them into something no user does.
  ASSERT_TRUE(PumpUntil([&] { return !view->GetModel().IsDragging() && view->GetSelStart() == view->XToTime(100); }));
  sim.MouseMove(ScreenPoint(103, 100));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 103; }));
  sim.MouseDown();
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().IsDragging(); }));
  sim.MouseMove(ScreenPoint(300, 100));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 300; }));
  sim.MouseUp();
  EXPECT_TRUE(PumpUntil([&] { return view->GetSelEnd() == view->XToTime(300); }));
  EXPECT_EQ(view->GetSelStart(), view->XToTime(103));
  ASSERT_TRUE(PumpUntil([&] { return !view->GetModel().IsDragging(); }));

  sim.MouseMove(ScreenPoint(500, 100));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 500; }));
  sim.MouseClick(wxMOUSE_BTN_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return view->GetSelEnd() == view->XToTime(500); }));
  sim.MouseMove(ScreenPoint(503, 100));
  ASSERT_TRUE(PumpUntil([&] { return view->GetModel().GetMouseX() == 503; }));
  sim.MouseClick(wxMOUSE_BTN_RIGHT);
  EXPECT_TRUE(PumpUntil([&] { return view->GetSelEnd() == view->XToTime(503); }));
  sim.MouseMove(wxPoint(1200, 1000));  // away, for the next test
  PumpFor(30);
}

}  // namespace
