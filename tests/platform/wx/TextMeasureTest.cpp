// MeasureTextWidth / MeasureTextHeight against the font's own measures.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include "platform/wx/TextMeasure.h"

namespace {

class TextMeasure : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dc.SelectObject(m_bitmap);
    m_dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  }
  void TearDown() override { m_dc.SelectObject(wxNullBitmap); }
  int Width(const char* text) { return m_dc.GetTextExtent(wxString::FromUTF8(text)).x; }

  wxBitmap m_bitmap{1, 1};
  wxMemoryDC m_dc;
};

TEST_F(TextMeasure, WidthIsTheWidestLine) {
  const wxString text = wxString::FromUTF8("짧은 줄\n이 줄이 가장 깁니다\n\n끝");
  EXPECT_EQ(MeasureTextWidth(m_dc, text), Width("이 줄이 가장 깁니다"));
  EXPECT_EQ(MeasureTextWidth(m_dc, "one line"), Width("one line"));
}

TEST_F(TextMeasure, EmptyTextOrOnlyNewlinesHasNoWidth) {
  EXPECT_EQ(MeasureTextWidth(m_dc, ""), 0);
  EXPECT_EQ(MeasureTextWidth(m_dc, "\n\n"), 0);
}

TEST_F(TextMeasure, HeightCountsEveryNewlineIncludingEmptyLines) {
  const int line = m_dc.GetCharHeight();
  ASSERT_GT(line, 0);
  EXPECT_EQ(MeasureTextHeight(m_dc, false, ""), line);
  EXPECT_EQ(MeasureTextHeight(m_dc, false, "a"), line);
  EXPECT_EQ(MeasureTextHeight(m_dc, false, "a\n\nb"), 3 * line);
  EXPECT_EQ(MeasureTextHeight(m_dc, false, "a\n"), 2 * line);
  // With the leading each line grows by the font's external leading.
  wxCoord width = 0, height = 0, descent = 0, leading = 0;
  m_dc.GetTextExtent("M", &width, &height, &descent, &leading);
  EXPECT_EQ(MeasureTextHeight(m_dc, true, "a\n\nb"), 3 * (line + leading));
}

}  // namespace
