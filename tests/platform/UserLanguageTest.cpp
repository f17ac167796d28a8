// The user's languages (message box buttons, window) from the locale variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/UserLanguage.h"

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

// Saves the four variables, clears them, and restores them afterwards.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < kCount; ++i) {
      const char* value = std::getenv(kNames[i]);
      m_saved[i] = value ? std::optional<std::string>(value) : std::nullopt;
      unsetenv(kNames[i]);
    }
  }
  void TearDown() override {
    for (int i = 0; i < kCount; ++i) Set(kNames[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
  }
  static void Set(const char* name, const char* value) {
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  static constexpr int kCount = 4;
  static constexpr const char* kNames[kCount] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  std::optional<std::string> m_saved[kCount];
};

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

TEST_F(LocaleEnvironment, ButtonsAndWindowFollowTheGettextOrder) {
  for (const LocaleCase& c : kLocaleCases) {
    for (int i = 0; i < kCount; ++i) Set(kNames[i], c.values[i]);
    const std::string label = std::string(c.values[0] ? c.values[0] : "-") + " " + (c.values[1] ? c.values[1] : "-") +
                              " " + (c.values[2] ? c.values[2] : "-") + " " + (c.values[3] ? c.values[3] : "-");
    EXPECT_EQ(GetUserLanguage(), c.buttons) << label;
    EXPECT_EQ(GetWindowLanguage(), c.window) << label;
  }
}

}  // namespace
