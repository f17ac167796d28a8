#include "cli/TagCharsetOption.h"

#include <cstdlib>

#include "cli/Texts.h"
#include "tags/TagCharset.h"

std::optional<std::string> ApplyTagCharsetOption(std::vector<std::string>& args) {
  static const std::string kOption = "--tag-charset";
  std::optional<std::string> chosen;
  for (size_t i = 0; i < args.size();) {
    if (args[i] == kOption) {
      if (i + 1 >= args.size()) return clitext::NeedsCharsetName(kOption);
      chosen = args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                 args.begin() + static_cast<std::ptrdiff_t>(i + 2));
    } else if (args[i].rfind(kOption + "=", 0) == 0) {
      chosen = args[i].substr(kOption.size() + 1);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  if (!chosen) {
    const char* fromEnvironment = std::getenv(kTagCharsetVariable);
    if (fromEnvironment && *fromEnvironment) chosen = fromEnvironment;
  }
  if (chosen && !SetTagCharset(chosen->c_str())) return clitext::UnknownCharset(*chosen);
  return std::nullopt;
}
