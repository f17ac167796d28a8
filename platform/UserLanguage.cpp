// Locale environment -> the user's languages.
#include "platform/UserLanguage.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

// The language part of a locale name: "ko" of "ko_KR.UTF-8", "C" of "C.UTF-8".
std::string LanguagePart(const std::string& localeName) {
  return localeName.substr(0, localeName.find_first_of("_.@"));
}

bool NamesNoLanguage(const std::string& localeName) {
  const std::string language = LanguagePart(localeName);
  return language == "C" || language == "POSIX";
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The user's locale names, first choice first (UserLanguage.h); empty when
// nothing is set.
std::vector<std::string> PreferredLocaleNames() {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = Variable(name);
    if (!locale.empty()) break;
  }
  std::vector<std::string> names;
  if (!locale.empty() && locale != "C" && locale != "POSIX") {
    std::istringstream list(Variable("LANGUAGE"));
    for (std::string entry; std::getline(list, entry, ':');) {
      if (!entry.empty()) names.push_back(entry);
    }
  }
  if (!locale.empty()) names.push_back(locale);
  return names;
}

}  // namespace

UserLanguage LanguageFromLocaleName(const std::string& localeName) {
  if (localeName.rfind("ko", 0) == 0) return UserLanguage::Korean;
  if (localeName.rfind("ja", 0) == 0) return UserLanguage::Japanese;
  return UserLanguage::English;
}

UserLanguage GetUserLanguage() {
  for (const std::string& name : PreferredLocaleNames()) {
    const std::string language = LanguagePart(name);
    if (language == "ko" || language == "ja" || language == "en" || NamesNoLanguage(name)) {
      return LanguageFromLocaleName(name);
    }
  }
  return UserLanguage::English;
}

UserLanguage GetWindowLanguage() {
  const std::vector<std::string> names = PreferredLocaleNames();
  for (const std::string& name : names) {
    const std::string language = LanguagePart(name);
    if (language == "ko" || NamesNoLanguage(name)) return UserLanguage::Korean;
    if (language == "en") return UserLanguage::English;
  }
  return names.empty() ? UserLanguage::Korean : UserLanguage::English;
}
