// The locale variables a test sets: LANGUAGE, LC_ALL, LC_MESSAGES and LANG
// are saved and cleared on construction and put back on destruction.
#pragma once

#include <optional>
#include <string>

class ScopedLocaleVariables {
 public:
  ScopedLocaleVariables();
  ~ScopedLocaleVariables();
  ScopedLocaleVariables(const ScopedLocaleVariables&) = delete;
  ScopedLocaleVariables& operator=(const ScopedLocaleVariables&) = delete;

  // Sets the four variables, in that order; null leaves one unset.
  void Set(const char* language, const char* lcAll, const char* lcMessages, const char* lang);

 private:
  std::optional<std::string> m_saved[4];
};
