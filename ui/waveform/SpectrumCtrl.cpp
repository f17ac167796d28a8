#include "ui/waveform/SpectrumCtrl.h"

#include <wx/dcclient.h>
#include <wx/scrolbar.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const char* const kWindowText = "Spectrum Control";
constexpr int kBestWidth = 400;
constexpr int kBestHeight = 200;
// One wheel step zooms by this factor, or scrolls this share of the view.
constexpr double kWheelZoomFactor = 1.5;
constexpr int kWheelScrollDivisor = 8;
// The scroll bar's page is this share of the view (in tenths).
constexpr int kScrollPageTenths = 9;

}  // namespace

CSpectrumCtrl::CSpectrumCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
  Create(parent, id, pos, size, style);
}

bool CSpectrumCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
  // The paint handler covers every pixel: no background erase, ever.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  // Arrows and Tab reach the window's key handling instead of moving the focus.
  if (!wxControl::Create(parent, id, pos, size, style | wxWANTS_CHARS, wxDefaultValidator, kWindowText)) {
    return false;
  }
  SetLabel(kWindowText);
  m_model.SetHost(this);

  // Ruler labels use the parent's font at a 10-pixel character height.
  wxFont rulerFont = parent && parent->GetFont().IsOk() ? parent->GetFont() : GetFont();
  if (!rulerFont.IsOk()) rulerFont = *wxNORMAL_FONT;
  rulerFont.SetPixelSize(wxSize(0, SpectrumPainter::kRulerFontPixels));
  m_rulerFont = rulerFont;

  const wxSize client = GetClientSize();
  m_model.Attach(client.x, client.y);
  m_pScrollBar = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_HORIZONTAL);
  m_pScrollBar->Hide();
  CreateLayers();

  Bind(wxEVT_SIZE, &CSpectrumCtrl::OnSize, this);
  Bind(wxEVT_PAINT, &CSpectrumCtrl::OnPaint, this);
  Bind(wxEVT_MOTION, &CSpectrumCtrl::OnMouseMove, this);
  Bind(wxEVT_LEFT_DOWN, &CSpectrumCtrl::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &CSpectrumCtrl::OnLeftUp, this);
  Bind(wxEVT_RIGHT_DOWN, &CSpectrumCtrl::OnRightDown, this);
  // GTK turns a quick second press into a double click instead of a press:
  // it is a press like any other here.
  Bind(wxEVT_LEFT_DCLICK, &CSpectrumCtrl::OnLeftDown, this);
  Bind(wxEVT_RIGHT_DCLICK, &CSpectrumCtrl::OnRightDown, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CSpectrumCtrl::OnCaptureLost, this);
  Bind(wxEVT_MOUSEWHEEL, &CSpectrumCtrl::OnWheel, this);
  m_pScrollBar->Bind(wxEVT_SCROLL_THUMBTRACK, &CSpectrumCtrl::OnScroll, this);
  m_pScrollBar->Bind(wxEVT_SCROLL_CHANGED, &CSpectrumCtrl::OnScroll, this);
  m_pScrollBar->Bind(wxEVT_SCROLL_LINEUP, &CSpectrumCtrl::OnScroll, this);
  m_pScrollBar->Bind(wxEVT_SCROLL_LINEDOWN, &CSpectrumCtrl::OnScroll, this);
  m_pScrollBar->Bind(wxEVT_SCROLL_PAGEUP, &CSpectrumCtrl::OnScroll, this);
  m_pScrollBar->Bind(wxEVT_SCROLL_PAGEDOWN, &CSpectrumCtrl::OnScroll, this);
  return true;
}

CSpectrumCtrl::~CSpectrumCtrl() {
  m_detailLoader.Stop();
  m_model.SetHost(nullptr);
  if (wxWindow::HasCapture()) wxWindow::ReleaseMouse();
}

wxSize CSpectrumCtrl::DoGetBestSize() const { return FromDIP(wxSize(kBestWidth, kBestHeight)); }

// Rectangles and layers for the client size less the scroll bar, rendered
// at once.
bool CSpectrumCtrl::CreateLayers() {
  wxSize client = GetClientSize();
  if (m_pScrollBar && m_pScrollBar->IsShown()) {
    const int bar = m_pScrollBar->GetBestSize().y;
    client.y = std::max(client.y - bar, 1);
    m_pScrollBar->SetSize(0, client.y, client.x, bar);
  }
  m_model.SetClientSize(client.x, client.y);
  const bool created = m_painter.CreateLayers(client.x, client.y, m_rulerFont);
  m_painter.RenderLayers(m_model, GetFont());
  return created;
}

void CSpectrumCtrl::Reset() {
  m_detailLoader.SetSource(std::string(), nullptr);
  m_model.Reset();
}

void CSpectrumCtrl::SetSourcePath(const std::string& path) {
  // The answers come on the loader's thread: the model takes them on this one.
  auto detail = [this](WaveDetail peaks) {
    auto shared = std::make_shared<WaveDetail>(std::move(peaks));
    CallAfter([this, shared] { m_model.SetDetail(std::move(*shared)); });
  };
  auto frames = [this](FrameTimes times) {
    auto shared = std::make_shared<FrameTimes>(std::move(times));
    CallAfter([this, shared] {
      if (m_model.GetState() == SpectrumState::Ready) m_model.SetFrameTimes(std::move(*shared));
    });
  };
  m_detailLoader.SetSource(path, detail, frames);
}

void CSpectrumCtrl::EndAnalysis() {
  m_model.EndAnalysis();
  m_detailLoader.RequestFrameTimes();
}

void CSpectrumCtrl::Redraw() {
  m_painter.RenderLayers(m_model, GetFont());
  Refresh(false);
}

void CSpectrumCtrl::Compose() {
  m_painter.Compose(m_model);
  Refresh(false);
}

void CSpectrumCtrl::PostChangeTime(int selStart, int selEnd) {
  if (!m_pNotify) return;
  auto* event = new SpectrumTimeEvent(WM_SPECTRUM_CHANGE_TIME, GetId(), selStart, selEnd);
  event->SetEventObject(this);
  wxQueueEvent(m_pNotify, event);
}

void CSpectrumCtrl::PostMouseTime(int timeMs) {
  if (!m_pNotify) return;
  auto* event = new SpectrumTimeEvent(WM_SPECTRUM_MOUSE_TIME, GetId(), timeMs, 0);
  event->SetEventObject(this);
  wxQueueEvent(m_pNotify, event);
}

bool CSpectrumCtrl::HoldsMouseCapture() const { return wxWindow::HasCapture(); }

void CSpectrumCtrl::BeginMouseCapture() {
  if (!wxWindow::HasCapture()) wxWindow::CaptureMouse();
}

void CSpectrumCtrl::EndMouseCapture() {
  if (wxWindow::HasCapture()) wxWindow::ReleaseMouse();
}

void CSpectrumCtrl::ViewChanged() {
  const bool wanted = !m_model.GetView().IsWhole();
  if (m_pScrollBar->IsShown() != wanted) {
    m_pScrollBar->Show(wanted);
    CreateLayers();
  }
  UpdateScrollBar();
}

void CSpectrumCtrl::UpdateScrollBar() {
  const WaveView& view = m_model.GetView();
  if (!m_pScrollBar->IsShown()) return;
  m_pScrollBar->SetScrollbar(view.Start(), view.Span(), view.Duration(), view.Span() * kScrollPageTenths / 10);
}

void CSpectrumCtrl::OnSize(wxSizeEvent& event) {
  event.Skip();
  CreateLayers();
  UpdateScrollBar();
  Redraw();
}

void CSpectrumCtrl::OnWheel(wxMouseEvent& event) {
  const int delta = std::max(event.GetWheelDelta(), 1);
  m_nWheelRest += event.GetWheelRotation();
  const int steps = m_nWheelRest / delta;
  m_nWheelRest -= steps * delta;
  if (steps == 0) return;
  if (event.ControlDown() && event.GetWheelAxis() == wxMOUSE_WHEEL_VERTICAL) {
    // Away from the user zooms in, around the time under the pointer.
    m_model.ZoomAtPointer(event.GetX(), std::pow(kWheelZoomFactor, steps));
    return;
  }
  // Down (or right) shows later times.
  const int step = std::max(m_model.GetView().Span() / kWheelScrollDivisor, 1);
  const int sign = event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL ? 1 : -1;
  m_model.ScrollBy(sign * steps * step);
}

void CSpectrumCtrl::OnScroll(wxScrollEvent& event) { m_model.ScrollTo(event.GetPosition()); }

void CSpectrumCtrl::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  m_painter.Paint(dc);
}

void CSpectrumCtrl::OnMouseMove(wxMouseEvent& event) {
  m_model.OnMouseMove(event.GetX(), event.LeftIsDown());
  event.Skip();
}

void CSpectrumCtrl::OnLeftDown(wxMouseEvent& event) {
  if (!HasFocus()) SetFocus();
  m_model.OnLeftDown(event.GetX());
  event.Skip();
}

void CSpectrumCtrl::OnLeftUp(wxMouseEvent& event) {
  m_model.OnLeftUp();
  event.Skip();
}

void CSpectrumCtrl::OnRightDown(wxMouseEvent& event) {
  m_model.OnRightDown(event.GetX());
  event.Skip();
}

// Another window took the mouse (a menu, a grab): the drag ends as if the
// button had come up.
void CSpectrumCtrl::OnCaptureLost(wxMouseCaptureLostEvent&) { m_model.OnLeftUp(); }
