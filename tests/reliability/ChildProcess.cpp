#include "tests/reliability/ChildProcess.h"

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

// In the child: the options, then the body. Returns the report text.
std::string ChildMain(const ChildOptions& options, const std::function<std::string()>& body) {
  // A write past the size limit must fail with EFBIG, not end the process.
  signal(SIGXFSZ, SIG_IGN);
  if (options.privateMounts) {
    if (unshare(CLONE_NEWNS) != 0) return std::string("skip: no private mount namespace: ") + std::strerror(errno);
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      return std::string("skip: cannot make the mounts private: ") + std::strerror(errno);
    }
  }
  if (options.fileSizeLimit >= 0) {
    const rlimit limit = {static_cast<rlim_t>(options.fileSizeLimit), static_cast<rlim_t>(options.fileSizeLimit)};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return "cannot set the file-size limit";
  }
  return body();
}

}  // namespace

ChildOutcome RunInChild(const ChildOptions& options, const std::function<std::string()>& body) {
  ChildOutcome outcome;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    outcome.message = "pipe failed";
    return outcome;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    outcome.message = "fork failed";
    return outcome;
  }
  if (pid == 0) {
    close(pipeFds[0]);
    alarm(static_cast<unsigned>(options.seconds));
    std::string report;
    try {
      report = ChildMain(options, body);
    } catch (...) {
      report = "an exception left the child";
    }
    WriteAll(pipeFds[1], report);
    close(pipeFds[1]);
    _exit(0);
  }
  close(pipeFds[1]);
  const std::string report = ReadAll(pipeFds[0]);
  close(pipeFds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    outcome.message = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM
                          ? "the child hung (killed by its alarm)"
                          : "the child died (status " + std::to_string(status) + ")";
    outcome.message += report.empty() ? "" : ": " + report;
    return outcome;
  }
  if (report.rfind("skip: ", 0) == 0) {
    outcome.kind = ChildOutcome::Kind::Skipped;
    outcome.message = report.substr(6);
  } else if (report.empty()) {
    outcome.kind = ChildOutcome::Kind::Passed;
  } else {
    outcome.message = report;
  }
  return outcome;
}
