// The program's icon (resource 128, res/padocut-32.png, with the larger
// res/padocut.png beside it) for the main window and the About box. An
// empty bundle when the files are missing.
#pragma once

#include <wx/iconbndl.h>

wxIconBundle AppIconBundle();
