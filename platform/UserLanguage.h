// The language the user's messages and button texts are shown in, taken from
// the locale environment the way the C library chooses its message language:
// the first non-empty of LC_ALL, LC_MESSAGES and LANG. A name starting with
// "ko" means Korean, "ja" Japanese, anything else (including no locale at
// all, "C" and "POSIX") English.
#pragma once

#include <string>

enum class UserLanguage { English, Korean, Japanese };

// The language a locale name such as "ko_KR.UTF-8" stands for.
UserLanguage LanguageFromLocaleName(const std::string& localeName);

// The language of the current environment; read afresh on every call.
UserLanguage GetUserLanguage();
