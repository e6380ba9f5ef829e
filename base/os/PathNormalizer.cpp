#include "base/os/PathNormalizer.h"

#include "base/os/CurrentDirectory.h"
#include "base/strings/Utf16String.h"
#include "platform/win32.h"

namespace {

bool IsAsciiLetter(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsAsciiLetterOrDigit(char32_t c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

bool IsOnlyDots(const Westring& component) {
    for (int i = 0; i < component.Length(); i++) {
        if (component[i] != '.') {
            return false;
        }
    }
    return component.Length() > 0;
}

// One level up: cut at the last backslash, keeping a leading one. False when
// the result is a root already.
bool GoUp(Westring& result) {
    if (IsRootPath(AddTrailingBackslash(result))) {
        return false;
    }
    int slash = result.FindLast('\\');
    if (slash < 0) {
        return false;
    }
    result = result.Left(slash == 0 ? 1 : slash);
    return true;
}

// The long form Windows knows for the path, when it knows one.
void TakeLongForm(Westring& result) {
    const DWORD room = 512;
    WCHAR longForm[room];
    Utf16String wide(result);
    DWORD n = GetLongPathNameW(wide.Data(), longForm, room);
    if (n > 0 && n < room) {
        result = Westring(longForm);
    }
}

}  // namespace

bool IsRootPath(const Westring& path) {
    if (path.Length() == 2) {
        return path[0] == '\\' && path[1] == '\\';
    }
    return path.Length() == 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

bool IsUncPath(const Westring& path) {
    return path.Length() >= 2 && path[0] == '\\' && path[1] == '\\';
}

bool HasDrivePrefix(const Westring& path) {
    return path.Length() >= 2 && IsAsciiLetterOrDigit(path[0]) && path[1] == ':';
}

bool IsDriveAbsolutePath(const Westring& path) {
    return path.Length() >= 3 && HasDrivePrefix(path) && path[2] == '\\';
}

void ParentPath(Westring& out, const Westring& path) {
    int slash = path.FindLast('\\');
    out = slash < 0 ? path : path.Left(slash);
}

Westring UncShareRoot(const Westring& path) {
    int fourth = path.FindNth('\\', 4);
    return fourth < 0 ? path : path.Left(fourth);
}

int NormalizePath(Westring& path, const char32_t* base) {
    Westring typed = path;
    for (int i = 0; i < typed.Length(); i++) {
        if (typed[i] == '/') {
            typed.SetAt(i, '\\');
        }
    }
    for (int i = 0; i < typed.Length(); i++) {
        if (typed[i] == ':' && i != 1) {
            return -1;
        }
    }

    Westring result;
    Westring rest;
    bool drivePrefix = typed.Length() >= 2 && IsAsciiLetter(typed[0]) && typed[1] == ':';
    if (drivePrefix && typed.Length() >= 3 && typed[2] == '\\') {
        rest = typed;
    } else if (drivePrefix) {
        // X:name goes on from drive X's own current directory.
        result = GetDriveCurrentDirectoryWide(typed[0]);
        rest = typed.Mid(2, 0);
        if (result.IsEmpty()) {
            return -1;
        }
    } else if (IsUncPath(typed)) {
        result = Westring("\\\\");
        rest = typed.Mid(2, 0);
    } else {
        Westring from = base != nullptr ? Westring(base) : GetDriveCurrentDirectoryWide(0);
        if (from.IsEmpty()) {
            return -1;
        }
        if (typed.Length() >= 1 && typed[0] == '\\') {
            // \name: from the root of the base's drive.
            result.AppendChar(from[0]);
            result.AppendChar(from[0] == '\\' ? '\\' : ':');
            rest = typed.Mid(1, 0);
        } else {
            result = from;
            rest = typed;
        }
    }

    int start = 0;
    while (start < rest.Length()) {
        int end = rest.Length();
        for (int i = start; i < rest.Length(); i++) {
            if (rest[i] == '\\') {
                end = i;
                break;
            }
        }
        if (end > start) {
            Westring component = rest.Mid(start, end - start);
            if (IsOnlyDots(component)) {
                // "." stays, ".." goes up one, "..." two, and so on.
                for (int up = 1; up < component.Length(); up++) {
                    if (!GoUp(result)) {
                        return -1;
                    }
                }
            } else {
                result = result.IsEmpty() ? component : AddTrailingBackslash(result) + component;
            }
        }
        start = end + 1;
    }

    if (result.Length() == 2 && result[1] == ':') {
        result.AppendChar('\\');
    }
    TakeLongForm(result);
    path = result;
    return 0;
}

int NormalizePathBuffer(char32_t* buffer, int capacity, const char32_t* base) {
    Westring path(buffer);
    if (NormalizePath(path, base) != 0 || path.Length() + 1 > capacity) {
        return -1;
    }
    for (int i = 0; i < path.Length(); i++) {
        buffer[i] = path[i];
    }
    buffer[path.Length()] = 0;
    return 0;
}

bool IsSameOrSubPath(const Westring& prefix, const Westring& path) {
    int n = prefix.Length();
    if (n == 0) {
        return true;
    }
    if (path.Length() < n || !path.Left(n).EqualsNoCase(prefix)) {
        return false;
    }
    return path.Length() == n || path[n] == '\\';
}

bool StripTrailingSlash(char32_t* buffer) {
    int n = 0;
    while (buffer[n] != 0) {
        n++;
    }
    if (n > 0 && (buffer[n - 1] == '\\' || buffer[n - 1] == '/')) {
        buffer[n - 1] = 0;
        return true;
    }
    return false;
}

namespace {

// A variable's value when it names a drive or network path; empty otherwise,
// so that a POSIX-style value of the host never becomes a path of ours.
Westring TempVariable(const char* name) {
    Utf16String wideName{Westring(name)};
    WCHAR value[1024];
    DWORD n = GetEnvironmentVariableW(wideName.Data(), value, 1024);
    if (n == 0 || n >= 1024) {
        return Westring();
    }
    Westring text(value);
    return HasDrivePrefix(text) || IsUncPath(text) ? text : Westring();
}

}  // namespace

Westring GetTempDirectory() {
    static const char* const names[] = {"TMP", "TEMP"};
    for (const char* name : names) {
        Westring value = TempVariable(name);
        if (!value.IsEmpty()) {
            return value;
        }
    }
    WCHAR path[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, path);
    if (n > 0 && n <= MAX_PATH) {
        return Westring(path);
    }
    return Westring("C:\\");
}
