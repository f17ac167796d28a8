// The program's help page, text/RECinfo.html (Korean) or
// text/RECinfo.en.html (English, when the window is: CurrentWindowLanguage),
// and opening it in the user's web browser.
//
// The page ships with the program: next to the executable (the build copies
// text/ there), in ../share/padocut/text beside the executable's folder (an
// installed program), under $PADOCUT_SOURCE_DIR, or in the source tree the
// program was built from; the Korean page stands in for a missing English
// one. It opens as a local file:// address with the desktop's default
// browser. Nothing is shown when that fails.
#pragma once

#include <wx/string.h>

#include <functional>
#include <string>

// Full path of the help page, or "" when it cannot be found.
std::string FindHelpPage();

// file:// address of the help page ("" when it cannot be found).
wxString HelpPageUrl();

// Starts the browser on `url`; true when a browser was started. Failures
// are silent.
bool OpenUrlInBrowser(const wxString& url);

// Replaces what OpenUrlInBrowser starts (tests record the address instead
// of starting a browser); an empty function restores the default browser.
// Returns the previous launcher.
using BrowserLauncher = std::function<bool(const wxString& url)>;
BrowserLauncher SetBrowserLauncher(BrowserLauncher launcher);
