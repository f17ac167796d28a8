// The files padocut-cli reads, checked the way a user needs to hear about
// them: the system's reason when the file cannot be opened ("No such file or
// directory", "Permission denied", "Is a directory"), the format's otherwise.
// The checks only choose the words: the core refuses the same files anyway.
#pragma once

#include <optional>
#include <string>

class CMp3Reader;

// Nothing when `path` opens for reading as a regular file; else the reason.
std::optional<std::string> UnreadableReason(const std::string& path);

// Opens `path` with `reader`; nothing on success, else the reason
// (UnreadableReason's, or that no MPEG audio frames were found).
std::optional<std::string> OpenMpegSource(const std::string& path, CMp3Reader& reader);
