// Internal to the POSIX layer: the named-pipe registry's door for CreateFileA/W,
// which hands every name beginning with \\.\pipe\ here.
#pragma once

#include "platform/win32.h"

#include <string>

namespace w32 {

// Opens the client end of an in-process named pipe. Fails with
// ERROR_FILE_NOT_FOUND when no server made the pipe, ERROR_PIPE_BUSY when its
// only instance is already connected, and ERROR_ACCESS_DENIED when the access
// asked does not fit the pipe's direction.
HANDLE OpenNamedPipeClient(const std::string& utf8Name, DWORD access, DWORD flags);

// True for names that belong to the pipe registry (\\.\pipe\..., any case).
bool IsNamedPipeName(const std::string& utf8Name);

}  // namespace w32
