// The "--tag-charset NAME" option of the commands that read or write tags:
// NAME (any charset iconv knows) becomes the narrow tag charset for the run.
// PADOCUT_TAG_CHARSET sets it too; the option wins.
#pragma once

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kTagCharsetHelp =
    "  --tag-charset NAME  charset of ID3v1 text and ID3v2 text in encoding 0\n"
    "                      (any iconv name; default CP949, or $PADOCUT_TAG_CHARSET)\n";

// Takes the option out of `args` and applies it (and the environment
// variable). A reason when the option lacks its value or a name is unknown.
std::optional<std::string> ApplyTagCharsetOption(std::vector<std::string>& args);
