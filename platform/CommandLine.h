// Splitting a command line into arguments, with the quoting rules the
// program's launchers use: white space (tab, LF, CR, space) separates
// arguments; an argument that starts with a double quote runs to the next
// double quote, and inside it a backslash followed by a double quote stands
// for a literal double quote. Every other byte is taken unchanged (UTF-8 is
// safe: no byte of a multibyte sequence is a quote, a backslash or white
// space).
#pragma once

#include <string>
#include <vector>

// Used when a launcher hands over the whole command line as one string (the program reads argv).
// Fills `args` with the arguments of `commandLine` (argument 0 is whatever the
// line starts with, normally the program path) and returns their number. A
// quoted argument without its closing quote makes the line malformed: the
// result is -1 and `args` is left empty.
int SplitCommandLine(const std::string& commandLine, std::vector<std::string>& args);
