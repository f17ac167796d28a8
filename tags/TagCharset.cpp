#include "tags/TagCharset.h"

#include <iconv.h>

#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_charsetLock;
std::string g_charset;  // empty until first use

bool CanOpen(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

// Called with the lock held.
void InitialiseLocked() {
  if (!g_charset.empty()) return;
  const char* fromEnvironment = std::getenv(kTagCharsetVariable);
  g_charset = (fromEnvironment && *fromEnvironment && IsUsableCharset(fromEnvironment))
                  ? fromEnvironment
                  : kDefaultTagCharset;
}

}  // namespace

bool IsUsableCharset(const char* name) {
  if (!name || !*name) return false;
  return CanOpen("UTF-8", name) && CanOpen(name, "UTF-8");
}

bool SetTagCharset(const char* name) {
  if (!IsUsableCharset(name)) return false;
  std::lock_guard<std::mutex> lock(g_charsetLock);
  g_charset = name;
  return true;
}

std::string GetTagCharset() {
  std::lock_guard<std::mutex> lock(g_charsetLock);
  InitialiseLocked();
  return g_charset;
}
