// Drive letters, the translation of Windows paths, full paths and the current
// directory.
#include "platform/posix/Paths.h"

#include "platform/posix/HandleObject.h"
#include "platform/posix/Shares.h"

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace w32 {

// Lexical clean-up of an absolute POSIX path: no "//", no "." components, ".."
// resolved, no trailing slash except for "/".
std::string NormalisePosix(const std::string& path) {
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos) {
            j = path.size();
        }
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out;
    for (const std::string& part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

namespace {

const WCHAR kBackslash = u'\\';

bool IsSlash(WCHAR c) {
    return c == u'\\' || c == u'/';
}

bool IsLetter(WCHAR c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

WCHAR UpperLetter(WCHAR c) {
    return (c >= u'a' && c <= u'z') ? static_cast<WCHAR>(c - u'a' + u'A') : c;
}

// What a user wrote wrong in QUORVANE_DRIVES: empty when the whole list is
// sound. A guess at a meaning (skipping an item, resolving a relative folder
// against wherever the program happened to start, letting one of two items for
// a letter win) would show other folders than the user meant, so nothing is
// guessed.
std::string ParseDriveMap(const char* spec, std::vector<DriveMapItem>& items) {
    items.clear();
    std::string text = spec ? spec : "";
    if (text.empty()) {
        items.push_back({'C', "/", ""});
        return std::string();
    }
    size_t i = 0;
    while (i <= text.size()) {
        size_t j = text.find(';', i);
        if (j == std::string::npos) {
            j = text.size();
        }
        std::string item = text.substr(i, j - i);
        i = j + 1;
        if (item.empty() && (j == text.size() || i - 1 == 0)) {
            // A leading or trailing separator holds no item.
            continue;
        }
        const std::string quoted = "\"" + item + "\"";
        // LETTER=DIRECTORY[|LABEL], the directory absolute.
        if (item.size() < 3 || item[1] != '=' || !IsLetter(static_cast<WCHAR>(item[0]))) {
            return "bad item " + quoted + " (LETTER=/absolute/folder expected)";
        }
        DriveMapItem drive;
        drive.letter = static_cast<char>(UpperLetter(static_cast<WCHAR>(item[0])));
        std::string dir = item.substr(2);
        size_t bar = dir.find('|');
        if (bar != std::string::npos) {
            drive.label = dir.substr(bar + 1);
            dir.resize(bar);
        }
        if (dir.empty() || dir[0] != '/') {
            return "bad item " + quoted + " (the folder must be an absolute path)";
        }
        drive.dir = NormalisePosix(dir);
        for (const DriveMapItem& existing : items) {
            if (existing.letter == drive.letter) {
                return "drive " + std::string(1, drive.letter) + ": given twice (" + quoted + ")";
            }
        }
        items.push_back(drive);
    }
    if (items.empty()) {
        return "no drive given";
    }
    return std::string();
}

// The process's current directory, in Windows form.
struct CurrentDir {
    std::mutex lock;
    WString path;
};

CurrentDir& Cwd() {
    static CurrentDir* cwd = new CurrentDir;
    return *cwd;
}

WString InitialDirectory() {
    char buf[4096];
    WString path;
    if (::getcwd(buf, sizeof buf) && ToWindowsPath(buf, path)) {
        return path;
    }
    const std::vector<DriveMapItem>& map = DriveMap();
    if (map.empty()) {
        return u"C:\\";
    }
    WString root;
    root += static_cast<WCHAR>(map.front().letter);
    root += u":\\";
    return root;
}

// Joins a root ("X:\", "\\server\share\", "\\.\") with a relative part and
// resolves its "." and ".." components; the root is never left.
WString ResolveUnder(const WString& root, const WString& rest) {
    std::vector<WString> parts;
    size_t i = 0;
    while (i < rest.size()) {
        size_t j = i;
        while (j < rest.size() && !IsSlash(rest[j])) {
            ++j;
        }
        WString part = rest.substr(i, j - i);
        bool last = j >= rest.size();
        if (last && part != u"." && part != u"..") {
            // Windows drops trailing dots and blanks of the final name.
            while (!part.empty() && (part.back() == u'.' || part.back() == u' ')) {
                part.pop_back();
            }
        }
        if (part == u"..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    WString out = root;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0) {
            out += kBackslash;
        }
        out += parts[k];
    }
    // A trailing separator is kept, as GetFullPathNameW keeps it.
    if (!parts.empty() && !rest.empty() && IsSlash(rest.back())) {
        out += kBackslash;
    }
    return out;
}

// The current directory of a drive: the process's own for the current drive,
// else the "=X:" variable, else the drive's root.
WString DriveDirectory(WCHAR letter) {
    letter = UpperLetter(letter);
    WString cwd = CurrentDirectory();
    if (cwd.size() >= 2 && UpperLetter(cwd[0]) == letter && cwd[1] == u':') {
        return cwd;
    }
    WString name = u"=";
    name += letter;
    name += u':';
    WString value = GetDriveVariable(name);
    if (value.size() >= 3 && UpperLetter(value[0]) == letter && value[1] == u':' && IsSlash(value[2])) {
        return value;
    }
    WString root;
    root += letter;
    root += u":\\";
    return root;
}

}  // namespace

WString WideArg(LPCWSTR text) {
    return text ? WString(text) : WString();
}

WString WideArg(LPCSTR utf8) {
    return utf8 ? ToUtf16(utf8) : WString();
}

WCHAR FoldCase(WCHAR c) {
    if (c < 0x80) {
        return (c >= u'A' && c <= u'Z') ? static_cast<WCHAR>(c + 32) : c;
    }
    // The alphabets whose pairs lie in fixed ranges are folded here, so the
    // answer does not depend on the C library's locale; the C library takes the
    // rest. One UTF-16 unit at a time, as NTFS's upcase table works.
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F)) {
        return static_cast<WCHAR>(c + 32);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return static_cast<WCHAR>(c + 80);
    }
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
        bool evenUpper = (c < 0x139) || (c >= 0x14A && c < 0x178);
        if (evenUpper ? (c % 2 == 0) : (c % 2 == 1 && c != 0x178)) {
            return static_cast<WCHAR>(c + 1);
        }
        return c == 0x178 ? static_cast<WCHAR>(0xFF) : c;
    }
    wint_t lower = std::towlower(static_cast<wint_t>(c));
    return lower <= 0xFFFF ? static_cast<WCHAR>(lower) : c;
}

bool EqualNoCase(const WString& a, const WString& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

const std::vector<DriveMapItem>& DriveMap() {
    static const std::vector<DriveMapItem>* map = [] {
        auto* items = new std::vector<DriveMapItem>;
        std::string error = ParseDriveMap(std::getenv("QUORVANE_DRIVES"), *items);
        if (!error.empty()) {
            // Every path of the run goes through this map: a run on a wrong one
            // would only show empty panels and misleading errors.
            std::string line = "QUORVANE_DRIVES: " + error + "\n";
            ssize_t written = ::write(2, line.data(), line.size());
            (void)written;
            ::_exit(1);
        }
        return items;
    }();
    return *map;
}

const DriveMapItem* FindDrive(WCHAR letter) {
    letter = UpperLetter(letter);
    for (const DriveMapItem& item : DriveMap()) {
        if (static_cast<WCHAR>(item.letter) == letter) {
            return &item;
        }
    }
    return FindConnectedDrive(letter);
}

WString CurrentDirectory() {
    CurrentDir& cwd = Cwd();
    std::lock_guard<std::mutex> guard(cwd.lock);
    if (cwd.path.empty()) {
        cwd.path = InitialDirectory();
    }
    return cwd.path;
}

DWORD FullPath(const WString& input, WString& full, PathForm* form) {
    if (input.empty()) {
        return ERROR_INVALID_NAME;
    }
    WString path = input;
    PathForm kind = PathForm::Drive;
    if (path.size() >= 4 && IsSlash(path[0]) && IsSlash(path[1]) && (path[2] == u'?' || path[2] == u'.') &&
        IsSlash(path[3])) {
        if (path[2] == u'?') {
            // Long-path form: Windows takes it literally.
            full = path;
            WString rest = path.substr(4);
            bool unc = rest.size() >= 4 && FoldCase(rest[0]) == u'u' && FoldCase(rest[1]) == u'n' &&
                       FoldCase(rest[2]) == u'c' && IsSlash(rest[3]);
            kind = unc ? PathForm::Unc : (rest.size() >= 2 && rest[1] == u':' ? PathForm::Drive : PathForm::Device);
        } else {
            full = ResolveUnder(u"\\\\.\\", path.substr(4));
            kind = PathForm::Device;
        }
    } else if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
        // \\server\share\rest: the root is the server and the share.
        size_t i = 2;
        while (i < path.size() && !IsSlash(path[i])) {
            ++i;
        }
        size_t j = i + 1;
        while (j < path.size() && !IsSlash(path[j])) {
            ++j;
        }
        WString server = path.substr(2, i - 2);
        WString share = i < path.size() ? path.substr(i + 1, j - i - 1) : WString();
        WString root = u"\\\\" + server;
        if (!share.empty()) {
            root += kBackslash + share;
        }
        WString rest = j < path.size() ? path.substr(j + 1) : WString();
        full =
            rest.empty() && (j >= path.size() || !IsSlash(path.back())) ? root : ResolveUnder(root + kBackslash, rest);
        kind = PathForm::Unc;
    } else if (path.size() >= 2 && IsLetter(path[0]) && path[1] == u':') {
        WCHAR letter = UpperLetter(path[0]);
        if (path.size() >= 3 && IsSlash(path[2])) {
            WString root;
            root += letter;
            root += u":\\";
            full = ResolveUnder(root, path.substr(3));
        } else {
            WString base = DriveDirectory(letter);
            // "X:" alone names the directory with a trailing backslash, as
            // Windows answers it (the callers strip it).
            full = ResolveUnder(base.substr(0, 3), base.substr(3) + kBackslash + path.substr(2));
        }
    } else {
        WString cwd = CurrentDirectory();
        WString root;
        WString base;
        if (cwd.size() >= 2 && cwd[0] == kBackslash && cwd[1] == kBackslash) {
            size_t i = cwd.find(kBackslash, 2);
            i = i == WString::npos ? cwd.size() : cwd.find(kBackslash, i + 1);
            if (i == WString::npos) {
                i = cwd.size();
            }
            root = cwd.substr(0, i) + kBackslash;
            base = i < cwd.size() ? cwd.substr(i + 1) : WString();
            kind = PathForm::Unc;
        } else {
            root = cwd.substr(0, 3);
            base = cwd.substr(3);
        }
        full = IsSlash(path[0]) ? ResolveUnder(root, path.substr(1)) : ResolveUnder(root, base + kBackslash + path);
    }
    if (form) {
        *form = kind;
    }
    return 0;
}

namespace {

// The characters Windows refuses in a name that the user can type. Control
// characters, refused by Windows too, are left to the typing: no name field
// takes one, and a name copied from one that holds it must be made.
bool IsForbiddenInName(WCHAR c) {
    return c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|' || c == u'?' || c == u'*';
}

// A directory and the rest of a Windows path below it.
std::string JoinPosix(const std::string& dir, const WString& rest) {
    std::string out = dir;
    if (!rest.empty()) {
        if (out != "/") {
            out += '/';
        }
        std::string tail = Utf8(rest);
        for (char& c : tail) {
            if (c == '\\') {
                c = '/';
            }
        }
        out += tail;
    }
    return out;
}

// The rest of a path below a drive's or share's directory holds no name
// Windows would refuse, except names that already exist on disk: a Linux
// file system may hold "<", ":" or "?" in a name, and such a file must still
// be entered, read and deleted. Only a name that does not exist yet (one the
// user is making) keeps Windows' rules.
bool NamesAreAcceptable(const std::string& dir, const WString& rest) {
    size_t last = WString::npos;
    for (size_t i = 0; i < rest.size(); i++) {
        if (IsForbiddenInName(rest[i])) {
            last = i;
        }
    }
    if (last == WString::npos) {
        return true;
    }
    size_t end = rest.find(kBackslash, last);
    struct stat st;
    return ::lstat(JoinPosix(dir, rest.substr(0, end)).c_str(), &st) == 0;
}

// \\server\share\rest of a share mounted here; any other server or share
// answers as an unreachable one.
bool UncToPosix(const WString& full, std::string& posix) {
    size_t serverEnd = full.find(kBackslash, 2);
    if (serverEnd == WString::npos) {
        return Fail(ERROR_BAD_NETPATH);
    }
    size_t shareEnd = full.find(kBackslash, serverEnd + 1);
    WString server = full.substr(2, serverEnd - 2);
    WString share = full.substr(serverEnd + 1, shareEnd == WString::npos ? WString::npos : shareEnd - serverEnd - 1);
    WString rest = shareEnd == WString::npos ? WString() : full.substr(shareEnd + 1);
    std::string dir;
    if (!FindShareDirectory(server, share, dir)) {
        return Fail(ERROR_BAD_NETPATH);
    }
    if (!NamesAreAcceptable(dir, rest)) {
        return Fail(ERROR_INVALID_NAME);
    }
    posix = JoinPosix(dir, rest);
    return true;
}

}  // namespace

bool ToPosixPath(const WString& windowsPath, std::string& posix) {
    WString path = windowsPath;
    // "\\?\X:\...", "\??\X:\..." and "\\.\X:\..." name the same file as "X:\...".
    bool devicePath = path.size() >= 7 && IsSlash(path[0]) && IsSlash(path[1]) && path[2] == u'.' && IsSlash(path[3]) &&
                      IsLetter(path[4]) && path[5] == u':' && IsSlash(path[6]);
    if (devicePath || (path.size() >= 4 && IsSlash(path[0]) && (path[1] == u'?' || IsSlash(path[1])) &&
                       path[2] == u'?' && IsSlash(path[3]))) {
        path = path.substr(4);
        if (path.size() >= 4 && FoldCase(path[0]) == u'u' && FoldCase(path[1]) == u'n' && FoldCase(path[2]) == u'c' &&
            IsSlash(path[3])) {
            return Fail(ERROR_BAD_NETPATH);
        }
    }
    WString full;
    PathForm form;
    DWORD error = FullPath(path, full, &form);
    if (error) {
        return Fail(error);
    }
    if (form == PathForm::Unc) {
        return UncToPosix(full, posix);
    }
    if (form == PathForm::Device) {
        return Fail(ERROR_PATH_NOT_FOUND);
    }
    const DriveMapItem* drive = FindDrive(full[0]);
    if (!drive) {
        return Fail(ERROR_PATH_NOT_FOUND);
    }
    WString rest = full.substr(3);
    if (!NamesAreAcceptable(drive->dir, rest)) {
        return Fail(ERROR_INVALID_NAME);
    }
    posix = JoinPosix(drive->dir, rest);
    return true;
}

bool ToWindowsPath(const std::string& posixIn, WString& windowsPath) {
    if (posixIn.empty() || posixIn[0] != '/') {
        return false;
    }
    std::string posix = NormalisePosix(posixIn);
    const DriveMapItem* best = nullptr;
    for (const DriveMapItem& item : DriveMap()) {
        bool holds = item.dir == "/" || posix == item.dir ||
                     (posix.size() > item.dir.size() && posix.compare(0, item.dir.size(), item.dir) == 0 &&
                      posix[item.dir.size()] == '/');
        if (holds && (!best || item.dir.size() > best->dir.size())) {
            best = &item;
        }
    }
    if (!best) {
        return false;
    }
    std::string rest = best->dir == "/" ? posix.substr(1) : posix.substr(std::min(posix.size(), best->dir.size() + 1));
    WString out;
    out += static_cast<WCHAR>(best->letter);
    out += u":\\";
    for (WCHAR c : ToUtf16(rest)) {
        out += c == u'/' ? kBackslash : c;
    }
    windowsPath = out;
    return true;
}

BOOL FailPathErrno(int err, const std::string& posix) {
    if (err == ENOENT || err == ENOTDIR) {
        std::string parent = posix;
        while (parent.size() > 1 && parent.back() == '/') {
            parent.pop_back();
        }
        size_t slash = parent.rfind('/');
        parent = slash == 0 ? "/" : (slash == std::string::npos ? "." : parent.substr(0, slash));
        struct stat st;
        bool parentIsDir = ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        return Fail(parentIsDir && err == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    }
    return FailErrno(err);
}

DWORD CopyOut(const WString& text, LPWSTR buffer, DWORD size) {
    if (buffer && size > text.size()) {
        std::memcpy(buffer, text.data(), text.size() * sizeof(WCHAR));
        buffer[text.size()] = 0;
        return static_cast<DWORD>(text.size());
    }
    return static_cast<DWORD>(text.size() + 1);
}

DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
    if (buffer && size > text.size()) {
        std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = 0;
        return static_cast<DWORD>(text.size());
    }
    return static_cast<DWORD>(text.size() + 1);
}

}  // namespace w32

using w32::WString;

DWORD WINAPI GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer, LPWSTR* lpFilePart) {
    WString full;
    DWORD error = w32::FullPath(w32::WideArg(lpFileName), full);
    if (error) {
        w32::Fail(error);
        return 0;
    }
    DWORD n = w32::CopyOut(full, lpBuffer, nBufferLength);
    if (lpFilePart && n == full.size()) {
        size_t slash = full.rfind(u'\\');
        *lpFilePart = (slash == WString::npos || slash + 1 >= full.size()) ? nullptr : lpBuffer + slash + 1;
    }
    return n;
}

DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
    WString full;
    DWORD error = w32::FullPath(w32::WideArg(lpFileName), full);
    if (error) {
        w32::Fail(error);
        return 0;
    }
    std::string text = w32::Utf8(full);
    DWORD n = w32::CopyOut(text, lpBuffer, nBufferLength);
    if (lpFilePart && n == text.size()) {
        size_t slash = text.rfind('\\');
        *lpFilePart = (slash == std::string::npos || slash + 1 >= text.size()) ? nullptr : lpBuffer + slash + 1;
    }
    return n;
}

BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName) {
    WString full;
    w32::PathForm form;
    DWORD error = w32::FullPath(w32::WideArg(lpPathName), full, &form);
    if (error) {
        return w32::Fail(error);
    }
    std::string posix;
    if (!w32::ToPosixPath(full, posix)) {
        return FALSE;
    }
    struct stat st;
    if (::stat(posix.c_str(), &st) != 0) {
        return w32::FailPathErrno(errno, posix);
    }
    if (!S_ISDIR(st.st_mode)) {
        return w32::Fail(ERROR_DIRECTORY);
    }
    // The process's own directory follows, so that POSIX code and child
    // processes see the same place.
    if (::chdir(posix.c_str()) != 0) {
        return w32::FailPathErrno(errno, posix);
    }
    if (full.size() > 3 && full.back() == u'\\') {
        full.pop_back();
    }
    {
        w32::CurrentDir& cwd = w32::Cwd();
        std::lock_guard<std::mutex> guard(cwd.lock);
        cwd.path = full;
    }
    WString name = u"=";
    name += full.substr(0, 2);
    w32::SetDriveVariable(name, &full);
    return TRUE;
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
    WString path = w32::WideArg(lpPathName);
    return SetCurrentDirectoryW(path.c_str());
}

DWORD WINAPI GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) {
    return w32::CopyOut(w32::CurrentDirectory(), lpBuffer, nBufferLength);
}

DWORD WINAPI GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer) {
    WString path;
    const char* tmpdir = std::getenv("TMPDIR");
    if (!(tmpdir && *tmpdir && w32::ToWindowsPath(tmpdir, path)) && !w32::ToWindowsPath("/tmp", path)) {
        path = w32::CurrentDirectory();
    }
    if (path.back() != u'\\') {
        path += u'\\';
    }
    return w32::CopyOut(path, lpBuffer, nBufferLength);
}

namespace {

// Short and long names are the same here; the path must exist all the same.
DWORD SameName(LPCWSTR in, LPWSTR out, DWORD size) {
    WString path = w32::WideArg(in);
    std::string posix;
    if (path.empty()) {
        w32::Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!w32::ToPosixPath(path, posix)) {
        return 0;
    }
    struct stat st;
    if (::lstat(posix.c_str(), &st) != 0) {
        w32::FailPathErrno(errno, posix);
        return 0;
    }
    return w32::CopyOut(path, out, size);
}

}  // namespace

DWORD WINAPI GetShortPathNameW(LPCWSTR lpszLongPath, LPWSTR lpszShortPath, DWORD cchBuffer) {
    return SameName(lpszLongPath, lpszShortPath, cchBuffer);
}

DWORD WINAPI GetLongPathNameW(LPCWSTR lpszShortPath, LPWSTR lpszLongPath, DWORD cchBuffer) {
    return SameName(lpszShortPath, lpszLongPath, cchBuffer);
}

DWORD WINAPI GetProgramArgumentPathW(LPCWSTR lpPath, LPWSTR lpBuffer, DWORD nBufferLength) {
    if (lpPath == nullptr) {
        w32::Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WString path = w32::WideArg(lpPath);
    // A drive path (X: alone or followed by a separator) or a network path;
    // anything else is a name relative to the child's directory.
    const bool drive = path.size() >= 2 && w32::IsLetter(path[0]) && path[1] == u':' &&
                       (path.size() == 2 || path[2] == u'\\' || path[2] == u'/');
    const bool network =
        path.size() >= 2 && (path[0] == u'\\' || path[0] == u'/') && (path[1] == u'\\' || path[1] == u'/');
    const bool absolute = drive || network;
    if (!absolute) {
        for (WCHAR& c : path) {
            if (c == u'\\') {
                c = u'/';
            }
        }
        return w32::CopyOut(path, lpBuffer, nBufferLength);
    }
    std::string posix;
    if (!w32::ToPosixPath(path, posix)) {
        return 0;
    }
    return w32::CopyOut(WString(w32::ToUtf16(posix)), lpBuffer, nBufferLength);
}
