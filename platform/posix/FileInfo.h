// Internal to the POSIX layer: what Windows reports about a file (attributes,
// times, size), worked out from stat and the extended attribute that keeps the
// bits POSIX has no place for.
#pragma once

#include "platform/win32.h"

#include <string>
#include <sys/stat.h>
#include <time.h>

namespace w32 {

// The extended attribute that keeps the archive, system and explicit hidden bits.
extern const char* const kAttribXattr;
// The bits that live in it.
const DWORD kXattrBits = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN;

struct FileInfo {
    DWORD attributes = 0;
    FILETIME creation = {0, 0};
    FILETIME access = {0, 0};
    FILETIME write = {0, 0};
    ULONGLONG size = 0;  // 0 for directories and links
    DWORD reparseTag = 0;
};

// FILETIME (100 ns since 1601) and POSIX time.
FILETIME FileTimeFromTimespec(const struct timespec& ts);
struct timespec TimespecFromFileTime(const FILETIME& ft);

// The information about the object at a POSIX path itself (a link is not
// followed). `name` decides the hidden bit for dot names; pass an empty name
// for a drive root. Sets the last error (2 or 3 ...) and returns false when the
// object cannot be examined.
bool QueryPathInfo(const std::string& posix, const std::string& name, FileInfo& info);
// The same from an lstat result already at hand (directory searches).
void InfoFromStat(const std::string& posix, const std::string& name, const struct stat& st, FileInfo& info);
// Whether a directory's file system keeps user extended attributes, asked once
// per directory searched: where it keeps none, no entry is asked for the bits.
bool DirectoryKeepsXattrs(int dirfd);
// The information about the entry `name` of the open directory `dirfd` (a link
// is not followed): one statx for the basic fields and the birth time together,
// the kept bits read relative to the directory unless `xattrs` is false.
// `hiddenName` as for QueryPathInfo. False when the entry has gone.
bool QueryEntryInfoAt(int dirfd, const char* name, const std::string& hiddenName, bool xattrs, FileInfo& info);
// The creation time: the birth time where the file system keeps one, else the
// older of the change and modification times. `dirfd`/`path`/`flags` as statx takes them.
FILETIME CreationTime(int dirfd, const char* path, int flags, const struct stat& st);

// Applies SetFileAttributesW's bits to a path: the read-only bit becomes the
// write permissions, the others the extended attribute.
BOOL WriteAttributes(const std::string& posix, DWORD attributes);
// Copies the extended-attribute bits from one file to another (copies, moves
// across file systems); failure to keep them is not an error there.
void CopyXattrBits(const std::string& from, const std::string& to);

// The last component of a POSIX path.
std::string BaseName(const std::string& posix);
// True when the path is the directory of a mapped drive (no ".", ".." and not hidden).
bool IsDriveRoot(const std::string& posix);

}  // namespace w32
