// The face of a picture button, apart from any window: where the glyph and
// the caption go, which system colours each look uses, and drawing a whole
// face into a device context. CSkinButton renders its face through here;
// tests and the gallery use it to draw a face in any look.
//
// Looks: Normal without focus (raised), Normal with focus (dark outer frame,
// extra shadow line, focus rectangle), Pressed (sunken; the glyph moves one
// pixel right and down, the caption two right and one down), Disabled
// (greyed glyph, embossed grey caption, never a focus rectangle).
#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

enum class SkinButtonState : int { Normal = 0, Pressed = 1, Disabled = 2 };

// Pixels between the glyph and the caption when both are shown.
constexpr int kSkinGlyphCaptionGap = 5;

struct SkinFaceLayout {
  wxRect glyph;    // where the glyph is drawn (empty size without glyphs)
  wxRect caption;  // the caption box, its right edge cut at the face's width
};

// Places the glyph (of size `glyphSize`, or none when `hasGlyph` is false)
// and a caption of `textSize` (0 x 0 for no caption) on a face of `client`
// size. Integer divisions truncate toward zero.
SkinFaceLayout LayoutSkinFace(const wxSize& client, bool hasGlyph, const wxSize& glyphSize,
                              const wxSize& textSize, SkinButtonState state);

// The system colours a face is drawn with.
struct SkinColours {
  wxColour face;        // button face
  wxColour highlight;   // button highlight
  wxColour shadow;      // button shadow
  wxColour darkShadow;  // 3-D dark shadow
  wxColour windowFrame; // window frame
  wxColour text;        // button text
  wxColour grayText;    // grey (disabled) text

  // Reads the current system colours. Toolkits whose window-frame colour is
  // the face colour itself (GTK reports the window background) get the dark
  // shadow instead, so the focused and pressed frames stay visible.
  static SkinColours FromSystem();
};

// The colours of one look.
struct SkinFrameColours {
  wxColour face;
  wxColour outerTopLeft;
  wxColour innerTopLeft;
  wxColour outerBottomRight;
  wxColour innerBottomRight;
  wxColour caption;
};

SkinFrameColours FrameColoursFor(const SkinColours& colours, SkinButtonState state, bool focus);

// Glyph pair: normal and disabled, each with its magenta mask.
struct SkinGlyphs {
  wxBitmap normal;
  wxBitmap disabled;
  bool IsOk() const { return normal.IsOk() && disabled.IsOk(); }
};

// Draws a whole face of `client` size at (0, 0) of `dc` in the font already
// selected into `dc`. `glyphs` may be null.
void DrawSkinFace(wxDC& dc, const wxSize& client, SkinButtonState state, bool focus,
                  const wxString& caption, const SkinGlyphs* glyphs, const SkinColours& colours);
