// The message box as a live window under Xvfb: its size for a known text,
// the result of every button set (buttons, Escape, Enter), the countdown,
// the close request, caller texts and check box, centring, dragging,
// nesting and the drawn title bar.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

#include <chrono>

#include "platform/wx/TextMeasure.h"
#include "tests/support/GuiTestSupport.h"
#include "ui/msgbox/MessageDlgTexts.h"
#include "ui/msgbox/MessageDlgTitleBar.h"
#include "ui/msgbox/ShowMessageDlg.h"

namespace {

const wxString kCaption = wxString::FromUTF8("파도오디오 자르개");

// Clicks a button the way the toolkit reports a click.
void ClickButton(wxButton* button) {
  wxCommandEvent click(wxEVT_BUTTON, button->GetId());
  click.SetEventObject(button);
  button->ProcessWindowEvent(click);
}

void SendKey(wxWindow* window, int key) {
  wxKeyEvent press(wxEVT_CHAR_HOOK);
  press.m_keyCode = key;
  press.SetEventObject(window);
  window->ProcessWindowEvent(press);
}

class MessageDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageDlgIcon(128);
    m_pOwner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(100, 100), wxSize(500, 300));
    m_pOwner->Show();
    PumpFor(50);
  }
  void TearDown() override {
    m_pOwner->Destroy();
    PumpFor(20);
  }

  // Shows a box and lets `onOpen` handle it.
  int Show(const wxString& text, int type, const std::function<void(CMessageDlg&)>& onOpen, int options = 0,
           const MessageDlgValue& value = MessageDlgValue(), const wxString& buttonTexts = wxString(),
           int* checkState = nullptr) {
    return ShowAndHandle([&] { return ShowMessageDlg(m_pOwner, text, kCaption, type, options, value,
                                                     buttonTexts, checkState); },
                         onOpen);
  }

  wxFrame* m_pOwner = nullptr;
  ScopedLcAll m_korean{"ko_KR.UTF-8"};
};

TEST_F(MessageDlgTest, ShortKoreanOkBoxIs250By142WithOneButton) {
  const wxString text = wxString::FromUTF8("짧은 글");
  bool checked = false;
  const int result = Show(text, MB_OK, [&](CMessageDlg& box) {
    EXPECT_EQ(box.GetSize(), wxSize(250, 142));
    wxButton* ok = box.GetButton(1);
    EXPECT_EQ(ok->GetLabel(), wxString::FromUTF8(uitext::kOk));
    EXPECT_EQ(ok->GetRect(), wxRect(162, 107, 70, 25));
    EXPECT_TRUE(ok->IsShown());
    EXPECT_FALSE(box.GetButton(2)->IsShown());
    EXPECT_FALSE(box.GetButton(3)->IsShown());
    EXPECT_FALSE(box.GetCheckBox()->IsShown());
    EXPECT_EQ(box.GetShownText(), text);
    EXPECT_TRUE(ok->HasFocus());
    EXPECT_TRUE(box.IsModal());  // the owner gets no input meanwhile
    checked = true;
    ClickButton(ok);
  });
  EXPECT_TRUE(checked);
  EXPECT_EQ(result, IDOK);
}

TEST_F(MessageDlgTest, SizeFollowsTheMeasuredText) {
  const wxString text = wxString::FromUTF8(
      "선택한 구간을 새 파일로 저장합니다. 이 줄은 아주 길게 써서 상자를 넓힙니다.\n둘째 줄\n셋째 줄\n넷째 줄");
  Show(text, MB_OK, [&](CMessageDlg& box) {
    wxBitmap bitmap(1, 1);
    wxMemoryDC dc(bitmap);
    dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    const int t = 4 * dc.GetCharHeight();
    const int w = std::max(230, MeasureTextWidth(dc, text) + 62);
    EXPECT_EQ(box.GetSize(), wxSize(w + 20, std::max(t, 32) + 110));
    EXPECT_EQ(box.GetTextControl()->GetRect(), wxRect(59, (std::max(t, 32) + 40 - t) / 2 + 30, w - 62, t));
    box.PressButton(MESSAGEDLG_BUTTON1);
  });
}

struct SetCase {
  int type;
  int command;
  int expected;
};

TEST_F(MessageDlgTest, EveryButtonOfEverySetGivesItsResult) {
  const SetCase cases[] = {
      {MB_OK, 10, IDOK},          {MB_OKCANCEL, 10, IDOK},     {MB_OKCANCEL, 20, IDCANCEL},
      {MB_YESNOCANCEL, 10, IDYES}, {MB_YESNOCANCEL, 20, IDNO}, {MB_YESNOCANCEL, 30, IDCANCEL},
      {MB_YESNO, 10, IDYES},       {MB_YESNO, 20, IDNO},
  };
  for (const SetCase& c : cases) {
    const int result = Show("?", c.type, [&](CMessageDlg& box) {
      wxButton* button = box.GetButton(c.command / 10);
      EXPECT_TRUE(button->IsShown()) << "type " << c.type << " button " << c.command;
      ClickButton(button);
    });
    EXPECT_EQ(result, c.expected) << "type " << c.type << " command " << c.command;
  }
}

TEST_F(MessageDlgTest, EscapeGivesEachSetsCancelAnswer) {
  const SetCase cases[] = {
      {MB_OK, 2, IDOK}, {MB_OKCANCEL, 2, IDCANCEL}, {MB_YESNOCANCEL, 2, IDCANCEL},
      {MB_YESNO, 2, IDNO}, {MB_ABORTRETRYIGNORE, 2, 2},
  };
  for (const SetCase& c : cases) {
    const int result = Show("?", c.type, [](CMessageDlg& box) { SendKey(&box, WXK_ESCAPE); });
    EXPECT_EQ(result, c.expected) << "type " << c.type;
  }
}

TEST_F(MessageDlgTest, EnglishYesNoByKeyboard) {
  ScopedLcAll english("en_US.UTF-8");
  wxUIActionSimulator sim;
  int result = Show("Close without saving?", MB_YESNO, [&](CMessageDlg& box) {
    EXPECT_EQ(box.GetButton(1)->GetLabel(), "&Yes");
    EXPECT_EQ(box.GetButton(2)->GetLabel(), "&No");
    sim.MouseMove(box.GetScreenRect().GetPosition() + wxPoint(100, 60));  // keyboard follows the pointer
    PumpFor(50);
    sim.Char(WXK_RETURN);
  });
  EXPECT_EQ(result, IDYES);

  result = Show("Close without saving?", MB_YESNO, [&](CMessageDlg& box) {
    sim.MouseMove(box.GetScreenRect().GetPosition() + wxPoint(100, 60));
    PumpFor(50);
    sim.Char(WXK_ESCAPE);
  });
  EXPECT_EQ(result, IDNO);
}

TEST_F(MessageDlgTest, DefaultButtonHasTheFocus) {
  Show("?", MB_YESNOCANCEL | MB_DEFBUTTON2, [](CMessageDlg& box) {
    EXPECT_TRUE(box.GetButton(2)->HasFocus());
    box.PressButton(2);
  });
}

TEST_F(MessageDlgTest, UnsupportedSetShowsNoButtonsAndAnswersWithTheCommand) {
  const int result = Show("?", MB_ABORTRETRYIGNORE, [](CMessageDlg& box) {
    EXPECT_FALSE(box.GetButton(1)->IsShown());
    EXPECT_FALSE(box.GetButton(2)->IsShown());
    EXPECT_FALSE(box.GetButton(3)->IsShown());
    EXPECT_EQ(box.GetSize().y, 142);  // room for buttons all the same
    RequestMessageDlgClose();
  });
  EXPECT_EQ(result, 10);
}

TEST_F(MessageDlgTest, CloseRequestPressesButtonOne) {
  // Queued from a timer outside the box, as another window would.
  const int result = Show(wxString::FromUTF8("저장하지 않고 닫으시겠습니까?"), MB_YESNO, [](CMessageDlg& box) {
    wxCommandEvent* request = new wxCommandEvent(WM_PMESSAGEBOX_CLOSE);
    CMessageDlg* target = &box;
    wxTheApp->CallAfter([target, request] { wxQueueEvent(target, request); });
  });
  EXPECT_EQ(result, IDYES);
  EXPECT_FALSE(RequestMessageDlgClose());  // nothing open any more
}

TEST_F(MessageDlgTest, CountdownShowsTheSecondsThenPressesTheDefaultButton) {
  std::vector<wxString> shown;
  const auto start = std::chrono::steady_clock::now();
  const int result = Show(wxString::FromUTF8("%d초 후 닫힘 (%s)"), MB_YESNO | MB_DEFBUTTON2,
                          [&](CMessageDlg& box) {
                            shown.push_back(box.GetShownText());
                            PumpUntil([&] { return box.GetCountdown() == 1; }, 3000);
                            shown.push_back(box.GetShownText());
                          },
                          MDO_COUNTDOWN, MessageDlgValue(2));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result, IDNO);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], wxString::FromUTF8("2초 후 닫힘 (%s)"));
  EXPECT_EQ(shown[1], wxString::FromUTF8("1초 후 닫힘 (%s)"));
  EXPECT_GE(elapsed, std::chrono::milliseconds(1800));
  EXPECT_LE(elapsed, std::chrono::milliseconds(5000));
}

TEST_F(MessageDlgTest, ButtonWithoutCountdownLeavesPercentSignsAlone) {
  Show("100%d %s", MB_OK, [](CMessageDlg& box) {
    EXPECT_EQ(box.GetShownText(), "100%d %s");
    box.PressButton(10);
  });
}

TEST_F(MessageDlgTest, CallerTextsAndCheckBox) {
  int checkState = -1;
  const int result = Show(
      "?", MB_YESNOCANCEL,
      [&](CMessageDlg& box) {
        EXPECT_EQ(checkState, 1);
        EXPECT_EQ(box.GetButton(1)->GetLabel(), "A");
        EXPECT_EQ(box.GetButton(2)->GetLabel(), "B");
        EXPECT_FALSE(box.GetButton(3)->IsShown());
        EXPECT_EQ(box.GetLayout().buttonWidths[2], 0);
        wxCheckBox* check = box.GetCheckBox();
        EXPECT_TRUE(check->IsShown());
        EXPECT_TRUE(check->GetValue());
        EXPECT_EQ(check->GetPosition(), wxPoint(10, box.GetLayout().contentHeight + 75));
        check->SetValue(false);
        wxCommandEvent toggled(wxEVT_CHECKBOX, MESSAGEDLG_CHECKBOX);
        toggled.SetEventObject(check);
        check->ProcessWindowEvent(toggled);
        EXPECT_EQ(checkState, 0);
        EXPECT_FALSE(box.IsEnded());  // the check box does not end the box
        ClickButton(box.GetButton(2));
      },
      MDO_BUTTONTEXTS | MDO_CHECKBOX_CHECKED, MessageDlgValue("다시 묻지 않기"), "A,,B", &checkState);
  EXPECT_EQ(result, IDNO);
}

TEST_F(MessageDlgTest, NoButtonsOption) {
  const int result = Show("...", MB_OK, [](CMessageDlg& box) {
    EXPECT_EQ(box.GetSize(), wxSize(250, 117));
    for (int i = 1; i <= 3; ++i) {
      EXPECT_FALSE(box.GetButton(i)->IsShown());
      EXPECT_FALSE(box.GetButton(i)->IsEnabled());
    }
    SendKey(&box, WXK_ESCAPE);
  }, MDO_NOBUTTONS);
  EXPECT_EQ(result, IDOK);
}

TEST_F(MessageDlgTest, CentredOnTheOwner) {
  m_pOwner->SetSize(200, 150, 600, 400);
  PumpFor(50);
  Show("?", MB_OK, [&](CMessageDlg& box) {
    const wxRect owner = m_pOwner->GetScreenRect();
    const wxRect rect = box.GetScreenRect();
    EXPECT_EQ(rect.x, (owner.x + owner.x + owner.width) / 2 - rect.width / 2);
    EXPECT_EQ(rect.y, (owner.y + owner.y + owner.height) / 2 - rect.height / 2);
    box.PressButton(10);
  });
}

TEST_F(MessageDlgTest, HiddenOwnerCentresOnTheWorkArea) {
  m_pOwner->Hide();
  PumpFor(30);
  Show("?", MB_OK, [&](CMessageDlg& box) {
    const wxRect work = wxDisplay(0u).GetClientArea();
    const wxRect rect = box.GetScreenRect();
    EXPECT_EQ(rect.x, (work.x + work.x + work.width) / 2 - rect.width / 2);
    EXPECT_EQ(rect.y, (work.y + work.y + work.height) / 2 - rect.height / 2);
    box.PressButton(10);
  });
}

TEST_F(MessageDlgTest, OwnerAtTheScreenEdgeKeepsTheBoxOnScreen) {
  const wxRect work = wxDisplay(0u).GetClientArea();
  m_pOwner->SetSize(work.GetRight() - 100, work.GetBottom() - 60, 150, 100);
  PumpFor(50);
  Show("?", MB_OK, [&](CMessageDlg& box) {
    EXPECT_TRUE(work.Contains(box.GetScreenRect())) << box.GetScreenRect().x << "," << box.GetScreenRect().y;
    EXPECT_EQ(box.GetScreenRect().GetRight(), work.GetRight());
    box.PressButton(10);
  });
}

TEST_F(MessageDlgTest, DraggedByItsBackground) {
  Show("drag me", MB_OK, [&](CMessageDlg& box) {
    const wxPoint before = box.GetPosition();
    wxUIActionSimulator sim;
    const wxPoint grab = box.ClientToScreen(wxPoint(box.GetSize().x - 8, 40));  // frame area, no control
    sim.MouseMove(grab);
    PumpFor(50);
    sim.MouseDown();
    PumpFor(50);
    sim.MouseMove(grab + wxPoint(15, 10));
    PumpFor(50);
    sim.MouseMove(grab + wxPoint(30, 20));
    PumpFor(50);
    sim.MouseUp();
    PumpUntil([&] { return box.GetPosition() == before + wxPoint(30, 20); }, 1000);
    EXPECT_EQ(box.GetPosition(), before + wxPoint(30, 20));
    box.PressButton(10);
  });
}

TEST_F(MessageDlgTest, NestedBoxesEndInnermostFirst) {
  std::vector<int> order;
  const int outer = Show("outer", MB_YESNO, [&](CMessageDlg& first) {
    EXPECT_EQ(FindOpenMessageDlg(), &first);
    const int inner = ShowAndHandle(
        [&] { return ShowMessageDlg(&first, "inner", kCaption, MB_OKCANCEL); },
        [&](CMessageDlg& second) {
          EXPECT_EQ(FindOpenMessageDlg(), &second);
          EXPECT_TRUE(RequestMessageDlgClose());  // goes to the innermost box
        });
    order.push_back(inner);
    EXPECT_EQ(FindOpenMessageDlg(), &first);
    EXPECT_TRUE(first.Answer(IDNO));
  });
  order.push_back(outer);
  EXPECT_EQ(order, (std::vector<int>{IDOK, IDNO}));
  EXPECT_EQ(FindOpenMessageDlg(), nullptr);
}

TEST_F(MessageDlgTest, TitleBarIsDrawnActiveAndInactive) {
  Show("?", MB_OK, [&](CMessageDlg& box) {
    const wxRect title = box.GetLayout().title;
    const wxBitmap& active = box.GetTitleBitmap(true);
    ASSERT_TRUE(active.IsOk());
    EXPECT_EQ(active.GetSize(), title.GetSize());
    EXPECT_EQ(PixelAt(active, 0, title.height - 1), kMessageDlgActiveTitleStart);
    const int last = title.width - 1;
    EXPECT_EQ(PixelAt(active, last, title.height - 1),
              wxColour(TitleGradientChannel(0, 140, last, title.width),
                       TitleGradientChannel(0, 161, last, title.width),
                       TitleGradientChannel(100, 255, last, title.width)));
    PumpFor(100);
    const wxBitmap shown = GrabClient(&box);
    EXPECT_EQ(PixelAt(shown, title.x, title.GetBottom()), kMessageDlgActiveTitleStart);

    wxActivateEvent deactivate(wxEVT_ACTIVATE, false);
    box.GetEventHandler()->ProcessEvent(deactivate);
    EXPECT_FALSE(box.IsTitleActive());
    PumpFor(100);
    const wxBitmap inactive = GrabClient(&box);
    EXPECT_EQ(PixelAt(inactive, title.x, title.GetBottom()),
              wxSystemSettings::GetColour(wxSYS_COLOUR_INACTIVECAPTION));
    box.PressButton(10);
  });
}

TEST_F(MessageDlgTest, AnswerPicksTheButtonOfTheResult) {
  EXPECT_EQ(Show("?", MB_YESNOCANCEL, [](CMessageDlg& box) { EXPECT_TRUE(box.Answer(IDCANCEL)); }), IDCANCEL);
  EXPECT_EQ(Show("?", MB_OK, [](CMessageDlg& box) {
              EXPECT_FALSE(box.Answer(IDYES));
              EXPECT_TRUE(box.Answer(IDOK));
            }),
            IDOK);
}

TEST(MessageDlgWithoutOwner, OpensOnTheWorkAreaAndReturnsItsResult) {
  ScopedLcAll japanese("ja_JP.UTF-8");
  const int result = ShowAndHandle(
      [] { return ShowMessageDlg(nullptr, wxString::FromUTF8("保存しますか?"), "", MB_YESNOCANCEL); },
      [](CMessageDlg& box) {
        EXPECT_EQ(box.GetButton(3)->GetLabel(), wxString::FromUTF8("キャンセル"));
        const wxRect work = wxDisplay(0u).GetClientArea();
        EXPECT_TRUE(work.Contains(box.GetScreenRect()));
        box.Answer(IDNO);
      });
  EXPECT_EQ(result, IDNO);
}

}  // namespace
