#include "app/DocumentsFolder.h"

#include <cstdio>
#include <cstdlib>

#include "mp3/PathParts.h"

namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string WithoutSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string AskXdgUserDir() {
  FILE* pipe = popen("xdg-user-dir DOCUMENTS 2>/dev/null", "r");
  if (!pipe) return std::string();
  std::string answer;
  char buffer[512];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0 && answer.size() < 8192) answer.append(buffer, n);
  pclose(pipe);
  while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
  return answer;
}

}  // namespace

std::string ChooseDocumentsFolder(const std::string& xdgAnswer, const std::string& home) {
  if (!xdgAnswer.empty() && WithoutSlash(xdgAnswer) != WithoutSlash(home) && IsExistingFolder(xdgAnswer)) {
    return WithSlash(xdgAnswer);
  }
  if (!home.empty()) {
    const std::string documents = WithSlash(home) + "Documents";
    if (IsExistingFolder(documents)) return WithSlash(documents);
    if (IsExistingFolder(home)) return WithSlash(home);
  }
  return "/";
}

std::string FindDocumentsFolder() {
  const char* home = std::getenv("HOME");
  return ChooseDocumentsFolder(AskXdgUserDir(), home ? home : "");
}
