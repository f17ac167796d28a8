// The program's pictures (button glyphs, the About picture, the icon) are
// files in a res/ folder. The folder is looked for, in this order, next to
// the executable (the build copies res/ there), in ../share/padocut/res
// beside the executable's folder (an installed program), under
// $PADOCUT_SOURCE_DIR, and in the source tree the program was built from.
//
// The window refers to its pictures by their resource numbers
// (ResourceIds.h); ResourceFileName maps a number to the file's name. The
// output plug-in is found from the executable's folder too (FindPluginFolder).
#pragma once

#include <string>

// The res/ folder in use, with a trailing '/', or "" when none exists.
std::string FindResourceDir();

// Full path of the file `name` in the res/ folder, or "" when it is missing.
std::string FindResourceFile(const std::string& name);

// File name of a resource number ("cut.bmp" for 129), or "" for an unknown one.
std::string ResourceFileName(int resourceId);

// Full path of a resource number's file, or "" when unknown or missing.
std::string FindResourceFileById(int resourceId);

// The folder of the output plug-in `fileName`, ending in '/': the program's
// own folder, or an installed program's ../lib/padocut/ beside it when only
// that one holds the file; the program's own folder when neither does.
std::string FindPluginFolder(const std::string& fileName);
