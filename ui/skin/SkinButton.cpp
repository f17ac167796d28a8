// CSkinButton: window behaviour around the face drawn by SkinFace.
#include "ui/skin/SkinButton.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <algorithm>

#include "platform/ResourceFiles.h"
#include "platform/ResourceIds.h"

namespace {

constexpr int kLeaveTimerId = 1;
constexpr int kLeaveTimerPeriodMs = 100;
const wxColour kTransparentColour(255, 0, 255);

// Loads one glyph picture with its magenta mask.
wxBitmap LoadGlyph(const wxString& file) {
  if (file.empty() || !wxFileExists(file)) return wxBitmap();
  wxLogNull quiet;  // a broken file is a refused glyph, not a message
  wxImage image;
  if (!image.LoadFile(file, wxBITMAP_TYPE_ANY) || !image.IsOk()) return wxBitmap();
  wxBitmap bitmap(image);
  if (!bitmap.IsOk()) return wxBitmap();
  bitmap.SetMask(new wxMask(bitmap, kTransparentColour));
  return bitmap;
}

}  // namespace

CSkinButton::CSkinButton() : m_leaveTimer(this, kLeaveTimerId) {}

CSkinButton::CSkinButton(wxWindow* parent, wxWindowID id, const wxString& caption,
                         const wxPoint& pos, const wxSize& size, long style, const wxString& name)
    : m_leaveTimer(this, kLeaveTimerId) {
  Create(parent, id, caption, pos, size, style, name);
}

CSkinButton::~CSkinButton() {
  m_leaveTimer.Stop();
}

bool CSkinButton::Create(wxWindow* parent, wxWindowID id, const wxString& caption,
                         const wxPoint& pos, const wxSize& size, long style, const wxString& name) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE,
                         wxDefaultValidator, name)) {
    return false;
  }
  wxControl::SetLabel(caption);
  SetInitialSize(size);
  Init();
  return true;
}

void CSkinButton::Init() {
  Bind(wxEVT_PAINT, &CSkinButton::OnPaint, this);
  Bind(wxEVT_ERASE_BACKGROUND, &CSkinButton::OnEraseBackground, this);
  Bind(wxEVT_SIZE, &CSkinButton::OnSize, this);
  Bind(wxEVT_MOTION, &CSkinButton::OnMouseMove, this);
  Bind(wxEVT_LEFT_DOWN, &CSkinButton::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &CSkinButton::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &CSkinButton::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CSkinButton::OnCaptureLost, this);
  Bind(wxEVT_KEY_DOWN, &CSkinButton::OnKeyDown, this);
  Bind(wxEVT_KEY_UP, &CSkinButton::OnKeyUp, this);
  Bind(wxEVT_SET_FOCUS, &CSkinButton::OnFocusChange, this);
  Bind(wxEVT_KILL_FOCUS, &CSkinButton::OnFocusChange, this);
  Bind(wxEVT_TIMER, &CSkinButton::OnLeaveTimer, this, kLeaveTimerId);
  Bind(wxEVT_SYS_COLOUR_CHANGED, &CSkinButton::OnSysColourChanged, this);
  CreateFace();
}

void CSkinButton::CreateFace() {
  const wxSize size = GetClientSize();
  m_face = wxBitmap();
  if (size.x > 0 && size.y > 0) m_face.Create(size.x, size.y, wxBITMAP_SCREEN_DEPTH);
  if (!m_face.IsOk()) m_face = wxBitmap();
  m_nLastState = -1;
}

void CSkinButton::Invalidate(bool erase) {
  m_nLastState = -1;
  Refresh(erase);
}

void CSkinButton::ClearGlyphs() {
  m_glyphs = SkinGlyphs();
  m_nGlyphWidth = 0;
  m_nGlyphHeight = 0;
  Invalidate(true);
}

bool CSkinButton::SetBitmaps(int normalId, int disabledId) {
  if (normalId == IDR_NONE) return false;
  const wxString normalFile = wxString::FromUTF8(FindResourceFileById(normalId));
  const wxString disabledFile =
      disabledId == IDR_NONE ? normalFile : wxString::FromUTF8(FindResourceFileById(disabledId));
  if (normalFile.empty() || disabledFile.empty()) {
    ClearGlyphs();
    return false;
  }
  return SetBitmapFiles(normalFile, disabledFile);
}

bool CSkinButton::SetBitmapFiles(const wxString& normalFile, const wxString& disabledFile) {
  if (normalFile.empty()) return false;
  ClearGlyphs();

  SkinGlyphs glyphs;
  glyphs.normal = LoadGlyph(normalFile);
  if (!glyphs.normal.IsOk()) return false;
  glyphs.disabled = LoadGlyph(disabledFile.empty() ? normalFile : disabledFile);
  if (!glyphs.disabled.IsOk()) return false;
  if (glyphs.disabled.GetSize() != glyphs.normal.GetSize() ||
      glyphs.disabled.GetDepth() != glyphs.normal.GetDepth()) {
    return false;
  }
  m_glyphs = glyphs;
  m_nGlyphWidth = glyphs.normal.GetWidth();
  m_nGlyphHeight = glyphs.normal.GetHeight();
  return true;
}

bool CSkinButton::Enable(bool enable) {
  if (!wxControl::Enable(enable)) return false;
  if (!enable) {
    // A press in progress ends without a click.
    if (HasCapture()) ReleaseMouse();
    m_bMouseTracking = false;
    m_bSpaceDown = false;
    SetPushed(false);
  }
  Refresh(false);
  return true;
}

void CSkinButton::SetLabel(const wxString& label) {
  if (label == GetLabel()) return;
  wxControl::SetLabel(label);
  InvalidateBestSize();
  Invalidate(false);
}

bool CSkinButton::SetFont(const wxFont& font) {
  if (!wxControl::SetFont(font)) return false;
  InvalidateBestSize();
  Invalidate(false);
  return true;
}

wxSize CSkinButton::DoGetBestClientSize() const {
  wxClientDC dc(const_cast<CSkinButton*>(this));
  dc.SetFont(GetFont());
  const wxString caption = GetLabel();
  const wxSize text = caption.empty() ? wxSize(0, 0) : dc.GetTextExtent(caption);
  int width = text.x;
  int height = text.y;
  if (HasGlyphs()) {
    width += m_nGlyphWidth + (caption.empty() ? 0 : kSkinGlyphCaptionGap);
    height = std::max(height, m_nGlyphHeight);
  }
  return wxSize(width + 16, height + 10);
}

wxBitmap CSkinButton::RenderFaceBitmap(SkinButtonState state, bool focus) const {
  if (!m_face.IsOk()) return wxBitmap();
  wxBitmap bitmap(m_face.GetWidth(), m_face.GetHeight(), wxBITMAP_SCREEN_DEPTH);
  RenderFace(bitmap, state, focus);
  return bitmap;
}

void CSkinButton::RenderFace(wxBitmap& target, SkinButtonState state, bool focus) const {
  wxMemoryDC dc(target);
  dc.SetFont(GetFont());
  DrawSkinFace(dc, target.GetSize(), state, focus, GetLabel(), HasGlyphs() ? &m_glyphs : nullptr,
               SkinColours::FromSystem());
  dc.SelectObject(wxNullBitmap);
}

void CSkinButton::DrawItem(wxDC& dc) {
  if (!m_face.IsOk()) return;
  SkinButtonState state = SkinButtonState::Normal;
  bool focus = false;
  if (!IsEnabled()) {
    state = SkinButtonState::Disabled;
  } else if (HasFocus()) {
    focus = true;
    state = m_bPushed ? SkinButtonState::Pressed : SkinButtonState::Normal;
  }
  if (static_cast<int>(state) != m_nLastState || focus != m_bLastFocus) {
    RenderFace(m_face, state, focus);
    ++m_nRenderCount;
  }
  m_nLastState = static_cast<int>(state);
  m_bLastFocus = focus;
  dc.DrawBitmap(m_face, 0, 0, false);
}

void CSkinButton::SetPushed(bool pushed) {
  if (pushed == m_bPushed) return;
  m_bPushed = pushed;
  Refresh(false);
}

void CSkinButton::Click() {
  wxCommandEvent event(wxEVT_BUTTON, GetId());
  event.SetEventObject(this);
  ProcessWindowEvent(event);
}

void CSkinButton::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  DrawItem(dc);
}

void CSkinButton::OnEraseBackground(wxEraseEvent&) {
  // The face covers the whole client area: nothing to erase.
}

void CSkinButton::OnSize(wxSizeEvent& event) {
  const wxSize size = GetClientSize();
  if (!m_face.IsOk() || m_face.GetSize() != size) {
    CreateFace();
    Refresh(false);
  }
  event.Skip();
}

void CSkinButton::OnMouseMove(wxMouseEvent& event) {
  if (m_face.IsOk()) m_leaveTimer.Start(kLeaveTimerPeriodMs);
  if (m_bMouseTracking) SetPushed(GetClientRect().Contains(event.GetPosition()));
  event.Skip();
}

void CSkinButton::OnLeftDown(wxMouseEvent& event) {
  if (!IsEnabled()) return;
  SetFocus();
  if (!HasCapture()) CaptureMouse();
  m_bMouseTracking = true;
  SetPushed(true);
  event.Skip(false);
}

void CSkinButton::OnLeftUp(wxMouseEvent& event) {
  if (!m_bMouseTracking) {
    event.Skip();
    return;
  }
  m_bMouseTracking = false;
  if (HasCapture()) ReleaseMouse();
  const bool clicked = m_bPushed && GetClientRect().Contains(event.GetPosition());
  SetPushed(false);
  if (clicked) Click();
}

void CSkinButton::OnCaptureLost(wxMouseCaptureLostEvent&) {
  m_bMouseTracking = false;
  SetPushed(false);
}

void CSkinButton::OnKeyDown(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_SPACE:
      if (!m_bMouseTracking && !m_bSpaceDown) {
        m_bSpaceDown = true;
        SetPushed(true);
      }
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      Click();
      return;
    default:
      event.Skip();
  }
}

void CSkinButton::OnKeyUp(wxKeyEvent& event) {
  if (event.GetKeyCode() != WXK_SPACE || !m_bSpaceDown) {
    event.Skip();
    return;
  }
  m_bSpaceDown = false;
  const bool clicked = m_bPushed;
  SetPushed(false);
  if (clicked) Click();
}

void CSkinButton::OnFocusChange(wxFocusEvent& event) {
  if (event.GetEventType() == wxEVT_KILL_FOCUS) {
    m_bSpaceDown = false;
    if (!m_bMouseTracking) SetPushed(false);
  }
  Refresh(false);
  event.Skip();
}

void CSkinButton::OnLeaveTimer(wxTimerEvent&) {
  const wxPoint pointer = ScreenToClient(wxGetMousePosition());
  if (!GetClientRect().Contains(pointer)) {
    m_leaveTimer.Stop();
    Refresh(false);
  }
}

void CSkinButton::OnSysColourChanged(wxSysColourChangedEvent& event) {
  event.Skip();
  Invalidate(true);
}
