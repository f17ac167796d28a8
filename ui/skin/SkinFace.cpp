// Face layout, colours and drawing. Lines are drawn as one-pixel rectangles
// so that every toolkit puts them on exactly the same pixels; a line from A
// to B covers A and stops one pixel short of B.
#include "ui/skin/SkinFace.h"

#include <wx/brush.h>
#include <wx/pen.h>
#include <wx/settings.h>

#include <algorithm>
#include <cstdlib>

namespace {

// One-pixel line from (x0, y0) towards (x1, y1), end point excluded;
// horizontal or vertical only.
void DrawPixelLine(wxDC& dc, int x0, int y0, int x1, int y1) {
  if (y0 == y1 && x0 != x1) {
    dc.DrawRectangle(x0 < x1 ? x0 : x1 + 1, y0, std::abs(x1 - x0), 1);
  } else if (x0 == x1 && y0 != y1) {
    dc.DrawRectangle(x0, y0 < y1 ? y0 : y1 + 1, 1, std::abs(y1 - y0));
  }
}

// A two-segment frame line: A -> B -> C, each end point excluded.
void DrawCorner(wxDC& dc, const wxColour& colour, wxPoint a, wxPoint b, wxPoint c) {
  dc.SetBrush(wxBrush(colour));
  DrawPixelLine(dc, a.x, a.y, b.x, b.y);
  DrawPixelLine(dc, b.x, b.y, c.x, c.y);
}

// Focus rectangle: every other pixel of the outline of `rect`, starting with
// its top-left corner.
void DrawDottedRect(wxDC& dc, const wxColour& colour, const wxRect& rect) {
  if (rect.width <= 0 || rect.height <= 0) return;
  dc.SetBrush(wxBrush(colour));
  const int left = rect.x;
  const int top = rect.y;
  const int right = rect.x + rect.width - 1;
  const int bottom = rect.y + rect.height - 1;
  auto dot = [&](int x, int y) {
    if (((x - left) + (y - top)) % 2 == 0) dc.DrawRectangle(x, y, 1, 1);
  };
  for (int x = left; x <= right; ++x) {
    dot(x, top);
    if (bottom != top) dot(x, bottom);
  }
  for (int y = top + 1; y < bottom; ++y) {
    dot(left, y);
    if (right != left) dot(right, y);
  }
}

void DrawCaption(wxDC& dc, const wxString& caption, const wxRect& box, const wxColour& colour) {
  if (caption.empty() || box.width <= 0 || box.height <= 0) return;
  wxDCClipper clip(dc, box);
  dc.SetTextForeground(colour);
  dc.DrawText(caption, box.x, box.y);
}

}  // namespace

SkinFaceLayout LayoutSkinFace(const wxSize& client, bool hasGlyph, const wxSize& glyphSize,
                              const wxSize& textSize, SkinButtonState state) {
  const int width = client.x;
  const int height = client.y;
  const int tw = textSize.x;
  const int th = textSize.y;
  const int p = state == SkinButtonState::Pressed ? 1 : 0;
  SkinFaceLayout layout;
  int captionX = 0;
  if (hasGlyph) {
    const int gap = tw > 0 ? kSkinGlyphCaptionGap : 0;
    const int gx = (width - glyphSize.x - gap - tw) / 2 + p;
    const int gy = (height - glyphSize.y) / 2 + p - 1;
    layout.glyph = wxRect(gx, gy, glyphSize.x, glyphSize.y);
    captionX = gx + glyphSize.x + gap + p;
  } else {
    captionX = (width - tw) / 2 + p;
  }
  const int captionY = (height - th) / 2 + p - 1;
  const int captionRight = std::min(captionX + tw, width);
  layout.caption = wxRect(captionX, captionY, std::max(0, captionRight - captionX), th);
  return layout;
}

SkinColours SkinColours::FromSystem() {
  SkinColours colours;
  colours.face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  colours.highlight = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
  colours.shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
  colours.darkShadow = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
  colours.windowFrame = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWFRAME);
  colours.text = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
  colours.grayText = wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
  if (colours.windowFrame == colours.face) colours.windowFrame = colours.darkShadow;
  return colours;
}

SkinFrameColours FrameColoursFor(const SkinColours& c, SkinButtonState state, bool focus) {
  switch (state) {
    case SkinButtonState::Pressed:
      return {c.face, c.windowFrame, c.shadow, c.windowFrame, c.shadow, c.text};
    case SkinButtonState::Disabled:
      return {c.face, c.highlight, c.face, c.darkShadow, c.shadow, c.grayText};
    case SkinButtonState::Normal:
      break;
  }
  if (focus) return {c.face, c.windowFrame, c.highlight, c.windowFrame, c.darkShadow, c.text};
  return {c.face, c.highlight, c.face, c.darkShadow, c.shadow, c.text};
}

void DrawSkinFace(wxDC& dc, const wxSize& client, SkinButtonState state, bool focus,
                  const wxString& caption, const SkinGlyphs* glyphs, const SkinColours& colours) {
  const int width = client.x;
  const int height = client.y;
  if (width <= 0 || height <= 0) return;
  const bool hasGlyph = glyphs != nullptr && glyphs->IsOk();
  const bool showFocus = focus && state != SkinButtonState::Disabled;

  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  wxSize textSize(0, 0);
  if (!caption.empty()) textSize = dc.GetTextExtent(caption);
  const wxSize glyphSize = hasGlyph ? glyphs->normal.GetSize() : wxSize(0, 0);
  const SkinFaceLayout layout = LayoutSkinFace(client, hasGlyph, glyphSize, textSize, state);
  const SkinFrameColours look = FrameColoursFor(colours, state, showFocus);

  const wxPen oldPen = dc.GetPen();
  const wxBrush oldBrush = dc.GetBrush();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(look.face));
  dc.DrawRectangle(0, 0, width, height);

  if (hasGlyph) {
    const wxBitmap& glyph = state == SkinButtonState::Disabled ? glyphs->disabled : glyphs->normal;
    dc.DrawBitmap(glyph, layout.glyph.x, layout.glyph.y, true);
  }
  if (state == SkinButtonState::Disabled) {
    wxRect embossed = layout.caption;
    embossed.Offset(1, 1);
    DrawCaption(dc, caption, embossed, colours.highlight);
  }
  DrawCaption(dc, caption, layout.caption, look.caption);

  const int w = width;
  const int h = height;
  DrawCorner(dc, look.outerBottomRight, {0, h - 1}, {w - 1, h - 1}, {w - 1, -1});
  DrawCorner(dc, look.outerTopLeft, {0, h - 2}, {0, 0}, {w - 1, 0});
  DrawCorner(dc, look.innerBottomRight, {1, h - 2}, {w - 2, h - 2}, {w - 2, 0});
  DrawCorner(dc, look.innerTopLeft, {1, h - 3}, {1, 1}, {w - 2, 1});
  if (showFocus) {
    if (state == SkinButtonState::Normal) {
      DrawCorner(dc, colours.shadow, {2, h - 3}, {w - 3, h - 3}, {w - 3, 1});
    }
    DrawDottedRect(dc, look.caption, wxRect(4, 4, w - 8, h - 8));
  }
  dc.SetPen(oldPen);
  dc.SetBrush(oldBrush);
}
