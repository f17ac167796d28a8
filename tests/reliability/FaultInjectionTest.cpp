// Faults of the machine during a cut or a tag rewrite: a full disk or a
// file-size limit at every stage (ID3v2 tag, frame copy, ID3v1 record),
// folders that cannot be written, temporary folders that cannot be used.
// Every fault must give a failure, never a success; the source and an
// existing destination stay byte for byte as they were; no staging file or
// ".vuxtemp" file remains, and nothing is left in the temporary folder. A
// cut that succeeds despite the fault must be the exact cut.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "mp3/CutToFile.h"
#include "mp3/Mp3Reader.h"
#include "tags/TagTransfer.h"
#include "tests/reliability/ChildProcess.h"
#include "tests/reliability/FaultScene.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr int kWholeFile = 1 << 30;
const Bytes kOldDestination(5000, 0xAB);

// An ID3v1 record with every field at full width: the fresh ID3v2 tag made
// from it is larger than the record, so the tagged cut is larger than its
// source and a size limit can fall inside the tags.
Bytes FullRecordSource() {
  Bytes file = AudioBytes();
  Bytes r(128, 0);
  const std::string text = "TAGTitle Title Title Title TitlArtist Artist Artist Artist AAlbum Album Album Album Album1999"
                           "Comment Comment Comment Comm";
  std::copy(text.begin(), text.end(), r.begin());
  r[126] = 9;
  r[127] = 17;
  file.insert(file.end(), r.begin(), r.end());
  return file;
}

// The cut of [start, end) of `source` as a fault-free run makes it.
Bytes CleanCut(const Bytes& source, int start, int end) {
  TempDir dir;
  const std::string src = dir.File("src.mp3");
  WriteBytes(src, source);
  CutReport report;
  if (CutToFile(src, dir.File("out.mp3"), start, end, &report) != 1) return {};
  return ReadBytes(dir.File("out.mp3"));
}

// Points TMPDIR at `folder` for this process (children inherit it).
class TmpdirScope {
 public:
  explicit TmpdirScope(const std::string& folder) {
    const char* old = std::getenv("TMPDIR");
    m_had = old != nullptr;
    if (old) m_old = old;
    setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TmpdirScope() {
    if (m_had) {
      setenv("TMPDIR", m_old.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }

 private:
  bool m_had = false;
  std::string m_old;
};

// Runs one cut and checks its outcome: a success must be exactly `expected`
// in `dest` with nothing else new; a failure must leave every watched folder
// as it was. Failures are appended to the returned text; `*succeeded` tells
// which way it went.
std::string CheckCut(const std::string& src, const std::string& dest, int start, int end,
                     const std::vector<std::string>& watched, const Bytes& expected, bool* succeeded,
                     const std::string& label) {
  std::vector<Snapshot> before;
  for (const auto& folder : watched) before.push_back(TakeSnapshot(folder));
  CutReport report;
  const int result = CutToFile(src, dest, start, end, &report);
  *succeeded = result == 1;
  std::string failures;
  for (size_t i = 0; i < watched.size(); ++i) {
    Snapshot after = TakeSnapshot(watched[i]);
    if (result == 1) {
      // The destination is the one change allowed.
      const size_t slash = dest.find_last_of('/');
      const std::string name = dest.substr(slash + 1);
      if (dest.substr(0, slash) == watched[i]) {
        if (after[name] != expected) failures += label + ": a successful cut is not the exact cut\n";
        after.erase(name);
        before[i].erase(name);
      }
    }
    const std::string difference = CompareSnapshots(before[i], after);
    if (!difference.empty()) {
      failures += label + (result == 1 ? " (succeeded)" : " (failed: " + report.error + ")") + ": " +
                  watched[i] + ": " + difference + "\n";
    }
  }
  return failures;
}

}  // namespace

// A file-size limit anywhere from below the source's size to above the
// result's: the frames and the ID3v1 record each meet it. Works wherever
// fork works (no mounts).
TEST(FaultInjection, SizeLimitAtEveryStageOfTheCut) {
  const Bytes source = FullRecordSource();
  const Bytes expected = CleanCut(source, 0, kWholeFile);
  ASSERT_GT(expected.size(), source.size() + 128) << "the tag rewrite must outgrow the source";
  const long sourceSize = static_cast<long>(source.size());
  const long resultSize = static_cast<long>(expected.size());
  std::vector<long> limits = {0, 1000, sourceSize / 2, sourceSize - 1, resultSize, resultSize + 4096};
  for (long limit = sourceSize; limit < resultSize; limit += 11) limits.push_back(limit);

  int failures = 0, successes = 0, tagFailures = 0;
  for (const std::string destKind : {"new", "existing", "source"}) {
    for (long limit : limits) {
      TempDir work, tmp;
      TmpdirScope scope(tmp.Path());
      const std::string src = work.File("src.mp3");
      ASSERT_TRUE(WriteBytes(src, source));
      std::string dest = work.File("dest.mp3");
      if (destKind == std::string("existing")) {
        ASSERT_TRUE(WriteBytes(dest, kOldDestination));
      }
      if (destKind == std::string("source")) dest = src;
      ChildOptions options;
      options.fileSizeLimit = limit;
      const ChildOutcome outcome = RunInChild(options, [&] {
        bool ok = false;
        return CheckCut(src, dest, 0, kWholeFile, {work.Path(), tmp.Path()}, expected, &ok,
                        destKind + " destination, limit " + std::to_string(limit));
      });
      ASSERT_EQ(outcome.kind, ChildOutcome::Kind::Passed) << outcome.message;
      // The parent sees the outcome through the files.
      const bool succeeded = ReadBytes(dest) == expected;
      if (succeeded) {
        ++successes;
        EXPECT_GE(limit, resultSize) << "a cut larger than the limit cannot have succeeded";
      } else {
        ++failures;
        if (limit >= sourceSize) ++tagFailures;
      }
      EXPECT_TRUE(TakeSnapshot(tmp.Path()).empty());
    }
  }
  EXPECT_GT(successes, 0);
  EXPECT_GT(tagFailures, 0) << "no limit fell past the source's size";
  EXPECT_GT(failures, tagFailures);
}

// A destination disk (a small tmpfs) too small at each stage, with a new
// name, over an existing file, and cutting a source on that disk onto
// itself; then a temporary folder too small for the source, which the cut
// does not use.
TEST(FaultInjection, FullDiskAtEveryStageOfTheCut) {
  const Bytes source = FullRecordSource();
  const Bytes expected = CleanCut(source, 0, kWholeFile);
  ASSERT_FALSE(expected.empty());
  TempDir base, tmp;
  TmpdirScope scope(tmp.Path());
  const std::string src = base.File("src.mp3");
  ASSERT_TRUE(WriteBytes(src, source));
  const int largestKib = static_cast<int>(2 * expected.size() / 1024) + 24;
  ChildOptions options;
  options.privateMounts = true;
  options.seconds = 120;
  EXPECT_CHILD_PASSES(RunInChild(options, [&]() -> std::string {
    std::string failures;
    int failed = 0, passed = 0;
    for (int kib = 4; kib <= largestKib; kib += 4) {
      for (const std::string kind : {"new", "existing", "self"}) {
        const std::string disk = base.File("disk" + std::to_string(kib) + kind);
        if (!MountTmpfs(disk, kib)) return "skip: cannot mount a tmpfs here";
        std::string from = src, dest = disk + "/dest.mp3";
        if (kind == std::string("existing") && !WriteBytes(dest, kOldDestination)) {
          umount(disk.c_str());
          continue;  // the old file alone does not fit
        }
        if (kind == std::string("self")) {
          from = dest;
          if (!WriteBytes(from, source) || ReadBytes(from) != source) {
            umount(disk.c_str());
            continue;
          }
        }
        bool ok = false;
        failures += CheckCut(from, dest, 0, kWholeFile, {disk, tmp.Path(), base.Path()}, expected, &ok,
                             kind + " on " + std::to_string(kib) + " KiB");
        (ok ? passed : failed)++;
        umount(disk.c_str());
      }
    }
    CHECK_IN_CHILD(failures, failed > 0);
    CHECK_IN_CHILD(failures, passed > 0);

    // A temporary folder too small for the source: the cut succeeds.
    for (int kib = 4; kib <= static_cast<int>(source.size() / 1024) + 8; kib += 8) {
      const std::string small = base.File("tmp" + std::to_string(kib));
      if (!MountTmpfs(small, kib)) return "skip: cannot mount a tmpfs here";
      setenv("TMPDIR", small.c_str(), 1);
      bool ok = false;
      failures += CheckCut(src, base.File("out.mp3"), 0, kWholeFile, {small, base.Path()}, expected, &ok,
                           "temporary folder of " + std::to_string(kib) + " KiB");
      CHECK_IN_CHILD(failures, ok);
      unlink(base.File("out.mp3").c_str());
      umount(small.c_str());
    }
    return failures;
  }));
}

// The tag rewrite alone (what padocut-cli retag does): a full disk or a
// size limit leaves the target as it was and no ".vuxtemp" file.
TEST(FaultInjection, TagRewriteOnAFullDiskKeepsTheTarget) {
  TempDir base;
  const std::string src = base.File("src.mp3");
  ASSERT_TRUE(WriteBytes(src, FullRecordSource()));
  const Bytes target = AudioBytes();
  const long targetSize = static_cast<long>(target.size());
  for (long limit : {targetSize - 1, targetSize + 10, targetSize + 200, targetSize + 300}) {
    const std::string dest = base.File("target.mp3");
    ASSERT_TRUE(WriteBytes(dest, target));
    ChildOptions options;
    options.fileSizeLimit = limit;
    EXPECT_CHILD_PASSES(RunInChild(options, [&]() -> std::string {
      std::string failures;
      const Snapshot before = TakeSnapshot(base.Path());
      CTagTransfer transfer;
      CHECK_IN_CHILD(failures, transfer.ReadFrom(src.c_str()));
      const bool written = transfer.WriteTo(dest.c_str(), true, true);
      const Snapshot after = TakeSnapshot(base.Path());
      if (!written) CHECK_IN_CHILD(failures, CompareSnapshots(before, after).empty());
      if (written) CHECK_IN_CHILD(failures, after.size() == before.size());
      return failures.empty() ? "" : "limit " + std::to_string(limit) + ":\n" + failures;
    }));
  }
  ChildOptions options;
  options.privateMounts = true;
  EXPECT_CHILD_PASSES(RunInChild(options, [&]() -> std::string {
    std::string failures;
    int failed = 0;
    for (int kib = 4; kib <= static_cast<int>(2 * target.size() / 1024) + 12; kib += 4) {
      const std::string disk = base.File("disk" + std::to_string(kib));
      if (!MountTmpfs(disk, kib)) return "skip: cannot mount a tmpfs here";
      const std::string dest = disk + "/target.mp3";
      if (WriteBytes(dest, target) && ReadBytes(dest) == target) {
        const Snapshot before = TakeSnapshot(disk);
        CTagTransfer transfer;
        CHECK_IN_CHILD(failures, transfer.ReadFrom(src.c_str()));
        if (!transfer.WriteTo(dest.c_str(), true, true)) {
          ++failed;
          CHECK_IN_CHILD(failures, CompareSnapshots(before, TakeSnapshot(disk)).empty());
        } else {
          CHECK_IN_CHILD(failures, TakeSnapshot(disk).size() == 1);
        }
      }
      umount(disk.c_str());
    }
    CHECK_IN_CHILD(failures, failed > 0);
    return failures;
  }));
}

// A destination folder that cannot be written (a read-only file system,
// which binds the superuser too): cutting to a new name, over an existing
// file, onto the source itself, and rewriting tags there all fail and
// change nothing.
TEST(FaultInjection, ReadOnlyDestinationFolder) {
  const Bytes source = TaggedSource();
  TempDir base, tmp;
  TmpdirScope scope(tmp.Path());
  const std::string src = base.File("src.mp3");
  ASSERT_TRUE(WriteBytes(src, source));
  ChildOptions options;
  options.privateMounts = true;
  EXPECT_CHILD_PASSES(RunInChild(options, [&]() -> std::string {
    const std::string disk = base.File("ro");
    if (!MountTmpfs(disk, 1024)) return "skip: cannot mount a tmpfs here";
    const std::string inner = disk + "/src.mp3";
    const std::string existing = disk + "/dest.mp3";
    if (!WriteBytes(inner, source) || !WriteBytes(existing, kOldDestination)) return "cannot fill the tmpfs";
    if (!RemountReadOnly(disk)) return "skip: cannot remount read-only";
    std::string failures;
    bool ok = true;
    const std::vector<std::string> watched = {disk, tmp.Path(), base.Path()};
    failures += CheckCut(src, disk + "/new.mp3", 0, 1500, watched, {}, &ok, "new name");
    CHECK_IN_CHILD(failures, !ok);
    failures += CheckCut(src, existing, 0, 1500, watched, {}, &ok, "existing file");
    CHECK_IN_CHILD(failures, !ok);
    failures += CheckCut(inner, inner, 0, 1500, watched, {}, &ok, "source onto itself");
    CHECK_IN_CHILD(failures, !ok);
    CTagTransfer transfer;
    CHECK_IN_CHILD(failures, transfer.ReadFrom(src.c_str()));
    CHECK_IN_CHILD(failures, !transfer.WriteTo(existing.c_str(), true, true));
    CHECK_IN_CHILD(failures, ReadBytes(existing) == kOldDestination);
    umount(disk.c_str());
    return failures;
  }));
}

// Temporary folders that cannot be written: TMPDIR on a read-only file
// system, then /tmp, /var/tmp and the current folder read-only too, then
// TMPDIR missing. The cut needs none of them: it succeeds every time and
// changes nothing in any of them.
TEST(FaultInjection, UnusableTemporaryFolders) {
  const Bytes source = TaggedSource();
  const Bytes expected = CleanCut(source, 0, 1500);
  ASSERT_FALSE(expected.empty());
  ChildOptions options;
  options.privateMounts = true;
  EXPECT_CHILD_PASSES(RunInChild(options, [&]() -> std::string {
    // A private /tmp: work (writable), tmpdir (read-only), cwd (writable).
    if (!MountTmpfs("/tmp", 4096)) return "skip: cannot mount a tmpfs here";
    if (!MountTmpfs("/tmp/work", 4096) || !MountTmpfs("/tmp/tmpdir", 64, true) || !MountTmpfs("/tmp/cwd", 4096)) {
      return "cannot build the private /tmp";
    }
    const std::string src = "/tmp/work/src.mp3";
    if (!WriteBytes(src, source)) return "cannot write the source";
    setenv("TMPDIR", "/tmp/tmpdir", 1);
    std::string failures;
    bool ok = false;
    // 1. TMPDIR read-only.
    failures += CheckCut(src, "/tmp/work/a.mp3", 0, 1500, {"/tmp", "/tmp/work"}, expected, &ok, "TMPDIR read-only");
    CHECK_IN_CHILD(failures, ok);
    // 2. /tmp and /var/tmp read-only too.
    if (!RemountReadOnly("/tmp") || !MountTmpfs("/var/tmp", 64, true)) return "skip: cannot remount read-only";
    if (chdir("/tmp/cwd") != 0) return "chdir failed";
    failures += CheckCut(src, "/tmp/work/b.mp3", 0, 1500, {"/tmp/cwd", "/tmp/work"}, expected, &ok, "all read-only");
    CHECK_IN_CHILD(failures, ok);
    // 3. The current folder read-only as well.
    if (chdir("/tmp/tmpdir") != 0) return "chdir failed";
    failures += CheckCut(src, "/tmp/work/c.mp3", 0, 1500, {"/tmp/work", "/tmp/cwd"}, expected, &ok, "none usable");
    CHECK_IN_CHILD(failures, ok);
    // 4. TMPDIR missing.
    setenv("TMPDIR", "/tmp/work/missing", 1);
    if (chdir("/tmp/cwd") != 0) return "chdir failed";
    failures += CheckCut(src, "/tmp/work/d.mp3", 0, 1500, {"/tmp/cwd", "/tmp/work"}, expected, &ok, "TMPDIR missing");
    CHECK_IN_CHILD(failures, ok);
    return failures;
  }));
}
