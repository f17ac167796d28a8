// N_("...") marks a text that the window shows in the user's language: it
// leaves the text as it is (a Korean UTF-8 literal in a Texts.h file) and
// tells xgettext (-kN_) to put it into the catalog as a message id. The code
// that shows a marked text translates it with Tr() (platform/wx/Translation.h).
#pragma once

#ifndef N_
#define N_(text) text
#endif
