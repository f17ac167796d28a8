// The user's language from the locale variables.
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

// Saves the three variables and restores them afterwards.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      const char* value = std::getenv(kNames[i]);
      m_saved[i] = value ? std::optional<std::string>(value) : std::nullopt;
      unsetenv(kNames[i]);
    }
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) {
      if (m_saved[i]) {
        setenv(kNames[i], m_saved[i]->c_str(), 1);
      } else {
        unsetenv(kNames[i]);
      }
    }
  }
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::optional<std::string> m_saved[3];
};

TEST_F(LocaleEnvironment, LcAllWinsOverLcMessagesOverLang) {
  setenv("LANG", "ja_JP.UTF-8", 1);
  EXPECT_EQ(GetUserLanguage(), UserLanguage::Japanese);
  setenv("LC_MESSAGES", "ko_KR.UTF-8", 1);
  EXPECT_EQ(GetUserLanguage(), UserLanguage::Korean);
  setenv("LC_ALL", "en_GB.UTF-8", 1);
  EXPECT_EQ(GetUserLanguage(), UserLanguage::English);
}

TEST_F(LocaleEnvironment, EmptyVariablesAreSkipped) {
  setenv("LC_ALL", "", 1);
  setenv("LC_MESSAGES", "", 1);
  setenv("LANG", "ko_KR.UTF-8", 1);
  EXPECT_EQ(GetUserLanguage(), UserLanguage::Korean);
}

TEST_F(LocaleEnvironment, NoLocaleMeansEnglish) {
  EXPECT_EQ(GetUserLanguage(), UserLanguage::English);
}

}  // namespace
