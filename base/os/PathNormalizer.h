// The one path normaliser, and the small path tests around it.
//
// Whatever a user typed, or a name relative to a panel's directory, becomes one
// full path before anything acts on it: '/' turned into '\', "." and ".."
// resolved, each drive's current directory applied, and the long form of the
// names the system knows.
#pragma once

#include "base/strings/Westring.h"

// Replaces `path` by its full normalised form: 0, or -1 (path unchanged) when
// it cannot be made valid (a stray ':', going above a root, no current
// directory). A relative path is taken against `base` (a zero-terminated
// directory), or against the current directory when base is null.
int NormalizePath(Westring& path, const char32_t* base = nullptr);
// The same over a zero-terminated buffer of `capacity` units (the terminator
// included): 0 with the buffer replaced, or -1 with the buffer untouched when
// the path cannot be made valid or its result does not fit.
int NormalizePathBuffer(char32_t* buffer, int capacity, const char32_t* base = nullptr);

// Exactly "\\" (the network root), or a drive letter, ':' and '\'.
bool IsRootPath(const Westring& path);
// Begins with two backslashes.
bool IsUncPath(const Westring& path);
// A letter or digit followed by ':'.
bool HasDrivePrefix(const Westring& path);
// A letter or digit, ':' and '\' (the wildcard "?:\*").
bool IsDriveAbsolutePath(const Westring& path);
// The part before the last backslash; the whole path when it has none.
void ParentPath(Westring& out, const Westring& path);
// \\server\share of \\server\share\dir: the part before the fourth backslash,
// or the whole path when it has fewer.
Westring UncShareRoot(const Westring& path);
// True when `prefix` is empty, or `path` begins with it (without regard to
// case) followed by '\' or the end of the path: C:\a holds C:\a\b, not C:\ab.
bool IsSameOrSubPath(const Westring& prefix, const Westring& path);
// Removes one final '\' or '/' from a zero-terminated buffer; true when one
// went.
bool StripTrailingSlash(char32_t* buffer);
// The directory for temporary files: TMP, else TEMP, each only when it names
// a drive or network path; otherwise the system's temporary directory, and
// C:\ when even that is not known.
Westring GetTempDirectory();
