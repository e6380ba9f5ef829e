#include "base/io/DirScanner.h"

#include "base/strings/Str32.h"
#include "base/strings/Utf16String.h"

CDirScanner::CDirScanner(const Westring& baseDirectory)
    : baseDirectory(baseDirectory), attributeMask(0), lastError(0), findHandle(INVALID_HANDLE_VALUE), found(0),
      separateRecords(false) {
    entry* record = Record();
    record->size = 0;
    record->attributes = 0;
    record->time = TTimestamp();
    record->tagged = record->processed = record->sizeFromTree = 0;
    record->sortClass = 0;
    record->matchOffset = -1;
    record->treeNode = nullptr;
    record->matchLength = 0;
    record->name[0] = 0;
}

CDirScanner::~CDirScanner() {
    Close();
}

void CDirScanner::Close() {
    if (findHandle != INVALID_HANDLE_VALUE) {
        FindClose(findHandle);
        findHandle = INVALID_HANDLE_VALUE;
    }
}

bool CDirScanner::AcceptsAttributes(DWORD mask, DWORD attributes) {
    bool isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if ((mask & ScanDirectoriesOnly) && !isDirectory)
        return false;
    if ((mask & ScanNoVirtualRoots) && (attributes & FILE_ATTRIBUTE_VIRTUAL))
        return false;
    if (!(mask & ScanHidden) && (attributes & FILE_ATTRIBUTE_HIDDEN))
        return false;
    if (mask & ScanDirectories)
        return true;
    return !isDirectory;
}

// A failed search call whose error reads 0 is still a failure: it must end the
// caller's loop, so it is reported as the nearest code callers expect.
static DWORD FailedCallError(DWORD fallback) {
    DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

DWORD CDirScanner::SkipToAccepted(bool haveCurrent) {
    if (!haveCurrent) {
        if (!FindNextFileW(findHandle, &findData))
            return FailedCallError(ERROR_NO_MORE_FILES);
    }
    while (!AcceptsAttributes(attributeMask, findData.dwFileAttributes)) {
        if (!FindNextFileW(findHandle, &findData))
            return FailedCallError(ERROR_NO_MORE_FILES);
    }
    return 0;
}

DWORD CDirScanner::FindFirst(const Westring& pattern, DWORD mask, entry** out) {
    attributeMask = mask & ~ScanSeparateRecords;
    separateRecords = (mask & ScanSeparateRecords) != 0;
    Close();

    Westring searchPath = AddTrailingBackslash(baseDirectory);
    searchPath += pattern;
    Utf16String widePath(searchPath);
    findHandle = FindFirstFileW(widePath.Data(), &findData);
    if (findHandle == INVALID_HANDLE_VALUE) {
        lastError = FailedCallError(ERROR_FILE_NOT_FOUND);
        found = 0;
        return lastError;
    }
    lastError = SkipToAccepted(true);
    if (lastError != 0) {
        found = 0;
        return lastError;
    }
    lastError = FillEntry(findData, out);
    found = lastError == 0 ? 1 : 0;
    return lastError;
}

DWORD CDirScanner::FindNext(entry** out) {
    if (findHandle == INVALID_HANDLE_VALUE) {
        lastError = ERROR_INVALID_HANDLE;
        return lastError;
    }
    lastError = SkipToAccepted(false);
    if (lastError != 0)
        return lastError;
    lastError = FillEntry(findData, out);
    return lastError;
}

DWORD CDirScanner::Exists(const Westring& pattern, DWORD mask) {
    DWORD error = FindFirst(pattern, mask & ~ScanSeparateRecords);
    Close();
    return error;
}

DWORD CDirScanner::FillEntry(const WIN32_FIND_DATAW& record, entry** out) {
    Westring name(record.cFileName);
    int length = name.Length();
    if (length > MaxNameUnits)
        length = MaxNameUnits;

    entry* target;
    if (separateRecords) {
        target = entry::Allocate(length);
        if (!target)
            return ERROR_NOT_ENOUGH_MEMORY;
        if (out)
            *out = target;
    } else {
        target = Record();
        if (out)
            *out = target;
    }

    bool isDirectory = (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    target->size = isDirectory ? 0 : (uint64_t(record.nFileSizeHigh) << 32) | record.nFileSizeLow;
    target->attributes = uint16_t(record.dwFileAttributes & 0xFFFF);
    target->time = TTimestamp::FromFileTime(record.ftLastWriteTime);
    target->tagged = 0;
    target->processed = 0;
    target->sizeFromTree = 0;
    target->matchOffset = -1;
    target->matchLength = 0;
    char32_t* destination = target->name;
    Mem32Copy(destination, name.Data(), length);
    destination[length] = 0;
    return 0;
}
