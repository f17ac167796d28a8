#include "ui/waveform/SpectrumPainter.h"

#include <wx/dc.h>
#include <wx/dcclient.h>
#include <wx/dcscreen.h>
#include <wx/fontenum.h>
#include <wx/graphics.h>

#include <algorithm>

#include "platform/wx/Translation.h"
#include "ui/Texts.h"
#include "ui/waveform/SpectrumRuler.h"

const wxColour SpectrumPainter::kBaseBackground(72, 78, 86);
const wxColour SpectrumPainter::kBaseGrid(115, 121, 130);
const wxColour SpectrumPainter::kBaseWave(255, 216, 142);
const wxColour SpectrumPainter::kRulerBackground(236, 233, 216);
const wxColour SpectrumPainter::kRulerInk(0, 0, 0);
const wxColour SpectrumPainter::kSelectionBackground(255, 194, 175);
const wxColour SpectrumPainter::kSelectionGrid(230, 169, 150);
const wxColour SpectrumPainter::kSelectionWave(255, 60, 0);
const wxColour SpectrumPainter::kBaseFrameGrid(92, 98, 107);
const wxColour SpectrumPainter::kSelectionFrameGrid(243, 182, 163);
const wxColour SpectrumPainter::kCutStretch(46, 204, 113);
const wxColour SpectrumPainter::kMarker(255, 255, 255);
const wxColour SpectrumPainter::kActiveMarker(255, 236, 0);
const wxColour SpectrumPainter::kSplitMark(170, 110, 255);
const wxColour SpectrumPainter::kPlayCursor(128, 255, 255);
const wxColour SpectrumPainter::kMouseLine(141, 255, 235);
const wxColour SpectrumPainter::kFadeLine(40, 90, 255);
const wxColour SpectrumPainter::kTextInk(255, 255, 255);
const wxColour SpectrumPainter::kTextShadow(0, 0, 0);

namespace {

// Rows of the bar over what the cut writes.
constexpr int kCutStretchRows = 4;

// The dotted play cursor: 3 pixels on, 3 off.
wxDash kPlayCursorDashes[] = {3, 3};

wxPen MakePen(const wxColour& colour, wxPenStyle style = wxPENSTYLE_SOLID) {
  wxPen pen(colour, 1, style);
  // Square ends that stop exactly at the end point (no half-pixel caps).
  pen.SetCap(wxCAP_BUTT);
  return pen;
}

// A horizontal line covering x0 and stopping before x1, either direction.
void HorizontalLine(wxDC& dc, int x0, int x1, int y) {
  if (x0 == x1) return;
  const int low = x0 < x1 ? x0 : x1 + 1;
  const int high = x0 < x1 ? x1 : x0 + 1;
  dc.DrawLine(low, y, high, y);
}

// A vertical line covering y0 and stopping before y1, either direction.
void VerticalLine(wxDC& dc, int x, int y0, int y1) {
  if (y0 == y1) return;
  const int low = y0 < y1 ? y0 : y1 + 1;
  const int high = y0 < y1 ? y1 : y0 + 1;
  dc.DrawLine(x, low, x, high);
}

void FillRect(wxDC& dc, const wxColour& colour, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(x, y, width, height);
  dc.SetBrush(wxNullBrush);
}

// Text drawn left- and top-aligned inside a rectangle and clipped to it.
void DrawClippedText(wxDC& dc, const wxString& text, const wxRect& rect) {
  if (rect.width <= 0 || rect.height <= 0) return;
  wxDCClipper clip(dc, rect);
  dc.DrawText(text, rect.x, rect.y);
}

bool IsInstalledFace(const wxString& face) { return wxFontEnumerator::IsValidFacename(face); }

// Pixel height of the font's em square, the magnitude of a negative font
// height field.
int EmPixels(const wxFont& font) {
  int ppi = wxScreenDC().GetPPI().y;
  if (ppi <= 0) ppi = 96;
  return std::max(1, static_cast<int>(font.GetFractionalPointSize() * ppi / 72.0 + 0.5));
}

// The state-text font: the control font's height field (negative: an em
// height) plus 50, extra bold, in the message face. A positive height is the
// cell height (ascent plus descent), found by measuring once and scaling.
wxFont MakeMessageFont(const wxFont& controlFont, wxDC& dc) {
  wxFont font(controlFont);
  font.SetNumericWeight(SpectrumPainter::kMessageWeight);
  const wxString face = SpectrumPainter::MessageFaceName();
  if (!face.empty()) font.SetFaceName(face);
  const int height = -EmPixels(controlFont) + SpectrumPainter::kMessageHeightIncrease;
  if (height < 0) {
    font.SetPixelSize(wxSize(0, -height));
  } else if (height > 0) {
    font.SetPixelSize(wxSize(0, height));
    const wxFont previous = dc.GetFont();
    dc.SetFont(font);
    const int cell = dc.GetCharHeight();
    dc.SetFont(previous);
    if (cell > height) font.SetPixelSize(wxSize(0, std::max(1, height * height / cell)));
  }
  return font;
}

}  // namespace

SpectrumPainter::SpectrumPainter()
    : m_basePen(MakePen(kBaseGrid)),
      m_baseWavePen(MakePen(kBaseWave)),
      m_rulerPen(MakePen(kRulerInk)),
      m_selectionPen(MakePen(kSelectionGrid)),
      m_selectionWavePen(MakePen(kSelectionWave)),
      m_baseFramePen(MakePen(kBaseFrameGrid)),
      m_selectionFramePen(MakePen(kSelectionFrameGrid)),
      m_markerPen(MakePen(kMarker)),
      m_activeMarkerPen(MakePen(kActiveMarker)),
      m_splitMarkPen(MakePen(kSplitMark)),
      m_playCursorPen(MakePen(kPlayCursor, wxPENSTYLE_USER_DASH)),
      m_mousePen(MakePen(kMouseLine)),
      m_fadePen(MakePen(kFadeLine)) {
  m_playCursorPen.SetDashes(2, kPlayCursorDashes);
}

wxString SpectrumPainter::MessageFaceName() {
  static const wxString face = [] {
    const wxString preferred = wxString::FromUTF8("돋움");
    if (IsInstalledFace(preferred)) return preferred;
    if (IsInstalledFace("NanumGothic")) return wxString("NanumGothic");
    return wxString();
  }();
  return face;
}

bool SpectrumPainter::CreateLayers(int width, int height, const wxFont& rulerFont) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  m_nWidth = std::max(1, width);
  m_nHeight = std::max(1, height);
  for (Surface& layer : m_layers) {
    layer.dc.reset();
    layer.bitmap = wxBitmap();
  }
  for (int i = 0; i < 3; ++i) {
    Surface& layer = m_layers[i];
    if (!layer.bitmap.Create(m_nWidth, m_nHeight, wxBITMAP_SCREEN_DEPTH)) return false;
    auto dc = std::make_unique<wxMemoryDC>(layer.bitmap);
    if (!dc->IsOk()) {
      layer.bitmap = wxBitmap();
      return false;
    }
    if (wxGraphicsContext* context = dc->GetGraphicsContext()) {
      context->SetAntialiasMode(wxANTIALIAS_NONE);
    }
    if (rulerFont.IsOk()) dc->SetFont(rulerFont);  // the composite's for the marks' numbers
    layer.dc = std::move(dc);
  }
  return true;
}

void SpectrumPainter::RenderLayers(SpectrumModel& model, const wxFont& controlFont) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  if (!HasLayer(Layer::Base)) return;
  RenderBase(model, controlFont);
  if (HasLayer(Layer::Selection)) RenderSelection(model);
  Compose(model);
}

void SpectrumPainter::RenderBase(SpectrumModel& model, const wxFont& controlFont) {
  wxMemoryDC& dc = *m_layers[Index(Layer::Base)].dc;
  const SpectrumRect& wave = model.WaveArea();
  const SpectrumRect& ruler = model.RulerArea();
  FillRect(dc, kBaseBackground, 0, 0, m_nWidth, m_nHeight);
  dc.SetPen(m_basePen);
  DrawGrid(dc, wave);
  FillRect(dc, kRulerBackground, ruler.left, ruler.top, ruler.Width(), ruler.Height());
  if (model.GetState() == SpectrumState::Ready) {
    dc.SetPen(m_baseFramePen);
    DrawFrameGrid(dc, model);
    DrawRuler(dc, model, true, m_basePen);
    dc.SetPen(m_baseWavePen);
    DrawColumns(dc, model);
    if (model.TakeSelectionHint()) {
      DrawStateText(dc, Tr(uitext::kSelectWithTheMouse), wave, controlFont);
    }
  } else {
    const char* text = model.GetState() == SpectrumState::Analysing ? uitext::kAnalysing : uitext::kOpenAFile;
    DrawStateText(dc, Tr(text), wave, controlFont);
  }
  dc.SetPen(wxNullPen);
}

void SpectrumPainter::RenderSelection(const SpectrumModel& model) {
  wxMemoryDC& dc = *m_layers[Index(Layer::Selection)].dc;
  FillRect(dc, kSelectionBackground, 0, 0, m_nWidth, m_nHeight);
  dc.SetPen(m_selectionPen);
  DrawGrid(dc, model.WaveArea());
  if (model.GetState() == SpectrumState::Ready) {
    dc.SetPen(m_selectionFramePen);
    DrawFrameGrid(dc, model);
    DrawRuler(dc, model, false, m_selectionPen);
    dc.SetPen(m_selectionWavePen);
    DrawColumns(dc, model);
  }
  dc.SetPen(wxNullPen);
}

// Eleven horizontal lines: the middle, five steps above and below it, and the
// two edges of the waveform area. The current pen draws them.
void SpectrumPainter::DrawGrid(wxDC& dc, const SpectrumRect& wave) const {
  const int height = wave.Height();
  const int middle = wave.top + height / 2;
  const int step = (height / 2) / 5;
  const int right = wave.Width();
  for (int k = 1; k <= 5; ++k) {
    HorizontalLine(dc, 0, right, middle - k * step);
    HorizontalLine(dc, 0, right, middle + k * step);
  }
  HorizontalLine(dc, 0, right, middle);
  HorizontalLine(dc, 0, right, wave.top);
  HorizontalLine(dc, 0, right, wave.bottom);
}

// Tick marks and labels in the ruler strip (base layer only) and one vertical
// grid line per tick across the waveform area.
void SpectrumPainter::DrawRuler(wxDC& dc, const SpectrumModel& model, bool marksAndLabels,
                                const wxPen& gridPen) const {
  const SpectrumRect& wave = model.WaveArea();
  const SpectrumRect& ruler = model.RulerArea();
  const SpectrumRuler layout = SpectrumRuler::ForView(model.GetView());
  if (marksAndLabels) {
    dc.SetTextForeground(kRulerInk);
    dc.SetTextBackground(kRulerBackground);
    dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
  }
  // Where the frame boundaries show, only the major ticks cross the
  // waveform, so the frames stay readable.
  const bool majorOnly = model.ShowsFrameGrid();
  for (const SpectrumTick& tick : layout.Ticks()) {
    const int x = ruler.left + tick.x;
    if (marksAndLabels) {
      dc.SetPen(m_rulerPen);
      VerticalLine(dc, x, ruler.top, ruler.top + tick.markLength);
    }
    if (majorOnly && !tick.major) continue;
    dc.SetPen(gridPen);
    VerticalLine(dc, x, wave.top, wave.bottom);
  }
  if (marksAndLabels) {
    DrawRulerLabels(dc, layout, ruler);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  }
}

// The major ticks' labels where the ruler layout puts them, black on the
// ruler background.
void SpectrumPainter::DrawRulerLabels(wxDC& dc, const SpectrumRuler& layout, const SpectrumRect& ruler) const {
  const int bottom = ruler.bottom - 1;
  auto width = [&dc](const std::string& text) { return dc.GetTextExtent(wxString::FromUTF8(text)).x; };
  for (const SpectrumLabel& label : layout.Labels(width)) {
    const wxString text = wxString::FromUTF8(label.text);
    const int height = dc.GetTextExtent(text).y;
    DrawClippedText(dc, text, wxRect(ruler.left + label.left, bottom - height, label.width, height));
  }
}

// One line per column from its lower end up to (not including) its upper
// end; a column whose ends are equal draws nothing.
void SpectrumPainter::DrawColumns(wxDC& dc, const SpectrumModel& model) const {
  const int top = model.WaveArea().top;
  const int count = model.GetVisibleColumnCount();
  for (int i = 0; i < count; ++i) {
    VerticalLine(dc, i, top + model.GetVisibleBottom(i), top + model.GetVisibleTop(i));
  }
}

// A line across the waveform area at each frame start in view, in the
// current pen, when the frames are wide enough.
void SpectrumPainter::DrawFrameGrid(wxDC& dc, const SpectrumModel& model) const {
  if (!model.ShowsFrameGrid()) return;
  const WaveView& view = model.GetView();
  const SpectrumRect& wave = model.WaveArea();
  const std::vector<int>& frames = model.GetFrameTimes();
  auto frame = std::lower_bound(frames.begin(), frames.end(), view.Start());
  for (; frame != frames.end() && *frame <= view.End(); ++frame) {
    VerticalLine(dc, wave.left + static_cast<int>(view.TimeToRawX(*frame)), wave.top, wave.bottom);
  }
}

// The bar over what a cut of the selection writes, in the rows just below
// the top of the waveform area, clipped to the view.
void SpectrumPainter::DrawCutStretch(wxDC& dc, const SpectrumModel& model) const {
  int from = 0;
  int to = 0;
  if (!model.ShowsFrameGrid() || !model.GetCutStretch(&from, &to) || to <= from) return;
  const WaveView& view = model.GetView();
  const SpectrumRect& wave = model.WaveArea();
  const int64_t left = std::max<int64_t>(view.TimeToRawX(from), 0);
  const int64_t right = std::min<int64_t>(view.TimeToRawX(to), wave.Width());
  if (right <= left) return;
  FillRect(dc, kCutStretch, wave.left + static_cast<int>(left), wave.top + 1, static_cast<int>(right - left),
           kCutStretchRows);
}

// The text centred in the waveform area, white over a black shadow one pixel
// down and right.
void SpectrumPainter::DrawStateText(wxDC& dc, const wxString& text, const SpectrumRect& wave,
                                    const wxFont& controlFont) const {
  if (!controlFont.IsOk()) return;
  const wxFont previousFont = dc.GetFont();
  const wxColour previousInk = dc.GetTextForeground();
  const int previousMode = dc.GetBackgroundMode();
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetFont(MakeMessageFont(controlFont, dc));
  const wxSize extent = dc.GetTextExtent(text);
  const int x = wave.left + wave.Width() / 2 - extent.x / 2;
  const int y = wave.top + wave.Height() / 2 - extent.y / 2;
  const wxRect rect(x, y, wave.right - x, wave.bottom - y);
  dc.SetTextForeground(kTextShadow);
  DrawClippedText(dc, text, wxRect(rect.x + 1, rect.y + 1, rect.width, rect.height));
  dc.SetTextForeground(kTextInk);
  DrawClippedText(dc, text, rect);
  dc.SetFont(previousFont);
  dc.SetTextForeground(previousInk);
  dc.SetBackgroundMode(previousMode);
}

void SpectrumPainter::Compose(const SpectrumModel& model) {
  if (!HasLayer(Layer::Base) || !HasLayer(Layer::Composite)) return;
  wxMemoryDC& dc = *m_layers[Index(Layer::Composite)].dc;
  dc.Blit(0, 0, m_nWidth, m_nHeight, m_layers[Index(Layer::Base)].dc.get(), 0, 0);
  if (model.GetDuration() <= 0) return;
  const SpectrumRect& wave = model.WaveArea();
  const SpectrumRect& track = model.TrackArea();
  const WaveView& view = model.GetView();
  // A selection (0, 0) is no selection. In a zoomed view only what lies in
  // the view is drawn; the whole file shows everything, clamped to it.
  auto shown = [&view](int timeMs) { return view.IsWhole() || view.Contains(timeMs); };
  if (model.GetSelStart() > 0 || model.GetSelEnd() > 0) {
    const int start = model.GetSelStart();
    const int end = model.GetSelEnd();
    const int startX = model.TimeToX(start);
    const int endX = model.TimeToX(end);
    const int height = wave.Height() + 1;
    const bool overlaps = view.IsWhole() || (end >= view.Start() && start <= view.End());
    if (HasLayer(Layer::Selection) && endX >= startX && height > 0 && overlaps) {
      dc.Blit(startX, wave.top, endX - startX + 1, height, m_layers[Index(Layer::Selection)].dc.get(), startX,
              wave.top);
    }
    DrawFades(dc, model, startX, endX);
    DrawMarkers(dc, shown(start) ? startX : -1, shown(end) ? endX : -1, wave);
    if (model.IsActiveEdgeShown()) {
      const bool atStart = model.GetActiveEdge() == SpectrumModel::Edge::Start;
      dc.SetPen(m_activeMarkerPen);
      if (shown(atStart ? start : end)) DrawMarker(dc, atStart ? startX : endX, atStart ? 1 : -1, wave);
    }
  }
  DrawCutStretch(dc, model);
  DrawSplitMarks(dc, model);
  if (model.GetPlayPosition() >= 0 && shown(model.GetPlayPosition())) {
    dc.SetPen(m_playCursorPen);
    VerticalLine(dc, model.TimeToX(model.GetPlayPosition()), wave.top, wave.bottom);
  }
  if (!model.IsDragging() && model.GetMouseX() >= 0) {
    dc.SetPen(m_mousePen);
    VerticalLine(dc, model.GetMouseX(), track.top, track.bottom);
  }
  dc.SetPen(wxNullPen);
}

// Each end gets a line across the waveform area and two triangular flags of
// 8 rows, above and below it, wide edge against the area: the start's flags
// point right, the end's point left. An end at a negative x is out of view.
void SpectrumPainter::DrawMarkers(wxDC& dc, int startX, int endX, const SpectrumRect& wave) const {
  dc.SetPen(m_markerPen);
  if (startX >= 0) DrawMarker(dc, startX, 1, wave);
  if (endX >= 0) DrawMarker(dc, endX, -1, wave);
}

// One marker in the current pen, its flags pointing in `direction`.
void SpectrumPainter::DrawMarker(wxDC& dc, int x, int direction, const SpectrumRect& wave) const {
  VerticalLine(dc, x, wave.top, wave.bottom);
  for (int j = 0; j < kMarkerFlagRows; ++j) {
    HorizontalLine(dc, x, x + direction * (kMarkerFlagRows - j), wave.top - j);
    HorizontalLine(dc, x, x + direction * (kMarkerFlagRows - j), wave.bottom + j);
  }
}

void SpectrumPainter::SetFades(int fadeInMs, int fadeOutMs) {
  m_fadeInMs = std::max(fadeInMs, 0);
  m_fadeOutMs = std::max(fadeOutMs, 0);
}

// The level at each column of the selection as a point between the bottom
// (silence) and the top (the set gain) of the waveform area; the ramps are
// the lines between columns where the level is below the top.
void SpectrumPainter::DrawFades(wxDC& dc, const SpectrumModel& model, int startX, int endX) const {
  if ((m_fadeInMs == 0 && m_fadeOutMs == 0) || endX <= startX) return;
  const SpectrumRect& wave = model.WaveArea();
  const double start = model.GetSelStart(), end = model.GetSelEnd();
  // In a zoomed view an end outside it sits on the edge column, which is
  // not its time.
  const WaveView& view = model.GetView();
  const bool startShown = view.IsWhole() || view.Contains(model.GetSelStart());
  const bool endShown = view.IsWhole() || view.Contains(model.GetSelEnd());
  auto levelAt = [&](int x) {
    // The selection's own ends, not the times their columns round to.
    const double t = x == startX && startShown ? start
                     : x == endX && endShown   ? end
                                               : std::clamp<double>(model.XToTime(x), start, end);
    double level = 1.0;
    if (m_fadeInMs > 0) level = std::min(level, (t - start) / m_fadeInMs);
    if (m_fadeOutMs > 0) level = std::min(level, (end - t) / m_fadeOutMs);
    return level;
  };
  auto yOf = [&](double level) { return wave.bottom - static_cast<int>(level * (wave.bottom - wave.top) + 0.5); };
  dc.SetPen(m_fadePen);
  double previous = levelAt(startX);
  for (int x = startX + 1; x <= endX; ++x) {
    const double level = levelAt(x);
    if (previous < 1.0 || level < 1.0) dc.DrawLine(x - 1, yOf(previous), x, yOf(level));
    previous = level;
  }
}

void SpectrumPainter::Paint(wxDC& dc) {
  std::lock_guard<std::recursive_mutex> hold(m_lock);
  if (!HasLayer(Layer::Composite)) return;
  dc.Blit(0, 0, m_nWidth, m_nHeight, m_layers[Index(Layer::Composite)].dc.get(), 0, 0);
}

wxImage SpectrumPainter::LayerImage(Layer layer) const {
  const Surface& source = m_layers[Index(layer)];
  if (!source.dc) return wxImage();
  // A bitmap selected into a DC may convert from a stale cache: copy the
  // pixels into a fresh bitmap first.
  wxBitmap copy(m_nWidth, m_nHeight, wxBITMAP_SCREEN_DEPTH);
  {
    wxMemoryDC target(copy);
    target.Blit(0, 0, m_nWidth, m_nHeight, source.dc.get(), 0, 0);
  }
  return copy.ConvertToImage();
}
