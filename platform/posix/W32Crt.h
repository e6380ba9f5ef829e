// The C runtime's low-level I/O on descriptors, as io.h and fcntl.h declare it
// on Windows: what a child program's pseudo-terminal or pipe is written and
// read through.
#pragma once

#include <cstdint>

#include "platform/posix/W32Types.h"

#define _O_RDONLY 0x0000
#define _O_WRONLY 0x0001
#define _O_RDWR 0x0002
#define _O_APPEND 0x0008
#define _O_BINARY 0x8000
#define _O_TEXT 0x4000

// Writes up to count bytes; the number written, or -1. An interrupted write is
// retried; a write to a reader that has gone fails (the signal it would raise
// is ignored).
int _write(int fd, const void* buffer, unsigned int count);
// Reads up to count bytes; the number read (0 at the end), or -1.
int _read(int fd, void* buffer, unsigned int count);
int _close(int fd);
// Two descriptors, [0] the reading end and [1] the writing end; 0, or -1.
int _pipe(int fds[2], unsigned int size, int mode);
// A new descriptor for the same file; -1 on failure.
int _dup(int fd);
// Makes fd2 a copy of fd (closing what fd2 was first); 0, or -1.
int _dup2(int fd, int fd2);
// A descriptor for a file handle, which it takes over: closing the
// descriptor closes the file, and the handle is no longer to be used.
int _open_osfhandle(intptr_t handle, int flags);
