// The process's current directory and the current directory of each drive.
//
// Windows keeps one current directory per drive in the variables "=X:"; the
// system records them there and in its own environment chain, so that child
// programs and later drive changes find them.
#pragma once

#include "base/strings/Estring.h"
#include "base/strings/Westring.h"

// Makes the directory current; on success a drive path also becomes its
// drive's current directory ("=X:"). 0 or the Windows error.
DWORD ChangeDirectory(const Westring& path);
// Makes the drive current (its own current directory). 0 or the error.
DWORD ChangeDrive(char32_t letter);
// The current directory of a drive (letter 0: of the current drive), without
// a trailing backslash unless it is a root; empty on failure.
Westring GetDriveCurrentDirectoryWide(char32_t letter);
// The same as 8-bit text.
Estring GetDriveCurrentDirectory(char letter);
// The current drive's letter; 0 when it cannot be told.
char GetCurrentDriveLetter();
