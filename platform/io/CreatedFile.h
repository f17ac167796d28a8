// Files this program makes for its own work (a scratch file, new content
// built beside the file it will replace) are created exclusively: a name
// that is taken by anything, a symbolic link (even a dangling one) or a
// hard link to someone's file included, is never opened, followed or
// emptied; another name is tried instead.
//
// CreatedFile holds such a file open read-write and remembers which file it
// is (device and inode). It removes the file when destroyed, and renames it
// onto another name on request, but only while its name still leads to that
// very file: what someone else put under the name meanwhile is left alone.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/io/UniqueFd.h"

class CreatedFile {
 public:
  CreatedFile(CreatedFile&& other) noexcept;
  CreatedFile& operator=(CreatedFile&& other) noexcept;
  CreatedFile(const CreatedFile&) = delete;
  CreatedFile& operator=(const CreatedFile&) = delete;
  ~CreatedFile() { Remove(); }

  // Takes over a descriptor open on the file just created at `path`; none
  // when the descriptor cannot be examined (the file is then removed).
  static std::optional<CreatedFile> Adopt(UniqueFd fd, std::string path);

  // -1 once closed, kept or removed.
  int Fd() const { return m_fd.Get(); }
  const std::string& Path() const { return m_path; }
  // Closes the descriptor; the file stays ours. False when close(2) failed.
  bool CloseFd() { return m_fd.Close(); }
  // Renames the file onto `target` (replacing it). False, with nothing
  // changed, when that fails or the name no longer leads to our file.
  bool MoveOnto(const std::string& target);
  // Leaves the file where it is for good and closes the descriptor.
  void Keep();
  // Removes the file (when its name still leads to it) and closes the
  // descriptor; nothing after MoveOnto or Keep.
  void Remove();

 private:
  CreatedFile(UniqueFd fd, std::string path, dev_t device, ino_t inode);
  // Whether `m_path` still names the file we created.
  bool StillOurs() const;

  UniqueFd m_fd;
  std::string m_path;
  dev_t m_device = 0;
  ino_t m_inode = 0;
  bool m_owned = false;
};

// Creates `path` as a new file open read-write (O_EXCL, O_NOFOLLOW; `mode`
// narrowed by the umask). Closed, with errno set (EEXIST when the name is
// taken), on failure.
UniqueFd CreateExclusive(const std::string& path, mode_t mode = 0600);

// Creates the first of the names nameAt(0), nameAt(1)... that is free,
// trying at most `attempts`. A name that is taken or too long for its
// folder moves on to the next; any other failure ends the search (errno
// set).
std::optional<CreatedFile> CreateFirstFree(const std::function<std::string(int attempt)>& nameAt, int attempts,
                                           mode_t mode = 0600);

// A new file beside `target`: "<target><suffix>" when that name is free and
// fits, otherwise ".<8 random hex digits><suffix>" in the target's folder
// (short whatever the target's length).
std::optional<CreatedFile> CreateBeside(const std::string& target, const std::string& suffix,
                                        mode_t mode = 0600);

// `digits` random lower-case hexadecimal digits (at most 8).
std::string RandomHex(int digits);
