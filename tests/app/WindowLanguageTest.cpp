// The window in the user's language: a Korean locale, "C" or none shows the
// texts as written; English (and every language without texts of its own)
// shows the English catalog with its menus' access keys. In both, no caption
// or button text is wider than its place. The About box's version is the one
// padocut-cli --version prints.
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/tokenzr.h>

#include <cstdio>

#include "app/AboutDlg.h"
#include "app/HelpPage.h"
#include "platform/wx/Translation.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/LocaleVariables.h"

namespace {

// Korean syllables (every Korean text of the window is written in them).
bool HasHangul(const wxString& text) {
  for (wxUniChar c : text) {
    if (c.GetValue() >= 0xAC00 && c.GetValue() <= 0xD7A3) return true;
  }
  return false;
}

std::vector<wxMenuItem*> AllMenuItems(wxMenuBar* bar) {
  std::vector<wxMenuItem*> items;
  for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
    for (wxMenuItem* item : bar->GetMenu(i)->GetMenuItems()) {
      if (!item->IsSeparator()) items.push_back(item);
    }
  }
  return items;
}

// The texts of the labels and buttons of `top` (and of its panel) that are
// wider than their places, or have more lines than their height holds. The
// toolkit sets lines a little closer than the text extent's height: a
// quarter of a line too many is still whole.
std::vector<std::string> ClippedTexts(wxWindow* top) {
  std::vector<std::string> clipped;
  std::vector<wxWindow*> windows;
  for (wxWindow* child : top->GetChildren()) {
    windows.push_back(child);
    for (wxWindow* grandChild : child->GetChildren()) windows.push_back(grandChild);
  }
  for (wxWindow* window : windows) {
    int room = window->GetClientSize().x;
    if (auto* button = dynamic_cast<CSkinButton*>(window)) {
      room -= button->GetGlyphSize().x;
    } else if (!dynamic_cast<wxStaticText*>(window) && !dynamic_cast<wxButton*>(window)) {
      continue;
    }
    wxStringTokenizer lines(window->GetLabel(), "\n");
    int height = 0;
    while (lines.HasMoreTokens()) {
      const wxSize extent = window->GetTextExtent(wxStripMenuCodes(lines.GetNextToken()));
      height += extent.y;
      if (extent.x > room || height > window->GetClientSize().y + extent.y / 4) {
        clipped.push_back(window->GetLabel().utf8_string());
        break;
      }
    }
  }
  return clipped;
}

class WindowLanguageTest : public CutterDlgTest {
 protected:
  void TearDown() override {
    CutterDlgTest::TearDown();
    UseLocale(nullptr, nullptr);  // the texts as written, for the other tests
  }
  // Sets LANGUAGE and LANG (null: unset) and chooses the window's language.
  UserLanguage UseLocale(const char* language, const char* lang) {
    m_variables.Set(language, nullptr, nullptr, lang);
    return UseWindowLanguage();
  }
  // The About box's texts that do not fit.
  std::vector<std::string> ClippedAboutTexts() {
    auto* about = new CAboutDlg(dialog);
    about->Show();
    PumpFor(30);
    std::vector<std::string> clipped = ClippedTexts(about);
    about->Destroy();
    return clipped;
  }

 private:
  ScopedLocaleVariables m_variables;
};

TEST_F(WindowLanguageTest, KoreanOrNoLanguageShowsTheTextsAsWritten) {
  for (const char* lang : {"ko_KR.UTF-8", "C", "POSIX", "C.UTF-8", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(lang ? lang : "no LANG");
    EXPECT_EQ(UseLocale(nullptr, lang), UserLanguage::Korean);
    Open();
    EXPECT_EQ(dialog->GetTitle().utf8_string(), apptext::kCaption);
    wxMenuBar* bar = dialog->GetMenuBar();
    EXPECT_EQ(bar->GetMenuLabel(0).utf8_string(), apptext::kFileMenu);
    EXPECT_EQ(bar->GetMenuLabel(1).utf8_string(), apptext::kViewMenu);
    EXPECT_EQ(bar->GetMenuLabel(2).utf8_string(), apptext::kHelpMenu);
    EXPECT_EQ(bar->FindItem(ID_FILE_OPEN)->GetItemLabel().BeforeFirst('\t').utf8_string(), apptext::kOpenFileItem);
    EXPECT_EQ(LabelOf(Label(IDC_START_CAPTION)), apptext::kStartCaption);
    EXPECT_TRUE(wxString::FromUTF8(FindHelpPage()).EndsWith("/text/RECinfo.html"));
  }
}

TEST_F(WindowLanguageTest, OtherLanguagesShowEnglishWithAccessKeys) {
  const struct {
    const char* language;
    const char* lang;
  } kLocales[] = {{nullptr, "en_US.UTF-8"}, {"en", "C.UTF-8"}, {nullptr, "de_DE.UTF-8"}, {"ko", "en_GB.UTF-8"}};
  for (const auto& locale : kLocales) {
    SCOPED_TRACE(std::string(locale.language ? locale.language : "-") + " " + locale.lang);
    const bool korean = locale.language && std::string(locale.language) == "ko";
    EXPECT_EQ(UseLocale(locale.language, locale.lang), korean ? UserLanguage::Korean : UserLanguage::English);
    Open();
    if (korean) {
      EXPECT_EQ(dialog->GetTitle().utf8_string(), apptext::kCaption) << "LANGUAGE comes first";
      continue;
    }
    EXPECT_EQ(dialog->GetTitle(), "Pado Cutter");
    wxMenuBar* bar = dialog->GetMenuBar();
    EXPECT_EQ(bar->GetMenuLabel(0), "&File");
    EXPECT_EQ(bar->GetMenuLabel(1), "&View");
    EXPECT_EQ(bar->GetMenuLabel(2), "&Help");
    for (wxMenuItem* item : AllMenuItems(bar)) {
      const wxString label = item->GetItemLabel();
      EXPECT_FALSE(HasHangul(label)) << label.utf8_string();
      EXPECT_EQ(label.Freq('&'), 1) << label.utf8_string() << ": one access key";
    }
    for (wxWindow* child : Label(IDC_START_CAPTION)->GetParent()->GetChildren()) {
      EXPECT_FALSE(HasHangul(child->GetLabel())) << child->GetLabel().utf8_string();
    }
    EXPECT_TRUE(wxString::FromUTF8(FindHelpPage()).EndsWith("/text/RECinfo.en.html"));
  }
}

TEST_F(WindowLanguageTest, TextsFitTheirPlacesInBothLanguages) {
  for (const char* lang : {"ko_KR.UTF-8", "en_US.UTF-8"}) {
    SCOPED_TRACE(lang);
    UseLocale(nullptr, lang);
    OpenReady(MakeMp3("fit.mp3", 2));
    EXPECT_EQ(ClippedTexts(dialog), std::vector<std::string>());
    EXPECT_EQ(ClippedAboutTexts(), std::vector<std::string>());
  }
}

TEST_F(WindowLanguageTest, AboutBoxShowsTheVersionTheCommandLinePrints) {
  FILE* cli = popen(("'" + BuildDir() + "/padocut-cli' --version").c_str(), "r");
  ASSERT_NE(cli, nullptr);
  char line[128] = {};
  const bool read = std::fgets(line, sizeof line, cli) != nullptr;
  pclose(cli);
  ASSERT_TRUE(read);
  const wxString version = wxString::FromUTF8(line).AfterLast(' ').Trim();  // "padocut-cli 0.1"
  ASSERT_FALSE(version.empty());
  for (const char* lang : {"ko_KR.UTF-8", "en_US.UTF-8"}) {
    UseLocale(nullptr, lang);
    Open();
    auto* about = new CAboutDlg(dialog);
    const wxWindow* label = about->FindWindow(IDC_ABOUT_VERSION);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->GetLabel().EndsWith(" " + version)) << label->GetLabel().utf8_string();
    EXPECT_EQ(HasHangul(label->GetLabel()), std::string(lang) == "ko_KR.UTF-8");
    about->Destroy();
  }
}

}  // namespace
