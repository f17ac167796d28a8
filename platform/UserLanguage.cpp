// Locale name -> user language.
#include "platform/UserLanguage.h"

#include <cstdlib>

UserLanguage LanguageFromLocaleName(const std::string& localeName) {
  if (localeName.rfind("ko", 0) == 0) return UserLanguage::Korean;
  if (localeName.rfind("ja", 0) == 0) return UserLanguage::Japanese;
  return UserLanguage::English;
}

UserLanguage GetUserLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return LanguageFromLocaleName(value);
  }
  return UserLanguage::English;
}
