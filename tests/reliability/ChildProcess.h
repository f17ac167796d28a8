// Runs a piece of a test in a forked child, for faults that must not touch
// the test process itself: a file-size limit (RLIMIT_FSIZE), a private
// mount namespace with read-only or tiny file systems over /tmp, a hang
// guarded by an alarm. The child reports back through a pipe: an empty
// text is a pass, "skip: ..." a skip, anything else a failure.
#pragma once

#include <functional>
#include <string>

struct ChildOutcome {
  enum class Kind { Passed, Failed, Skipped };
  Kind kind = Kind::Failed;
  std::string message;
};

struct ChildOptions {
  long fileSizeLimit = -1;     // bytes; -1: none
  bool privateMounts = false;  // own mount namespace (needs CAP_SYS_ADMIN)
  int seconds = 60;            // the child is killed after this long
};

// Runs `body` in a child. A child that dies, hangs or cannot set up its
// options is a failure (or a skip when the namespace is not permitted).
ChildOutcome RunInChild(const ChildOptions& options, const std::function<std::string()>& body);

// GoogleTest glue: fails or skips the current test as the outcome says.
#define EXPECT_CHILD_PASSES(outcome)                                           \
  do {                                                                        \
    const ChildOutcome o_ = (outcome);                                        \
    if (o_.kind == ChildOutcome::Kind::Skipped) GTEST_SKIP() << o_.message;   \
    EXPECT_EQ(o_.kind, ChildOutcome::Kind::Passed) << o_.message;             \
  } while (0)

// Collects failed checks inside a child: CHECK_IN_CHILD(list, cond) appends
// the condition's text (and the file line) when it does not hold.
#define CHECK_IN_CHILD(failures, condition)                                        \
  do {                                                                             \
    if (!(condition)) (failures) += std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " #condition "\n"; \
  } while (0)
