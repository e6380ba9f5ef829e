// Junctions and symbolic links: reading their targets, making and removing
// them.
#pragma once

#include "base/strings/Westring.h"

// Room for the reparse data of one link.
const DWORD ReparseBufferSize = 8020;

// Reads the reparse data of the path (the link itself, not its target) into
// a buffer of ReparseBufferSize bytes. 0 or the Windows error.
DWORD ReadReparsePoint(void* buffer, const Westring& path);
// The target of a junction or symbolic link on a local drive, without the
// "\??\" prefix; empty when the path is no link or cannot be read.
Westring GetLinkTarget(const Westring& path);
// A directory link to a drive-absolute target becomes a junction, anything
// else a symbolic link (a relative target is taken relative to the link's
// directory). 0 or the Windows error.
DWORD CreateLink(const Westring& link, const Westring& target, bool isDirectory);
// Removes a link itself: a directory link as a directory, any other as a file.
DWORD DeleteLink(const Westring& path);
