// Opening files that must be regular files. The open itself never waits: a
// FIFO (or a FIFO put in a file's place meanwhile) would block an ordinary
// open until a writer came, and a device never ends. The check is made on the
// descriptor that was opened, not on the path before it.
#pragma once

#include <sys/types.h>

// `flags` as for open(2) (O_CLOEXEC is added); `mode` for O_CREAT. A
// descriptor in blocking mode, or -1 (errno set; EINVAL for a file that is
// not regular).
int OpenRegularFile(const char* path, int flags, mode_t mode = 0666);
