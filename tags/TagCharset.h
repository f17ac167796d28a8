// The process-wide character set of narrow tag text: ID3v1 fields and
// ID3v2 text in encoding 0 are read and written in it. It is "CP949" unless
// the environment variable PADOCUT_TAG_CHARSET names another charset iconv
// knows, and SetTagCharset may change it at any time (thread-safe).
#pragma once

#include <string>

inline constexpr const char* kDefaultTagCharset = "CP949";
inline constexpr const char* kTagCharsetVariable = "PADOCUT_TAG_CHARSET";

// True when iconv converts between `name` and UTF-8 both ways.
bool IsUsableCharset(const char* name);

// Makes `name` the narrow charset; false (setting unchanged) when iconv
// does not know it.
bool SetTagCharset(const char* name);

std::string GetTagCharset();
