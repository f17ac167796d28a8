// The "--tag-charset NAME" option of the commands that read or write tags:
// NAME (any charset iconv knows) becomes the narrow tag charset for the run.
// PADOCUT_TAG_CHARSET sets it too; the option wins.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

// Adds the option to `command`, storing its value in `*name`.
void AddTagCharsetOption(CLI::App& command, std::string* name);

// Applies the option's value (or the environment variable when it is
// empty). A usage problem when the charset is unknown.
std::optional<std::string> ApplyTagCharset(const std::string& name);
