// The user's languages (message box buttons, window) from the locale variables.
#include <gtest/gtest.h>

#include <string>

#include "platform/UserLanguage.h"
#include "tests/support/LocaleVariables.h"

namespace {

TEST(LanguageFromLocaleName, KoreanJapaneseOrEnglish) {
  EXPECT_EQ(LanguageFromLocaleName("ko_KR.UTF-8"), UserLanguage::Korean);
  EXPECT_EQ(LanguageFromLocaleName("ko"), UserLanguage::Korean);
  EXPECT_EQ(LanguageFromLocaleName("ja_JP.eucJP"), UserLanguage::Japanese);
  EXPECT_EQ(LanguageFromLocaleName("en_US.UTF-8"), UserLanguage::English);
  EXPECT_EQ(LanguageFromLocaleName("de_DE"), UserLanguage::English);
  EXPECT_EQ(LanguageFromLocaleName("C"), UserLanguage::English);
  EXPECT_EQ(LanguageFromLocaleName("POSIX"), UserLanguage::English);
  EXPECT_EQ(LanguageFromLocaleName(""), UserLanguage::English);
}

using L = UserLanguage;

// The variables as set (null: unset) and the two choices made from them.
struct LocaleCase {
  const char* values[4];  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
  UserLanguage buttons;
  UserLanguage window;
};

const LocaleCase kLocaleCases[] = {
    {{nullptr, nullptr, nullptr, nullptr}, L::English, L::Korean},              // nothing set
    {{nullptr, nullptr, nullptr, "ja_JP.UTF-8"}, L::Japanese, L::English},
    {{nullptr, nullptr, "ko_KR.UTF-8", "ja_JP.UTF-8"}, L::Korean, L::Korean},   // LC_MESSAGES over LANG
    {{nullptr, "en_GB.UTF-8", "ko_KR.UTF-8", "ja_JP"}, L::English, L::English},  // LC_ALL over both
    {{nullptr, "", "", "ko_KR.UTF-8"}, L::Korean, L::Korean},                    // empty ones skipped
    {{nullptr, nullptr, nullptr, "C"}, L::English, L::Korean},
    {{nullptr, nullptr, nullptr, "POSIX"}, L::English, L::Korean},
    {{nullptr, nullptr, nullptr, "C.UTF-8"}, L::English, L::Korean},
    {{nullptr, nullptr, nullptr, "de_DE.UTF-8"}, L::English, L::English},
    {{"en", nullptr, nullptr, "ko_KR.UTF-8"}, L::English, L::English},          // LANGUAGE first
    {{"en_US:ko", "ko_KR.UTF-8", nullptr, nullptr}, L::English, L::English},
    {{"fr:ko:en", nullptr, nullptr, "de_DE.UTF-8"}, L::Korean, L::Korean},      // fr has no texts
    {{"fr", nullptr, nullptr, "de_DE.UTF-8"}, L::English, L::English},
    {{"ja:ko", nullptr, nullptr, "C.UTF-8"}, L::Japanese, L::Korean},           // no Japanese window
    {{"en", nullptr, nullptr, "C.UTF-8"}, L::English, L::English},              // C.UTF-8 is a locale
    {{"en", nullptr, nullptr, "C"}, L::English, L::Korean},                     // LANGUAGE ignored
    {{"en", nullptr, nullptr, nullptr}, L::English, L::Korean},
    {{"::", nullptr, nullptr, "ko_KR.UTF-8"}, L::Korean, L::Korean},            // empty entries
};

TEST(UserLanguage, ButtonsAndWindowFollowTheGettextOrder) {
  ScopedLocaleVariables variables;
  for (const LocaleCase& c : kLocaleCases) {
    variables.Set(c.values[0], c.values[1], c.values[2], c.values[3]);
    const std::string label = std::string(c.values[0] ? c.values[0] : "-") + " " + (c.values[1] ? c.values[1] : "-") +
                              " " + (c.values[2] ? c.values[2] : "-") + " " + (c.values[3] ? c.values[3] : "-");
    EXPECT_EQ(GetUserLanguage(), c.buttons) << label;
    EXPECT_EQ(GetWindowLanguage(), c.window) << label;
  }
}

}  // namespace
