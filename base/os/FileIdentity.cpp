#include "base/os/FileIdentity.h"

#include "base/os/PathNormalizer.h"
#include "base/strings/Utf16String.h"
#include "platform/win32.h"

DWORD GetFileIdentity(const Westring& path, TFileIdentity& identity) {
    Utf16String wide(path);
    // No data access is asked for: only the identity is read, so a file that
    // may not be read still answers.
    HANDLE handle = CreateFileW(wide.Data(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    BY_HANDLE_FILE_INFORMATION info;
    DWORD error = 0;
    if (GetFileInformationByHandle(handle, &info)) {
        identity.volume = info.dwVolumeSerialNumber;
        identity.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    } else {
        error = GetLastError();
    }
    CloseHandle(handle);
    return error;
}

bool IsSameFile(const Westring& path1, const Westring& path2) {
    TFileIdentity a;
    TFileIdentity b;
    return GetFileIdentity(path1, a) == 0 && GetFileIdentity(path2, b) == 0 && a == b;
}

bool PathLiesInside(const TFileIdentity& tree, const Westring& path) {
    Westring at = path;
    for (;;) {
        TFileIdentity id;
        if (GetFileIdentity(at, id) == 0 && id == tree) {
            return true;
        }
        int slash = at.FindLast('\\');
        if (slash < 0 || IsRootPath(at)) {
            return false;
        }
        Westring parent = at.Left(slash);
        if (parent.Length() == 2 && parent[1] == ':') {
            parent.AppendChar('\\');
        }
        if (parent.Length() >= at.Length() || parent.IsEmpty()) {
            return false;
        }
        at = parent;
    }
}
