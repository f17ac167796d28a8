// The window's texts in the user's language. Each text is written once, in
// Korean, in a Texts.h file and marked N_("...") (platform/TextMarker.h);
// the code shows it through Tr(). When the window is English
// (GetWindowLanguage, UserLanguage.h), Tr looks the text up in the catalog
// "padocut" (po/en.po, compiled to padocut.mo at build time); when it is
// Korean, or no catalog was found, Tr gives the text back unchanged.
//
// The catalog is looked for as en/LC_MESSAGES/padocut.mo under locale/ in
// the program's folder (the build puts it there), under ../share/locale
// beside that folder (an installed program), then where the toolkit looks
// for catalogs (/usr/share/locale...).
#pragma once

#include <wx/string.h>

#include "platform/UserLanguage.h"

// The text `text` (UTF-8, a message id) in the window's language.
wxString Tr(const char* text);

// Chooses the window's language from the environment and loads the catalog
// it needs, replacing what an earlier call chose. Returns the language the
// window's texts are now in: Korean when English was wanted but no catalog
// was found.
UserLanguage UseWindowLanguage();

// What the last UseWindowLanguage returned; Korean before the first call.
UserLanguage CurrentWindowLanguage();
