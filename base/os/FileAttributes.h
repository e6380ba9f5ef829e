// Attributes, sizes, short names and compression of files by path.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

// 0 or the Windows error.
DWORD ReadFileAttributes(const Westring& path, DWORD& attributes);
DWORD WriteFileAttributes(const Westring& path, DWORD attributes);
// The attributes of the path can be read.
bool FileExists(const Westring& path);
// The short (8.3) form of the path; the path itself when it has none.
Westring GetShortName(const Westring& path);
// The size of a file (not a directory) by its name. 0 or the error.
DWORD GetFileSizeByName(const Westring& path, uint64_t& size);
// The path opens for reading and is a character device (NUL, CON).
bool IsCharacterDevice(const Westring& path);
// File-system compression on (the default format) or off. 0 or the error.
DWORD SetCompression(const Westring& path, bool on, bool isDirectory);
