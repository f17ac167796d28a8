// Where the save dialog starts when the loaded file's own folder is gone:
// the user's documents folder. The desktop names it (xdg-user-dir
// DOCUMENTS); without that answer, $HOME/Documents when it exists, else
// $HOME, else "/". The result ends in '/'.
#pragma once

#include <string>

// The choice itself, from the desktop's answer (may be empty) and $HOME
// (may be empty). Only existing folders are taken; xdg-user-dir answers
// $HOME itself when no documents folder is configured, which counts as no
// answer.
std::string ChooseDocumentsFolder(const std::string& xdgAnswer, const std::string& home);

// Asks the desktop (runs xdg-user-dir once) and chooses.
std::string FindDocumentsFolder();
