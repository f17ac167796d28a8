// MakeTempFileName: a fresh name for a short-lived file, "t", a two-digit
// attempt number and the millisecond tick modulo 0xFFFFF in five hex digits,
// ".tmp", in the given folder or the system's temporary folder ($TMPDIR,
// /tmp, /var/tmp, then the current folder: the first that exists and is
// writable). The file is created empty, so the name stays taken. After 100
// colliding attempts a name with six random hex digits is returned without
// being created.
#pragma once

#include <string>

std::string MakeTempFileName(const std::string& folder = std::string());

// The same with the tick count taken from `tick` (for tests that need
// colliding names).
std::string MakeTempFileName(const std::string& folder, unsigned (*tick)());

// The folder MakeTempFileName uses when none is given, ending in '/'.
std::string SystemTempFolder();
