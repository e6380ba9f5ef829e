// Internal to the POSIX layer: the drive map, the one translation between
// Windows paths and POSIX paths, the per-drive current directories, and the
// UTF-16 texts the file functions take.
#pragma once

#include "platform/win32.h"
#include "platform/posix/Utf.h"

#include <string>
#include <vector>

namespace w32 {

using WString = std::basic_string<WCHAR>;

// A UTF-16 text in UTF-8 (the conversions of Utf.h, shared with the rest of the layer).
inline std::string Utf8(const WString& text) {
    return ToUtf8(text.data(), text.size());
}
// A caller's zero-terminated text; empty for null.
WString WideArg(LPCWSTR text);
WString WideArg(LPCSTR utf8);

// One item of QUORVANE_DRIVES (`C=/;T=/tmp/work|LABEL`), read once per process.
// Without the variable, C: is /.
struct DriveMapItem {
    char letter;        // 'A'..'Z'
    std::string dir;    // absolute, normalised, no trailing slash except for "/"
    std::string label;  // empty unless the item says |LABEL
};
const std::vector<DriveMapItem>& DriveMap();
// A drive of the map, or a letter the process connected to a share.
const DriveMapItem* FindDrive(WCHAR letter);

// Lexical clean-up of an absolute POSIX path: no "//", no "." components, ".."
// resolved, no trailing slash except for "/".
std::string NormalisePosix(const std::string& path);

// The forms a Windows path takes after normalisation.
enum class PathForm {
    Drive,   // X:\...
    Unc,     // \\server\share\...
    Device,  // \\.\NAME (devices, \\.\X: volumes, \\.\pipe\...)
};

// Makes a path absolute the way Windows does: relative paths resolve against the
// current directory, "X:rel" against drive X's current directory (the "=X:"
// variable, else its root), "\rel" against the current drive; "/" becomes "\",
// "." and ".." components are resolved, trailing dots and blanks of the last
// component dropped. "\\?\" paths are taken as they are. Returns 0 or an error.
DWORD FullPath(const WString& path, WString& full, PathForm* form = nullptr);

// THE translation of a Windows path to the POSIX path of its drive's directory.
// UNC paths fail with ERROR_BAD_NETPATH, unmapped drives with
// ERROR_PATH_NOT_FOUND, characters Windows forbids in names with
// ERROR_INVALID_NAME. Sets the last error and returns false on failure.
bool ToPosixPath(const WString& windowsPath, std::string& posix);
// And back: the drive form of an absolute POSIX path, through the mapped
// directory that is its longest prefix. False when no drive holds it.
bool ToWindowsPath(const std::string& posix, WString& windowsPath);

// errno after a call on a path, refined as Windows reports it: a missing file in
// an existing directory is ERROR_FILE_NOT_FOUND, a missing directory on the way
// ERROR_PATH_NOT_FOUND. Sets the last error and returns FALSE.
BOOL FailPathErrno(int err, const std::string& posix);

// The current directory of the process (Windows form, X:\ or X:\dir).
WString CurrentDirectory();

// The "=X:" variables: kept inside the process, since POSIX environment names
// cannot begin with "=". Empty when unset.
WString GetDriveVariable(const WString& name);
void SetDriveVariable(const WString& name, const WString* value);  // null removes
std::vector<std::pair<WString, WString>> DriveVariables();

// PATH in drive form (";"-separated) made the POSIX list a child program
// reads: each drive path translated, empty items dropped (POSIX would read
// them as the current directory), and the directories of the process's own
// PATH that no drive holds kept at the end.
std::string PosixSearchPath(const WString& driveList);

// Copies a result into a caller's buffer with the Win32 counting convention:
// the length without the terminator when it fits, else the size needed with it.
DWORD CopyOut(const WString& text, LPWSTR buffer, DWORD size);
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size);

// ASCII-and-beyond case folding for names (drive letters, wildcards, variable names).
WCHAR FoldCase(WCHAR c);
bool EqualNoCase(const WString& a, const WString& b);

}  // namespace w32
