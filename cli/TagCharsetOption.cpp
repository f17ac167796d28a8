#include "cli/TagCharsetOption.h"

#include <cstdlib>

#include "cli/Texts.h"
#include "tags/TagCharset.h"

void AddTagCharsetOption(CLI::App& command, std::string* name) {
  command.add_option("--tag-charset", *name,
                     "charset of ID3v1 text and ID3v2 text in encoding 0 (any iconv name;\n"
                     "default CP949, or $PADOCUT_TAG_CHARSET)")
      ->type_name("NAME");
}

std::optional<std::string> ApplyTagCharset(const std::string& name) {
  std::string chosen = name;
  if (chosen.empty()) {
    const char* fromEnvironment = std::getenv(kTagCharsetVariable);
    if (fromEnvironment) chosen = fromEnvironment;
  }
  if (!chosen.empty() && !SetTagCharset(chosen.c_str())) return clitext::UnknownCharset(chosen);
  return std::nullopt;
}
