// padocut-cli's JSON: nlohmann-json values (keys kept in the order they were
// added) printed as one line in the layout the commands have always used,
// `{"key": value, "list": [1, 2]}`. Text is UTF-8; bytes that are not
// well-formed UTF-8 (a file name in another charset) become U+FFFD.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

using Json = nlohmann::ordered_json;

std::string JsonLine(const Json& value);

// Text as a JSON string literal.
std::string JsonString(const std::string& text);
