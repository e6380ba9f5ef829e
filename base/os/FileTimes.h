// Last-write times of files, as TTimestamps.
#pragma once

#include "base/strings/Timestamp.h"
#include "base/strings/Westring.h"

// The last-write time of an open handle. 0 or the Windows error.
DWORD GetHandleModifyTime(HANDLE handle, TTimestamp& time);
// The last-write time of a file (opened for reading, shared). 0 or the error.
DWORD GetFileModifyTime(const Westring& path, TTimestamp& time);
// Sets only the last-write time of a file or directory. 0 or the error.
DWORD SetFileModifyTime(const Westring& path, const TTimestamp& time);
