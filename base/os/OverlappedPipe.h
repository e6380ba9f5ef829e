// A one-way pipe whose read end can be read with overlapped I/O, for reading a
// child program's output while waiting for other things.
#pragma once

#include "platform/win32.h"

// Makes the pipe; the flags of each end may only be 0 or FILE_FLAG_OVERLAPPED
// (anything else fails with ERROR_INVALID_PARAMETER and makes nothing). True
// on success; on failure the last error tells why.
bool CreateOverlappedPipe(HANDLE& readEnd, HANDLE& writeEnd, LPSECURITY_ATTRIBUTES security, DWORD readFlags,
                          DWORD writeFlags);
