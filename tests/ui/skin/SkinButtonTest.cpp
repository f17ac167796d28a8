// CSkinButton as a live control under Xvfb: glyph loading rules, the face it
// paints in each state (read back from the screen), clicks by mouse and
// keyboard, leave detection, repaint after a colour change.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/ffile.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

#include <memory>

#include "platform/ResourceFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/GuiTestSupport.h"
#include "ui/skin/SkinButton.h"

namespace {

class SkinButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = new wxFrame(nullptr, wxID_ANY, "skin", wxPoint(50, 50), wxSize(400, 200));
    m_pPanel = new wxPanel(m_pFrame);
    m_pButton = new CSkinButton(m_pPanel, 1004, wxString::FromUTF8("자르기"), wxPoint(20, 20), wxSize(80, 32));
    m_pOther = new CSkinButton(m_pPanel, 1000, wxString(), wxPoint(150, 20), wxSize(28, 32));
    m_pButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
      ++m_nClicks;
      m_nLastId = event.GetId();
    });
    m_pFrame->Show();
    PumpUntil([this] { return m_pButton->GetFaceState() != -1; }, 3000);
  }

  void TearDown() override {
    m_pFrame->Destroy();
    PumpFor(20);
  }

  // Compares the face the button shows on screen, once painting has
  // settled, with a fresh rendering of the given look.
  std::string ShownFaceDiffers(SkinButtonState state, bool focus) {
    m_pButton->Refresh(false);
    PumpFor(60);
    return CompareBitmaps(GrabClient(m_pButton), m_pButton->RenderFaceBitmap(state, focus));
  }

  // The same for the look the button says its face holds.
  std::string ShownFaceDiffersFromItsLook() {
    m_pButton->Refresh(false);
    PumpFor(60);
    const int state = m_pButton->GetFaceState();
    if (state < 0) return "no face painted";
    return CompareBitmaps(GrabClient(m_pButton),
                          m_pButton->RenderFaceBitmap(static_cast<SkinButtonState>(state), m_pButton->GetFaceFocus()));
  }

  wxPoint ButtonCentre(CSkinButton* button) const {
    return button->ClientToScreen(wxPoint(button->GetClientSize().x / 2, button->GetClientSize().y / 2));
  }

  static std::string Res(int id) { return FindResourceFileById(id); }

  wxFrame* m_pFrame = nullptr;
  wxPanel* m_pPanel = nullptr;
  CSkinButton* m_pButton = nullptr;
  CSkinButton* m_pOther = nullptr;
  int m_nClicks = 0;
  int m_nLastId = 0;
};

TEST_F(SkinButtonTest, LoadsGlyphPairsOfEqualSize) {
  EXPECT_TRUE(m_pButton->SetBitmaps(129, 136));
  EXPECT_TRUE(m_pButton->HasGlyphs());
  EXPECT_EQ(m_pButton->GetGlyphSize(), wxSize(29, 18));
  EXPECT_TRUE(m_pOther->SetBitmaps(130, -1));
  EXPECT_EQ(m_pOther->GetGlyphSize(), wxSize(10, 10));
}

TEST_F(SkinButtonTest, MinusOneFirstKeepsTheCurrentGlyphs) {
  ASSERT_TRUE(m_pButton->SetBitmaps(129, 136));
  EXPECT_FALSE(m_pButton->SetBitmaps(-1, 137));
  EXPECT_TRUE(m_pButton->HasGlyphs());
  EXPECT_EQ(m_pButton->GetGlyphSize(), wxSize(29, 18));
}

TEST_F(SkinButtonTest, RefusedPairsLeaveNoGlyphs) {
  ASSERT_TRUE(m_pButton->SetBitmaps(129, 136));
  EXPECT_FALSE(m_pButton->SetBitmaps(131, 138));  // 12 x 12 with 12 x 11
  EXPECT_FALSE(m_pButton->HasGlyphs());

  ASSERT_TRUE(m_pButton->SetBitmaps(129, 136));
  EXPECT_FALSE(m_pButton->SetBitmaps(129, 999));  // no such resource
  EXPECT_FALSE(m_pButton->HasGlyphs());

  TempDir dir;
  const std::string broken = dir.File("broken.bmp");
  {
    wxFFile file(broken, "wb");
    file.Write("BM this is not a bitmap", 23);
  }
  EXPECT_FALSE(m_pButton->SetBitmapFiles(broken, ""));
  EXPECT_FALSE(m_pButton->SetBitmapFiles(dir.File("missing.bmp"), ""));
  EXPECT_FALSE(m_pButton->HasGlyphs());

  // Same size, other depth: the play glyph as a picture with an alpha channel.
  wxImage alpha(wxString::FromUTF8(Res(131)), wxBITMAP_TYPE_BMP);
  ASSERT_TRUE(alpha.IsOk());
  alpha.InitAlpha();
  alpha.SetAlpha(5, 5, 100);  // not fully opaque, so the file keeps its alpha channel
  const std::string withAlpha = dir.File("play-alpha.png");
  ASSERT_TRUE(alpha.SaveFile(withAlpha, wxBITMAP_TYPE_PNG));
  EXPECT_FALSE(m_pButton->SetBitmapFiles(Res(131), withAlpha));
  EXPECT_FALSE(m_pButton->HasGlyphs());
}

TEST_F(SkinButtonTest, SharedPictureLooksTheSameWhenDisabled) {
  ASSERT_TRUE(m_pOther->SetBitmaps(130, -1));
  const wxBitmap normal = m_pOther->RenderFaceBitmap(SkinButtonState::Normal, false);
  const wxBitmap disabled = m_pOther->RenderFaceBitmap(SkinButtonState::Disabled, false);
  // Glyph at ((28 - 10) / 2, (32 - 10) / 2 - 1) = (9, 10): its pixels match in both looks.
  const wxImage a = normal.ConvertToImage();
  const wxImage b = disabled.ConvertToImage();
  for (int y = 10; y < 20; ++y) {
    for (int x = 9; x < 19; ++x) {
      EXPECT_EQ(a.GetRed(x, y), b.GetRed(x, y)) << x << "," << y;
      EXPECT_EQ(a.GetGreen(x, y), b.GetGreen(x, y)) << x << "," << y;
    }
  }
}

TEST_F(SkinButtonTest, PaintsTheFaceOfEachState) {
  ASSERT_TRUE(m_pButton->SetBitmaps(129, 136));
  m_pOther->SetFocus();
  PumpUntil([this] { return !m_pButton->HasFocus(); }, 1000);
  EXPECT_EQ(ShownFaceDiffers(SkinButtonState::Normal, false), "");
  EXPECT_EQ(m_pButton->GetFaceState(), static_cast<int>(SkinButtonState::Normal));
  EXPECT_FALSE(m_pButton->GetFaceFocus());

  m_pButton->SetFocus();
  ASSERT_TRUE(PumpUntil([this] { return m_pButton->HasFocus(); }, 1000));
  EXPECT_EQ(ShownFaceDiffers(SkinButtonState::Normal, true), "");
  EXPECT_TRUE(m_pButton->GetFaceFocus());

  m_pButton->Disable();
  EXPECT_EQ(ShownFaceDiffers(SkinButtonState::Disabled, false), "");
  EXPECT_EQ(m_pButton->GetFaceState(), static_cast<int>(SkinButtonState::Disabled));
}

TEST_F(SkinButtonTest, MouseHeldShowsPressedAndReleaseClicks) {
  ASSERT_TRUE(m_pButton->SetBitmaps(129, 136));
  wxUIActionSimulator sim;
  sim.MouseMove(ButtonCentre(m_pButton));
  PumpFor(50);
  sim.MouseDown();
  ASSERT_TRUE(PumpUntil([this] { return m_pButton->GetFaceState() == 1; }, 2000));
  EXPECT_TRUE(m_pButton->HasFocus());  // clicking takes the focus
  EXPECT_EQ(ShownFaceDiffers(SkinButtonState::Pressed, true), "");
  EXPECT_EQ(m_nClicks, 0);

  sim.MouseUp();
  ASSERT_TRUE(PumpUntil([this] { return m_nClicks == 1; }, 2000));
  EXPECT_EQ(m_nLastId, 1004);
  EXPECT_EQ(ShownFaceDiffers(SkinButtonState::Normal, true), "");
}

TEST_F(SkinButtonTest, ReleasingOutsideDoesNotClick) {
  wxUIActionSimulator sim;
  sim.MouseMove(ButtonCentre(m_pButton));
  PumpFor(50);
  sim.MouseDown();
  ASSERT_TRUE(PumpUntil([this] { return m_pButton->GetFaceState() == 1; }, 2000));
  sim.MouseMove(m_pButton->ClientToScreen(wxPoint(-10, -10)));
  ASSERT_TRUE(PumpUntil([this] { return m_pButton->GetFaceState() == 0; }, 2000));
  EXPECT_TRUE(m_pButton->GetFaceFocus());  // back to the focused normal face while held outside
  sim.MouseUp();
  PumpFor(100);
  EXPECT_EQ(m_nClicks, 0);
}

TEST_F(SkinButtonTest, DisablingDuringAPressEndsItWithoutAClick) {
  wxUIActionSimulator sim;
  sim.MouseMove(ButtonCentre(m_pButton));
  PumpFor(50);
  sim.MouseDown();
  ASSERT_TRUE(PumpUntil([this] { return m_pButton->GetFaceState() == 1; }, 2000));
  m_pButton->Disable();
  EXPECT_FALSE(m_pButton->HasCapture());
  sim.MouseUp();
  PumpFor(100);
  m_pButton->Enable();
  PumpFor(50);
  EXPECT_EQ(m_nClicks, 0);
  EXPECT_EQ(m_pButton->GetFaceState(), static_cast<int>(SkinButtonState::Normal));
}

TEST_F(SkinButtonTest, SpaceAndEnterClickTheFocusedButton) {
  m_pButton->SetFocus();
  ASSERT_TRUE(PumpUntil([this] { return m_pButton->HasFocus(); }, 1000));
  wxUIActionSimulator sim;
  sim.MouseMove(ButtonCentre(m_pButton));  // keyboard focus follows the pointer without a window manager
  PumpFor(50);
  sim.KeyDown(WXK_SPACE);
  ASSERT_TRUE(PumpUntil([this] { return m_pButton->GetFaceState() == 1; }, 2000));
  sim.KeyUp(WXK_SPACE);
  ASSERT_TRUE(PumpUntil([this] { return m_nClicks == 1; }, 2000));
  sim.Char(WXK_RETURN);
  EXPECT_TRUE(PumpUntil([this] { return m_nClicks == 2; }, 2000));
}

TEST_F(SkinButtonTest, DisabledButtonIgnoresTheMouse) {
  m_pButton->Disable();
  wxUIActionSimulator sim;
  sim.MouseMove(ButtonCentre(m_pButton));
  PumpFor(50);
  sim.MouseClick();
  PumpFor(150);
  EXPECT_EQ(m_nClicks, 0);
  EXPECT_EQ(m_pButton->GetFaceState(), static_cast<int>(SkinButtonState::Disabled));
}

TEST_F(SkinButtonTest, LeavingRepaintsWithinAFewTicks) {
  wxUIActionSimulator sim;
  sim.MouseMove(ButtonCentre(m_pButton));
  PumpFor(30);
  sim.MouseMove(ButtonCentre(m_pButton) + wxPoint(3, 1));
  ASSERT_TRUE(PumpUntil([this] { return m_pButton->IsLeaveTimerRunning(); }, 1000));
  PumpFor(250);
  EXPECT_TRUE(m_pButton->IsLeaveTimerRunning());  // still over it: keeps watching

  int paints = 0;
  m_pButton->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& event) {
    ++paints;
    event.Skip();
  });
  sim.MouseMove(m_pFrame->ClientToScreen(wxPoint(350, 150)));
  EXPECT_TRUE(PumpUntil([this] { return !m_pButton->IsLeaveTimerRunning(); }, 400));
  EXPECT_TRUE(PumpUntil([&paints] { return paints > 0; }, 400));
}

TEST_F(SkinButtonTest, FaceIsRenderedOnlyWhenTheLookChanges) {
  PumpFor(50);
  const int before = m_pButton->GetFaceRenderCount();
  for (int i = 0; i < 3; ++i) {
    m_pButton->Refresh(false);
    PumpFor(30);
  }
  EXPECT_EQ(m_pButton->GetFaceRenderCount(), before);

  wxSysColourChangedEvent colourChange;
  m_pButton->GetEventHandler()->ProcessEvent(colourChange);
  EXPECT_EQ(m_pButton->GetFaceState(), -1);
  EXPECT_TRUE(PumpUntil([&] { return m_pButton->GetFaceRenderCount() == before + 1; }, 1000));
}

TEST_F(SkinButtonTest, NewGlyphsAndCaptionShowAtOnce) {
  PumpFor(50);
  ASSERT_TRUE(m_pButton->SetBitmaps(129, 136));
  EXPECT_EQ(ShownFaceDiffersFromItsLook(), "");
  m_pButton->SetLabel("Other");
  EXPECT_EQ(ShownFaceDiffersFromItsLook(), "");
}

TEST(SkinButtonSize, ZeroSizedButtonHasNoFaceAndNeverStartsItsTimer) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "zero", wxPoint(50, 50), wxSize(200, 100));
  auto* panel = new wxPanel(frame);
  auto* button = new CSkinButton(panel, 1, "x", wxPoint(0, 0), wxSize(0, 0));
  new CSkinButton(panel, 2, "y", wxPoint(50, 10), wxSize(40, 20));
  frame->Show();
  PumpFor(50);
  EXPECT_FALSE(button->RenderFaceBitmap(SkinButtonState::Normal, false).IsOk());
  wxMouseEvent move(wxEVT_MOTION);
  button->GetEventHandler()->ProcessEvent(move);
  EXPECT_FALSE(button->IsLeaveTimerRunning());
  button->SetSize(40, 20);
  EXPECT_TRUE(button->RenderFaceBitmap(SkinButtonState::Normal, false).IsOk());
  frame->Destroy();
  PumpFor(20);
}

}  // namespace
