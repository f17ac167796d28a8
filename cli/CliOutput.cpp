#include "cli/CliOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/CliCommon.h"
#include "cli/Texts.h"

namespace {

int g_outputError = 0;  // the errno of the first failed write to stdout

bool Remember(bool written) {
  if (!written && g_outputError == 0) g_outputError = errno ? errno : EIO;
  return written;
}

}  // namespace

CliVerbosity& Verbosity() {
  static CliVerbosity verbosity;
  return verbosity;
}

bool PrintLine(const std::string& line) {
  if (g_outputError) return false;
  errno = 0;
  return Remember(std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fputc('\n', stdout) != EOF);
}

bool WriteOutput(const void* data, size_t size) {
  if (g_outputError) return false;
  errno = 0;
  return Remember(std::fwrite(data, 1, size, stdout) == size);
}

void Summary(const std::string& line) {
  if (!Verbosity().quiet) PrintLine(line);
}

bool FlushOutput() {
  if (g_outputError) return false;
  errno = 0;
  return Remember(std::fflush(stdout) == 0 && !std::ferror(stdout));
}

int FinishOutput(int status) {
  FlushOutput();
  if (g_outputError == 0 || g_outputError == EPIPE) return status;
  FileFailure(clitext::kStandardOutput, std::strerror(g_outputError));
  return kCliFailed;
}

int FileFailure(const std::string& file, const std::string& reason) {
  std::fprintf(stderr, "padocut-cli: %s: %s\n", file.c_str(), reason.c_str());
  return kCliFailed;
}

void Note(const std::string& text) {
  if (!Verbosity().quiet) std::fprintf(stderr, "%s\n", clitext::Note(text).c_str());
}

void Detail(const std::string& text) {
  if (Verbosity().verbose) std::fprintf(stderr, "%s\n", clitext::Note(text).c_str());
}
