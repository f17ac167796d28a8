// Message box rules without a window: geometry, button texts and sets,
// results, default buttons, caller texts, countdown text, title gradient.
#include <gtest/gtest.h>

#include "ui/msgbox/MessageDlgTexts.h"
#include "ui/msgbox/MessageBoxTypes.h"
#include "ui/msgbox/MessageDlgButtons.h"
#include "ui/msgbox/MessageDlgLayout.h"
#include "ui/msgbox/MessageDlgTitleBar.h"

namespace {

MessageDlgMetrics OneButton(int textWidth, int textHeight, int buttonTextWidth) {
  MessageDlgMetrics m;
  m.textWidth = textWidth;
  m.textHeight = textHeight;
  m.buttonTexts = {wxString::FromUTF8("확인"), "", ""};
  m.buttonTextWidths = {buttonTextWidth, 0, 0};
  return m;
}

TEST(MessageDlgLayout, ShortKoreanOkBox) {
  // A 100-pixel line, one "확인" button: W = 230, H = 32.
  const MessageDlgLayout layout = ComputeMessageDlgLayout(OneButton(100, 17, 26));
  EXPECT_EQ(layout.contentWidth, 230);
  EXPECT_EQ(layout.contentHeight, 32);
  EXPECT_EQ(layout.window, wxSize(250, 142));
  EXPECT_EQ(layout.buttons[0], wxRect(162, 107, 70, 25));  // ends at x 232
  EXPECT_EQ(layout.buttonWidths[1], 0);
  EXPECT_EQ(layout.buttonWidths[2], 0);
  EXPECT_EQ(layout.frame, wxRect(7, 30, 230, 72));
  EXPECT_EQ(layout.icon, wxRect(17, 50, 32, 32));
  EXPECT_EQ(layout.text, wxRect(59, 57, 168, 17));  // (32 + 40 - 17) / 2 + 30
  EXPECT_EQ(layout.title, wxRect(5, 5, 235, 20));
  EXPECT_TRUE(layout.checkBox.IsEmpty());
}

TEST(MessageDlgLayout, LongAndMultiLineTextsGrowTheBox) {
  const MessageDlgLayout layout = ComputeMessageDlgLayout(OneButton(300, 3 * 17, 26));
  EXPECT_EQ(layout.contentWidth, 362);
  EXPECT_EQ(layout.contentHeight, 51);
  EXPECT_EQ(layout.window, wxSize(382, 161));
  EXPECT_EQ(layout.text, wxRect(59, 50, 300, 51));
  EXPECT_EQ(layout.icon.y, 59);  // (51 + 8) / 2 + 30
  EXPECT_EQ(layout.buttons[0].y, 126);
}

TEST(MessageDlgLayout, ButtonsAreRightAlignedWithFivePixelGaps) {
  MessageDlgMetrics m = OneButton(60, 17, 20);
  m.buttonTexts = {"&Yes", "&No", "&Cancel"};
  m.buttonTextWidths = {24, 20, 75};  // widths 70, 70, 85
  const MessageDlgLayout layout = ComputeMessageDlgLayout(m);
  // W = max(230, 60 + 62, 70 + 70 + 85 + 25) = 250
  EXPECT_EQ(layout.contentWidth, 250);
  EXPECT_EQ(layout.buttons[2], wxRect(167, 107, 85, 25));
  EXPECT_EQ(layout.buttons[1], wxRect(92, 107, 70, 25));
  EXPECT_EQ(layout.buttons[0], wxRect(17, 107, 70, 25));
}

TEST(MessageDlgLayout, EmptyButtonTextsGetNoWidthOrPlace) {
  MessageDlgMetrics m = OneButton(60, 17, 8);
  m.buttonTexts = {"A", "B", ""};
  m.buttonTextWidths = {8, 8, 0};
  const MessageDlgLayout layout = ComputeMessageDlgLayout(m);
  EXPECT_EQ(layout.buttonWidths[2], 0);
  EXPECT_EQ(layout.buttons[1].GetRight() + 1, 232);
  EXPECT_EQ(layout.buttons[0].GetRight() + 1, 232 - 70 - 5);
  // Button 1 keeps its minimum width even without a text.
  m.buttonTexts = {"", "", ""};
  EXPECT_EQ(ComputeMessageDlgLayout(m).buttonWidths[0], 70);
}

TEST(MessageDlgLayout, CheckBoxWidensTheBoxAndSitsBottomLeft) {
  MessageDlgMetrics m = OneButton(60, 17, 26);
  m.checkBoxText = "Do not ask again";
  m.checkBoxTextWidth = 150;
  m.checkBoxExtra = 20;
  const MessageDlgLayout layout = ComputeMessageDlgLayout(m);
  EXPECT_EQ(layout.checkBoxWidth, 170);
  EXPECT_EQ(layout.contentWidth, 70 + 170 + 25);
  EXPECT_EQ(layout.checkBox, wxRect(10, 107, 170, 25));
}

TEST(MessageDlgLayout, NoButtonsMakesTheBox25PixelsShorter) {
  MessageDlgMetrics m = OneButton(100, 17, 26);
  m.noButtons = true;
  EXPECT_EQ(ComputeMessageDlgLayout(m).window, wxSize(250, 117));
}

TEST(MessageDlgButtons, TextsFollowTheLanguage) {
  using L = UserLanguage;
  auto texts = MessageDlgSetTexts(MB_OK, L::Korean);
  EXPECT_EQ(texts[0], wxString::FromUTF8(uitext::kOk));
  texts = MessageDlgSetTexts(MB_YESNO, L::English);
  EXPECT_EQ(texts[0], uitext::kEnglishButtons[kTextYes]);
  EXPECT_EQ(texts[1], uitext::kEnglishButtons[kTextNo]);
  EXPECT_EQ(texts[2], "");
  texts = MessageDlgSetTexts(MB_YESNOCANCEL, L::Japanese);
  EXPECT_EQ(texts[0], wxString::FromUTF8(uitext::kJapaneseButtons[kTextYes]));
  EXPECT_EQ(texts[1], wxString::FromUTF8(uitext::kJapaneseButtons[kTextNo]));
  EXPECT_EQ(texts[2], wxString::FromUTF8(uitext::kJapaneseButtons[kTextCancel]));
  texts = MessageDlgSetTexts(MB_OKCANCEL, L::Korean);
  EXPECT_EQ(texts[1], wxString::FromUTF8(uitext::kCancel));
  texts = MessageDlgSetTexts(MB_ABORTRETRYIGNORE, L::English);
  EXPECT_TRUE(texts[0].empty() && texts[1].empty() && texts[2].empty());
  EXPECT_EQ(MessageDlgButtonText(L::Korean, kTextNo), wxString::FromUTF8(uitext::kNo));
  EXPECT_EQ(MessageDlgButtonText(L::Korean, 8), "");
  EXPECT_EQ(MessageDlgButtonText(L::Korean, -1), "");
}

TEST(MessageDlgButtons, UnsupportedSetsAnswerWithTheCommand) {
  EXPECT_EQ(MessageDlgResult(MB_ABORTRETRYIGNORE, 30), 30);
  EXPECT_EQ(MessageDlgResult(MB_RETRYCANCEL, 2), 2);
  EXPECT_EQ(MessageDlgCountdownCommand(MB_OK | MB_DEFBUTTON3), 30);
}

TEST(MessageDlgButtons, CallerTextsSkipEmptyPieces) {
  EXPECT_EQ(SplitButtonTexts("A,,B"), (std::array<wxString, 3>{"A", "B", ""}));
  EXPECT_EQ(SplitButtonTexts("1,2,3,4"), (std::array<wxString, 3>{"1", "2", "3"}));
  EXPECT_EQ(SplitButtonTexts(",,"), (std::array<wxString, 3>{"", "", ""}));
  EXPECT_EQ(SplitButtonTexts(wxString::FromUTF8("열기,저장")),
            (std::array<wxString, 3>{wxString::FromUTF8("열기"), wxString::FromUTF8("저장"), ""}));
}

TEST(MessageDlgText, CountdownReplacesPercentDOnly) {
  EXPECT_EQ(CountdownText("%d", 3), "3");
  EXPECT_EQ(CountdownText("%d s, %d left", 12), "12 s, 12 left");
  // Nothing else is a format: no crash, no reading of missing arguments.
  EXPECT_EQ(CountdownText("%s %n %x 100%% %d", 1), "%s %n %x 100%% 1");
  EXPECT_EQ(CountdownText("no number", 5), "no number");
}

TEST(MessageDlgTitle, GradientTruncatesTowardZero) {
  EXPECT_EQ(TitleGradientChannel(0, 140, 0, 235), 0);
  // 0 - (234 * -140) / 235 = 0 - (-139): truncation, not flooring (-140).
  EXPECT_EQ(TitleGradientChannel(0, 140, 234, 235), 139);
  EXPECT_EQ(TitleGradientChannel(0, 100, 1, 3), 33);
  EXPECT_EQ(TitleGradientChannel(255, 0, 1, 3), 170);
  EXPECT_EQ(TitleGradientChannel(100, 255, 0, 0), 100);
}

TEST(MessageDlgTitle, EmptyCaptionReadsApp) {
  EXPECT_EQ(TitleBarCaption(""), " APP");
  EXPECT_EQ(TitleBarCaption(wxString::FromUTF8("파도오디오 자르개")), wxString::FromUTF8(" 파도오디오 자르개"));
}

}  // namespace
