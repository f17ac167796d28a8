#include "ui/waveform/SpectrumCtrl.h"

#include <wx/dcclient.h>

namespace {

const char* const kWindowText = "Spectrum Control";
constexpr int kBestWidth = 400;
constexpr int kBestHeight = 200;

}  // namespace

CSpectrumCtrl::CSpectrumCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
  Create(parent, id, pos, size, style);
}

bool CSpectrumCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
  // The paint handler covers every pixel: no background erase, ever.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxControl::Create(parent, id, pos, size, style, wxDefaultValidator, kWindowText)) return false;
  SetLabel(kWindowText);
  m_model.SetHost(this);

  // Ruler labels use the parent's font at a 10-pixel character height.
  wxFont rulerFont = parent && parent->GetFont().IsOk() ? parent->GetFont() : GetFont();
  if (!rulerFont.IsOk()) rulerFont = *wxNORMAL_FONT;
  rulerFont.SetPixelSize(wxSize(0, SpectrumPainter::kRulerFontPixels));
  m_rulerFont = rulerFont;

  const wxSize client = GetClientSize();
  m_model.Attach(client.x, client.y);
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
  return true;
}

CSpectrumCtrl::~CSpectrumCtrl() {
  m_model.SetHost(nullptr);
  if (wxWindow::HasCapture()) wxWindow::ReleaseMouse();
}

wxSize CSpectrumCtrl::DoGetBestSize() const { return FromDIP(wxSize(kBestWidth, kBestHeight)); }

// Rectangles and layers for the current client size, rendered at once.
bool CSpectrumCtrl::CreateLayers() {
  const wxSize client = GetClientSize();
  m_model.SetClientSize(client.x, client.y);
  const bool created = m_painter.CreateLayers(client.x, client.y, m_rulerFont);
  m_painter.RenderLayers(m_model, GetFont());
  return created;
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

void CSpectrumCtrl::OnSize(wxSizeEvent& event) {
  event.Skip();
  CreateLayers();
  Redraw();
}

void CSpectrumCtrl::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  m_painter.Paint(dc);
}

void CSpectrumCtrl::OnMouseMove(wxMouseEvent& event) {
  m_model.OnMouseMove(event.GetX(), event.LeftIsDown());
  event.Skip();
}

void CSpectrumCtrl::OnLeftDown(wxMouseEvent& event) {
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
