// Picture-button faces without a window: layout arithmetic, the colours of
// each look, and the pixels DrawSkinFace puts down for each look.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>

#include "tests/support/GuiTestSupport.h"
#include "ui/skin/SkinFace.h"

namespace {

TEST(SkinFaceLayout, GlyphAndCaptionAreCentredTogether) {
  const SkinFaceLayout layout =
      LayoutSkinFace(wxSize(75, 32), true, wxSize(29, 18), wxSize(30, 14), SkinButtonState::Normal);
  // gx = (75 - 29 - 5 - 30) / 2 = 5, gy = (32 - 18) / 2 - 1 = 6
  EXPECT_EQ(layout.glyph, wxRect(5, 6, 29, 18));
  // caption x = gx + 29 + 5, y = (32 - 14) / 2 - 1
  EXPECT_EQ(layout.caption, wxRect(39, 8, 30, 14));
}

TEST(SkinFaceLayout, PressedMovesGlyphOneAndCaptionTwoPixelsRight) {
  const SkinFaceLayout layout =
      LayoutSkinFace(wxSize(75, 32), true, wxSize(29, 18), wxSize(30, 14), SkinButtonState::Pressed);
  EXPECT_EQ(layout.glyph, wxRect(6, 7, 29, 18));
  EXPECT_EQ(layout.caption, wxRect(41, 9, 30, 14));
}

TEST(SkinFaceLayout, GlyphWithoutCaptionHasNoGap) {
  const SkinFaceLayout layout =
      LayoutSkinFace(wxSize(28, 32), true, wxSize(12, 12), wxSize(0, 0), SkinButtonState::Normal);
  EXPECT_EQ(layout.glyph, wxRect(8, 9, 12, 12));
}

TEST(SkinFaceLayout, CaptionWithoutGlyphIsCentred) {
  const SkinFaceLayout layout =
      LayoutSkinFace(wxSize(75, 24), false, wxSize(0, 0), wxSize(41, 14), SkinButtonState::Pressed);
  EXPECT_EQ(layout.caption, wxRect(18, 5, 41, 14));  // (75 - 41) / 2 + 1, (24 - 14) / 2 + 1 - 1
}

TEST(SkinFaceLayout, WideCaptionIsCutAtTheRightEdge) {
  const SkinFaceLayout layout =
      LayoutSkinFace(wxSize(75, 32), true, wxSize(29, 18), wxSize(60, 14), SkinButtonState::Normal);
  // gx = (75 - 29 - 5 - 60) / 2 = -9 (toward zero, not -10)
  EXPECT_EQ(layout.glyph.x, -9);
  EXPECT_EQ(layout.caption.x, 25);
  EXPECT_EQ(layout.caption.GetRight() + 1, 75);
}

// Colours that tell every role apart.
SkinColours DistinctColours() {
  SkinColours c;
  c.face = wxColour(200, 200, 200);
  c.highlight = wxColour(255, 255, 250);
  c.shadow = wxColour(120, 120, 120);
  c.darkShadow = wxColour(10, 10, 10);
  c.windowFrame = wxColour(0, 0, 90);
  c.text = wxColour(0, 90, 0);
  c.grayText = wxColour(150, 90, 90);
  return c;
}

class SkinFacePixels : public ::testing::Test {
 protected:
  static constexpr int kWidth = 30;
  static constexpr int kHeight = 24;

  void SetUp() override {
    // A 4 x 4 glyph: blue with a magenta corner; its disabled form grey.
    m_glyphs.normal = MakeGlyph(wxColour(0, 0, 255));
    m_glyphs.disabled = MakeGlyph(wxColour(128, 128, 128));
  }

  static wxBitmap MakeGlyph(const wxColour& colour) {
    wxImage image(4, 4);
    image.SetRGB(wxRect(0, 0, 4, 4), colour.Red(), colour.Green(), colour.Blue());
    image.SetRGB(0, 0, 255, 0, 255);
    wxBitmap bitmap(image);
    bitmap.SetMask(new wxMask(bitmap, wxColour(255, 0, 255)));
    return bitmap;
  }

  wxBitmap Draw(SkinButtonState state, bool focus) {
    wxBitmap bitmap(kWidth, kHeight, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxRED_BRUSH);
    dc.Clear();
    DrawSkinFace(dc, wxSize(kWidth, kHeight), state, focus, wxString(), &m_glyphs, m_colours);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
  }

  SkinColours m_colours = DistinctColours();
  SkinGlyphs m_glyphs;
};

TEST_F(SkinFacePixels, NormalFaceIsRaised) {
  const wxBitmap face = Draw(SkinButtonState::Normal, false);
  const SkinColours& c = m_colours;
  EXPECT_EQ(PixelAt(face, 0, 0), c.highlight);                    // outer top-left corner
  EXPECT_EQ(PixelAt(face, kWidth - 2, 0), c.highlight);           // top line stops one short
  EXPECT_EQ(PixelAt(face, kWidth - 1, 0), c.darkShadow);          // right line reaches row 0
  EXPECT_EQ(PixelAt(face, 0, kHeight - 1), c.darkShadow);         // bottom line from x 0
  EXPECT_EQ(PixelAt(face, 0, kHeight - 2), c.highlight);
  EXPECT_EQ(PixelAt(face, kWidth - 2, 1), c.shadow);              // inner right
  EXPECT_EQ(PixelAt(face, 1, kHeight - 2), c.shadow);             // inner bottom
  EXPECT_EQ(PixelAt(face, 1, 1), c.face);                         // inner top-left = face
  EXPECT_EQ(PixelAt(face, 4, 4), c.face);                         // no focus rectangle
}

TEST_F(SkinFacePixels, FocusedFaceHasDarkFrameExtraShadowAndDottedRectangle) {
  const wxBitmap face = Draw(SkinButtonState::Normal, true);
  const SkinColours& c = m_colours;
  EXPECT_EQ(PixelAt(face, 0, 0), c.windowFrame);
  EXPECT_EQ(PixelAt(face, 1, 1), c.highlight);
  EXPECT_EQ(PixelAt(face, kWidth - 2, kHeight - 2), c.darkShadow);
  EXPECT_EQ(PixelAt(face, kWidth - 3, kHeight - 3), c.shadow);  // third bottom-right line
  EXPECT_EQ(PixelAt(face, 2, kHeight - 3), c.shadow);
  EXPECT_EQ(PixelAt(face, 4, 4), c.text);                       // focus dots, every other pixel
  EXPECT_EQ(PixelAt(face, 5, 4), c.face);
  EXPECT_EQ(PixelAt(face, 6, 4), c.text);
  EXPECT_EQ(PixelAt(face, kWidth - 5, kHeight - 5), ((kWidth + kHeight) % 2 == 0) ? c.text : c.face);
}

TEST_F(SkinFacePixels, PressedFaceIsSunkenAndMovesTheGlyph) {
  const wxBitmap normal = Draw(SkinButtonState::Normal, true);
  const wxBitmap pressed = Draw(SkinButtonState::Pressed, true);
  const SkinColours& c = m_colours;
  EXPECT_EQ(PixelAt(pressed, 1, 1), c.shadow);
  EXPECT_EQ(PixelAt(pressed, kWidth - 3, kHeight - 3), c.face);  // no third line when pressed
  // Glyph at ((30 - 4) / 2, (24 - 4) / 2 - 1) = (13, 9); pressed at (14, 10).
  EXPECT_EQ(PixelAt(normal, 14, 10), wxColour(0, 0, 255));
  EXPECT_EQ(PixelAt(normal, 13, 9), c.face);  // the magenta corner shows the face
  EXPECT_EQ(PixelAt(pressed, 15, 11), wxColour(0, 0, 255));
  EXPECT_EQ(PixelAt(pressed, 14, 10), c.face);
  EXPECT_EQ(PixelAt(pressed, 13, 12), c.face);
}

TEST_F(SkinFacePixels, DisabledFaceShowsTheDisabledGlyphAndNoFocus) {
  const wxBitmap face = Draw(SkinButtonState::Disabled, true);
  const SkinColours& c = m_colours;
  EXPECT_EQ(PixelAt(face, 14, 10), wxColour(128, 128, 128));
  EXPECT_EQ(PixelAt(face, 0, 0), c.highlight);
  EXPECT_EQ(PixelAt(face, 4, 4), c.face);
}

TEST_F(SkinFacePixels, DisabledCaptionIsEmbossed) {
  auto captionColours = [&](SkinButtonState state) {
    wxBitmap bitmap(80, 24, 24);
    wxMemoryDC dc(bitmap);
    dc.SetFont(wxFontInfo(10));
    DrawSkinFace(dc, bitmap.GetSize(), state, false, "WWW", nullptr, m_colours);
    dc.SelectObject(wxNullBitmap);
    // Told apart by tone, not by exact colour: the caption may be drawn
    // antialiased, in whichever font fontconfig prefers for the language it
    // saw first (a Korean locale picks another one).
    const wxImage image = bitmap.ConvertToImage();
    std::pair<bool, bool> found{false, false};  // {highlight inside, grey or text inside}
    for (int y = 3; y < 21; ++y) {
      for (int x = 3; x < 77; ++x) {
        const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
        if (r + g + b > 3 * 220) found.first = true;  // lighter than the face: only the highlight is
        const bool tinted = state == SkinButtonState::Disabled ? r > g + 20 : g > r + 20;
        if (tinted) found.second = true;  // grey text is reddish, text green, the rest neutral
      }
    }
    return found;
  };
  EXPECT_EQ(captionColours(SkinButtonState::Disabled), std::make_pair(true, true));
  EXPECT_EQ(captionColours(SkinButtonState::Normal), std::make_pair(false, true));
}

TEST(SkinFaceDrawing, ZeroSizeDrawsNothing) {
  wxBitmap bitmap(4, 4, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxRED_BRUSH);
  dc.Clear();
  DrawSkinFace(dc, wxSize(0, 0), SkinButtonState::Normal, true, "x", nullptr, SkinColours::FromSystem());
  dc.SelectObject(wxNullBitmap);
  EXPECT_EQ(PixelAt(bitmap, 0, 0), *wxRED);
}

}  // namespace
