#include "tests/support/LocaleVariables.h"

#include <cstdlib>

namespace {

constexpr const char* kNames[4] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

void SetOrUnset(const char* name, const char* value) {
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

}  // namespace

ScopedLocaleVariables::ScopedLocaleVariables() {
  for (int i = 0; i < 4; ++i) {
    if (const char* value = std::getenv(kNames[i])) m_saved[i] = value;
    unsetenv(kNames[i]);
  }
}

ScopedLocaleVariables::~ScopedLocaleVariables() {
  for (int i = 0; i < 4; ++i) SetOrUnset(kNames[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
}

void ScopedLocaleVariables::Set(const char* language, const char* lcAll, const char* lcMessages, const char* lang) {
  const char* values[4] = {language, lcAll, lcMessages, lang};
  for (int i = 0; i < 4; ++i) SetOrUnset(kNames[i], values[i]);
}
