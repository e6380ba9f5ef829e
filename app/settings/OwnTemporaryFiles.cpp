#include "app/settings/OwnTemporaryFiles.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "base/strings/Utf16String.h"
#include "platform/win32.h"

namespace {

const char CopyPrefix[] = ".qv";
const char CopySuffix[] = ".tmp";
const char ReplacingMark[] = ".~qv";
const int PidDigits = 8;
const int CopyCounterDigits = 4;
const int ReplacingCounterDigits = 3;

FILETIME Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return now;
}

// The run's start, taken as the program is loaded: a leftover written after
// it may be a file a live run is making, and is never touched.
const FILETIME RunStart = Now();

unsigned long OwnProcessId() {
    static const unsigned long id = GetCurrentProcessId();
    return id;
}

// The folders swept (or made) by this run, exact spellings without a
// trailing backslash; the last one first, since files come folder by folder.
std::vector<Westring>& KnownDirectories() {
    static std::vector<Westring> known;
    return known;
}

Westring FolderKey(const Westring& directory) {
    return RemoveTrailingBackslash(directory);
}

// Remembers the folder; false when it was known already.
bool Remember(const Westring& directory) {
    std::vector<Westring>& known = KnownDirectories();
    if (!known.empty() && known.back().EqualsExact(directory)) {
        return false;
    }
    for (size_t i = 0; i + 1 < known.size(); i++) {
        if (known[i].EqualsExact(directory)) {
            std::swap(known[i], known.back());
            return false;
        }
    }
    known.push_back(directory);
    return true;
}

bool IsHex(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// `count` lower-case hex digits (decimal with `decimal`) from `at`; their
// value, or -1.
long long Digits(const Westring& name, int at, int count, bool decimal) {
    if (at < 0 || at + count > name.Length()) {
        return -1;
    }
    long long value = 0;
    for (int i = 0; i < count; i++) {
        char32_t c = name[at + i];
        if (decimal ? (c < '0' || c > '9') : !IsHex(c)) {
            return -1;
        }
        value = value * (decimal ? 10 : 16) + (c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return value;
}

bool HasAt(const Westring& name, int at, const char* text) {
    for (int i = 0; text[i] != 0; i++) {
        if (at + i >= name.Length() || name[at + i] != static_cast<char32_t>(text[i])) {
            return false;
        }
    }
    return true;
}

bool IsGone(unsigned long process) {
    DWORD session = 0;
    // Only "no such process" counts: a process we may not look at is alive.
    return !ProcessIdToSessionId(static_cast<DWORD>(process), &session) &&
           GetLastError() == ERROR_INVALID_PARAMETER;
}

}  // namespace

Westring CopyTemporaryName(const Westring& directory) {
    static unsigned counter = 0;
    char name[64];
    snprintf(name, sizeof name, "%s%08lx%04x%s", CopyPrefix, OwnProcessId(), ++counter & 0xFFFF, CopySuffix);
    return AddTrailingBackslash(directory) + Westring(name);
}

Westring ReplacingTemporaryName(const Westring& finalPath, int n) {
    char suffix[32];
    snprintf(suffix, sizeof suffix, "%s%08lx.%03d", ReplacingMark, OwnProcessId(), n % 1000);
    return finalPath + Westring(suffix);
}

unsigned long OwnTemporaryFileProcess(const Westring& name) {
    const int copyLength = 3 + PidDigits + CopyCounterDigits + 4;
    if (name.Length() == copyLength && HasAt(name, 0, CopyPrefix) && HasAt(name, copyLength - 4, CopySuffix) &&
        Digits(name, 3 + PidDigits, CopyCounterDigits, false) >= 0) {
        long long pid = Digits(name, 3, PidDigits, false);
        return pid > 0 ? static_cast<unsigned long>(pid) : 0;
    }
    // "<name>.~qv" + pid + "." + counter, after a name of at least one unit.
    const int tail = 4 + PidDigits + 1 + ReplacingCounterDigits;
    int at = name.Length() - tail;
    if (at >= 1 && HasAt(name, at, ReplacingMark) && HasAt(name, at + 4 + PidDigits, ".") &&
        Digits(name, at + 4 + PidDigits + 1, ReplacingCounterDigits, true) >= 0) {
        long long pid = Digits(name, at + 4, PidDigits, false);
        return pid > 0 ? static_cast<unsigned long>(pid) : 0;
    }
    return 0;
}

void NoteFreshDirectory(const Westring& directory) {
    Remember(FolderKey(directory));
}

void RemoveStaleTemporaryFiles(const Westring& directory) {
    Westring folder = FolderKey(directory);
    if (folder.IsEmpty() || !Remember(folder)) {
        return;
    }
    Utf16String pattern(AddTrailingBackslash(folder) + Westring("*"));
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(pattern.Data(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    std::vector<Westring> stale;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
            continue;
        }
        Westring name(found.cFileName);
        unsigned long process = OwnTemporaryFileProcess(name);
        if (process == 0 || process == OwnProcessId() || CompareFileTime(&found.ftLastWriteTime, &RunStart) >= 0) {
            continue;
        }
        if (IsGone(process)) {
            stale.push_back(AddTrailingBackslash(folder) + name);
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
    for (const Westring& path : stale) {
        Utf16String wide(path);
        SetFileAttributesW(wide.Data(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(wide.Data());
    }
}
