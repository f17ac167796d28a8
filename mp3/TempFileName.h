// MakeTempFileName: a fresh name for a short-lived file, "t", a two-digit
// attempt number and the millisecond tick modulo 0xFFFFF in five hex digits,
// ".tmp", in the given folder or the system's temporary folder ($TMPDIR,
// /tmp, /var/tmp, then the current folder: the first that exists and is
// writable). The file is created empty and exclusively, so the name stays
// taken and a name that was taken, by a symbolic link too, is never used.
// After 100 taken names, names with six random hex digits are tried in
// /var/tmp (or the current folder). Nothing at all: an empty name.
//
// The program itself no longer calls it (the cut reads its source directly
// and builds its result beside the destination); it stays as the
// temporary-name service for code that needs a scratch file.
#pragma once

#include <string>

std::string MakeTempFileName(const std::string& folder = std::string());

// The same with the tick count taken from `tick` (for tests that need
// colliding names).
std::string MakeTempFileName(const std::string& folder, unsigned (*tick)());

// The folder MakeTempFileName uses when none is given, ending in '/'.
std::string SystemTempFolder();
