// MakeTempFileName: a fresh name for a short-lived file, "t", a two-digit
// attempt number and the millisecond tick modulo 0xFFFFF in five hex digits,
// ".tmp", in the given folder or the system's temporary folder ($TMPDIR,
// /tmp, /var/tmp, then the current folder: the first that exists and is
// writable). The file is created empty and exclusively, so the name stays
// taken and a name that was taken, by a symbolic link too, is never used.
// After 100 taken names, names with six random hex digits are tried in
// /var/tmp (or the current folder). Nothing at all: an empty name.
#pragma once

#include <optional>
#include <string>

#include "platform/io/CreatedFile.h"

std::string MakeTempFileName(const std::string& folder = std::string());

// The same with the tick count taken from `tick` (for tests that need
// colliding names).
std::string MakeTempFileName(const std::string& folder, unsigned (*tick)());

// The same file, held open and removed when the result is destroyed.
std::optional<CreatedFile> CreateTempFile(const std::string& folder = std::string());
std::optional<CreatedFile> CreateTempFile(const std::string& folder, unsigned (*tick)());

// The folder MakeTempFileName uses when none is given, ending in '/'.
std::string SystemTempFolder();
