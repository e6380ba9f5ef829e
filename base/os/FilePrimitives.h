// The smallest file operations that copy, move, rename and delete build on,
// and the rule that turns a name and a wildcard mask into a new name.
#pragma once

#include "base/strings/Westring.h"

// Each returns 0 or the Windows error.
DWORD MakeDirectory(const Westring& path);
DWORD RemoveEmptyDirectory(const Westring& path);
// Never replaces an existing target.
DWORD RenameFile(const Westring& oldPath, const Westring& newPath);
// A link (junction or symbolic link) is removed itself, never what it points
// to; anything else is deleted as a file.
DWORD DeleteFileOrLink(const Westring& path);

// The target name for a source name under a rename mask: "*" copies the
// source up to its next ".", "?" one character, "." moves the source past its
// next "." and writes one, anything else is written as it is. Returns 0.
int ApplyRenameMask(const Westring& source, const Westring& mask, Westring& target);
