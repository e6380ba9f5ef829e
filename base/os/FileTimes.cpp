#include "base/os/FileTimes.h"

#include "base/os/CWinHandle.h"
#include "base/strings/Utf16String.h"

DWORD GetHandleModifyTime(HANDLE handle, TTimestamp& time) {
    FILETIME written;
    if (!GetFileTime(handle, nullptr, nullptr, &written)) {
        return GetLastError();
    }
    time = TTimestamp::FromFileTime(written);
    return 0;
}

DWORD GetFileModifyTime(const Westring& path, TTimestamp& time) {
    HANDLE h = CreateFileW(Utf16String(path).Data(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    CWinHandle file(h);
    return GetHandleModifyTime(h, time);
}

DWORD SetFileModifyTime(const Westring& path, const TTimestamp& time) {
    Utf16String name(path);
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE h = CreateFileW(name.Data(), GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        // Directories open only with backup semantics.
        h = CreateFileW(name.Data(), GENERIC_WRITE, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return GetLastError();
        }
    }
    CWinHandle file(h);
    FILETIME written = time.ToFILETIME();
    if (!SetFileTime(h, nullptr, nullptr, &written)) {
        return GetLastError();
    }
    return 0;
}
