// CSkinButton: a push button that draws itself — an optional small picture
// (glyph) beside or instead of its caption, a classic three-dimensional
// frame in the system colours, and distinct pressed, focused and disabled
// looks (see SkinFace.h). The face is rendered into a bitmap of the
// button's size and painted by copying that bitmap; it is rendered again
// only when the (state, focus) pair changes, after a change of the system
// colours, the size, the font, the caption or the glyphs.
//
// It behaves as a push button: a click (mouse press and release over it,
// Space, or Enter while it has the focus) sends wxEVT_BUTTON with its id.
// Clicking gives it the focus. While the pointer moves over it a 100 ms
// timer runs; the first tick after the pointer has left repaints it once.
#pragma once

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/timer.h>

#include "ui/skin/SkinFace.h"

class CSkinButton : public wxControl {
 public:
  CSkinButton();
  CSkinButton(wxWindow* parent, wxWindowID id, const wxString& caption = wxString(),
              const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
              long style = 0, const wxString& name = "skinButton");
  ~CSkinButton() override;

  bool Create(wxWindow* parent, wxWindowID id, const wxString& caption = wxString(),
              const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
              long style = 0, const wxString& name = "skinButton");

  // Loads the normal and the disabled glyph from the program's resources
  // (resource numbers of platform/ResourceIds.h; IDR_NONE as disabledId
  // uses the normal glyph for both). IDR_NONE as normalId returns false and
  // changes nothing. Any other failure — a missing file, an unreadable picture, a
  // disabled glyph of another size or depth — leaves the button without
  // glyphs and returns false.
  bool SetBitmaps(int normalId, int disabledId);

  // The same from picture files (BMP, or any format wxImage reads once its
  // handlers are installed); an empty disabledFile uses the normal glyph for
  // both, an empty normalFile returns false and changes nothing. Magenta
  // RGB(255, 0, 255) is transparent.
  bool SetBitmapFiles(const wxString& normalFile, const wxString& disabledFile);

  bool HasGlyphs() const { return m_glyphs.IsOk(); }
  wxSize GetGlyphSize() const { return wxSize(m_nGlyphWidth, m_nGlyphHeight); }

  // The look the face bitmap holds now; -1 before the first paint and after
  // anything that forces the next paint to render again.
  int GetFaceState() const { return m_nLastState; }
  bool GetFaceFocus() const { return m_bLastFocus; }
  // How many times the face has been rendered for painting.
  int GetFaceRenderCount() const { return m_nRenderCount; }
  bool IsLeaveTimerRunning() const { return m_leaveTimer.IsRunning(); }

  // A fresh bitmap of the face in the given look (for tests and previews);
  // an invalid bitmap when the button has no face (zero size).
  wxBitmap RenderFaceBitmap(SkinButtonState state, bool focus) const;

  bool Enable(bool enable = true) override;
  void SetLabel(const wxString& label) override;
  bool SetFont(const wxFont& font) override;
  bool AcceptsFocus() const override { return true; }

 protected:
  wxSize DoGetBestClientSize() const override;

 private:
  void Init();
  void CreateFace();
  void ClearGlyphs();
  void Invalidate(bool erase);
  // Chooses the look from the window's state, renders it when it differs
  // from the face's, and copies the face to `dc`.
  void DrawItem(wxDC& dc);
  void RenderFace(wxBitmap& target, SkinButtonState state, bool focus) const;
  void SetPushed(bool pushed);
  void Click();

  void OnPaint(wxPaintEvent& event);
  void OnEraseBackground(wxEraseEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnKeyUp(wxKeyEvent& event);
  void OnFocusChange(wxFocusEvent& event);
  void OnLeaveTimer(wxTimerEvent& event);
  void OnSysColourChanged(wxSysColourChangedEvent& event);

  SkinGlyphs m_glyphs;
  int m_nGlyphWidth = 0;
  int m_nGlyphHeight = 0;
  wxBitmap m_face;            // the rendered face, client size; invalid at 0 x 0
  int m_nLastState = -1;      // SkinButtonState of the face, -1 = none
  bool m_bLastFocus = false;
  int m_nRenderCount = 0;
  bool m_bPushed = false;     // held down (mouse over it, or Space)
  bool m_bMouseTracking = false;
  bool m_bSpaceDown = false;
  wxTimer m_leaveTimer;
};
