// Which file a path names, whatever the name: the volume and the file's index
// on it. Two drive letters onto one directory, a hard link and a symbolic
// link (followed) all lead to the same identity.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

struct TFileIdentity {
    DWORD volume = 0;
    uint64_t index = 0;

    bool operator==(const TFileIdentity& other) const { return volume == other.volume && index == other.index; }
    bool operator!=(const TFileIdentity& other) const { return !(*this == other); }
};

// The identity of the file or directory at the path. 0 or the Windows error.
DWORD GetFileIdentity(const Westring& path, TFileIdentity& identity);
// Both paths can be identified and name the same file.
bool IsSameFile(const Westring& path1, const Westring& path2);
// True when the path, or a directory above it that exists, is the file or
// directory of the identity, whatever names lead there (a second drive letter,
// a link): what refuses copying or synchronising a tree into itself.
bool PathLiesInside(const TFileIdentity& tree, const Westring& path);
