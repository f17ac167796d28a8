// The language the user reads, taken from the locale environment the way GNU
// gettext chooses a message language: the entries of LANGUAGE (a
// colon-separated list, first choice first), then the locale, the first
// non-empty of LC_ALL, LC_MESSAGES and LANG. LANGUAGE is ignored while that
// locale is unset, "C" or "POSIX" (as gettext ignores it there); "C.UTF-8"
// counts as set. The first preference this program has texts for decides;
// names it has none for ("fr_FR") are passed over.
//
// Two choices are made from the same preferences:
//  - GetUserLanguage: the message box's button texts, Korean, Japanese or
//    English; "C" and "POSIX" mean English, and so does no preference at all.
//  - GetWindowLanguage: the window's texts, Korean (the texts as written, the
//    catalog's message ids) or English (po/en.po). "C", "POSIX" and no
//    locale mean Korean; every other language, Japanese included, English.
#pragma once

#include <string>

enum class UserLanguage { English, Korean, Japanese };

// The language a locale name such as "ko_KR.UTF-8" stands for.
UserLanguage LanguageFromLocaleName(const std::string& localeName);

// The message box buttons' language; read afresh on every call.
UserLanguage GetUserLanguage();

// The window's language, Korean or English; read afresh on every call.
UserLanguage GetWindowLanguage();
