#include "app/settings/OwnTemporaryFiles.h"

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "base/strings/Utf16String.h"
#include "platform/win32.h"

namespace {

const char CopyPrefix[] = ".qv";
const char CopySuffix[] = ".tmp";
const char ReplacingMark[] = ".~qv";
// The process id and the run's start stamp, eight hex digits each.
const int OwnerDigits = 16;
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

// The run's start in milliseconds (its low 32 bits): with the process id it
// names this run, also when the system has given the id to an earlier
// process before.
unsigned long RunStamp() {
    uint64_t ticks = (static_cast<uint64_t>(RunStart.dwHighDateTime) << 32) | RunStart.dwLowDateTime;
    return static_cast<unsigned long>((ticks / 10000) & 0xFFFFFFFF);
}

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
    return !ProcessIdToSessionId(static_cast<DWORD>(process), &session) && GetLastError() == ERROR_INVALID_PARAMETER;
}

}  // namespace

Westring CopyTemporaryName(const Westring& directory) {
    static unsigned counter = 0;
    char name[64];
    snprintf(name, sizeof name, "%s%08lx%08lx%04x%s", CopyPrefix, OwnProcessId(), RunStamp(), ++counter & 0xFFFF,
             CopySuffix);
    return AddTrailingBackslash(directory) + Westring(name);
}

Westring ReplacingTemporaryName(const Westring& finalPath, int n) {
    char suffix[48];
    snprintf(suffix, sizeof suffix, "%s%08lx%08lx.%03d", ReplacingMark, OwnProcessId(), RunStamp(), n % 1000);
    return finalPath + Westring(suffix);
}

bool ReadTemporaryOwner(const Westring& name, TTemporaryOwner& owner) {
    int at = -1;
    const int copyLength = 3 + OwnerDigits + CopyCounterDigits + 4;
    if (name.Length() == copyLength && HasAt(name, 0, CopyPrefix) && HasAt(name, copyLength - 4, CopySuffix) &&
        Digits(name, 3 + OwnerDigits, CopyCounterDigits, false) >= 0) {
        at = 3;
    }
    // "<name>.~qv", the owner, "." and the counter, after a name of at least
    // one unit.
    const int tail = 4 + OwnerDigits + 1 + ReplacingCounterDigits;
    int mark = name.Length() - tail;
    if (at < 0 && mark >= 1 && HasAt(name, mark, ReplacingMark) && HasAt(name, mark + 4 + OwnerDigits, ".") &&
        Digits(name, mark + 4 + OwnerDigits + 1, ReplacingCounterDigits, true) >= 0) {
        at = mark + 4;
    }
    long long process = at < 0 ? -1 : Digits(name, at, 8, false);
    long long stamp = at < 0 ? -1 : Digits(name, at + 8, 8, false);
    if (process <= 0 || stamp < 0) {
        return false;
    }
    owner.process = static_cast<unsigned long>(process);
    owner.stamp = static_cast<unsigned long>(stamp);
    return true;
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
        TTemporaryOwner owner;
        if (!ReadTemporaryOwner(name, owner) || CompareFileTime(&found.ftLastWriteTime, &RunStart) >= 0) {
            continue;
        }
        // Our own process id with another start is an earlier process that
        // had the id before us: it has gone, as the system gave the id again.
        bool gone = owner.process == OwnProcessId() ? owner.stamp != RunStamp() : IsGone(owner.process);
        if (gone) {
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
