// Small path functions the cut and the main window share. Paths use '/'.
#pragma once

#include <string>

// The folder of a path, ending in '/': one trailing '/' is dropped first,
// then everything up to and including the last '/' is kept ("" without one).
std::string GetFolderPart(const std::string& path);
// The file name without folder and extension ("song" for /music/song.mp3).
std::string GetFileTitlePart(const std::string& path);
// The extension with its dot, from the last dot of the last component;
// "" when there is none.
std::string GetFileExtPart(const std::string& path);
bool IsExistingFolder(const std::string& path);
bool IsExistingFile(const std::string& path);
