// The folder of the running program's executable (the target of
// /proc/self/exe): where the program finds its plug-in, its pictures and its
// help page, wherever it was built or installed.
#pragma once

#include <string>

// The folder, ending in '/'; "" when it cannot be known. Worked out once.
const std::string& ExecutableFolder();
