// Replacing a file with new content. The content is built in a file created
// exclusively beside the target (CreatedFile.h), then made durable and
// renamed over the target in one step, only once it is complete: until then
// the target stays byte for byte as it was, and a replacement that is not
// committed removes its file.
//
// What may be replaced: nothing yet (a new file is made), or a regular file
// that is not read-only. Read-only means no write bit at all (which binds a
// privileged user too) or no write permission for this process. A folder, a
// device or a FIFO is never replaced by a regular file.
//
// Permissions: the new file is writable by us while it is built, whatever
// the umask. In the end it gets the permission bits of the file it
// replaces, or those a new file gets (0666 narrowed by the umask). While
// it replaces an existing file it is readable by us only.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/io/CreatedFile.h"

enum class TargetKind {
  kAbsent,       // nothing there (or nothing we can see): a new file
  kReplaceable,  // a regular file we may replace
  kFolder,
  kNotRegular,  // a device, a FIFO, a socket
  kReadOnly,
};

TargetKind ExamineTarget(const std::string& path);

// The file a destination name stands for: the end of its symbolic links,
// so that the file they lead to is replaced rather than the link; the name
// itself when it is no link or the link leads nowhere.
std::string FollowLinks(const std::string& path);

class FileReplacement {
 public:
  enum class CommitResult { kDone, kWriteFailed, kReplaceFailed };

  // A new, empty file for `target`'s content, named by `nameAt` as
  // CreateFirstFree does. None (errno set) when no name could be created.
  static std::optional<FileReplacement> Begin(const std::string& target,
                                              const std::function<std::string(int attempt)>& nameAt,
                                              int attempts);
  // The same under CreateBeside's names: "<target><suffix>", or a short
  // random name with the suffix in the target's folder.
  static std::optional<FileReplacement> Beside(const std::string& target, const std::string& suffix);

  // Open for reading and writing, at offset 0 when new.
  int Fd() const { return m_file.Fd(); }
  const std::string& Path() const { return m_file.Path(); }

  // Gives the file its final permissions, flushes it to the disk when it
  // replaces an existing file, closes it and renames it over the target.
  // kWriteFailed (chmod, fsync or close failed: the data may not be on the
  // disk) or kReplaceFailed (the rename failed); errno set, the target
  // untouched and the new file removed either way.
  CommitResult Commit();

 private:
  FileReplacement(CreatedFile file, std::string target, mode_t mode);
  // Begin and Beside: `create` makes the file with the mode it is given.
  static std::optional<FileReplacement> Start(const std::string& target,
                                              const std::function<std::optional<CreatedFile>(mode_t)>& create);

  CreatedFile m_file;
  std::string m_target;
  mode_t m_mode;  // the target's permissions when it existed, else a new file's
};
