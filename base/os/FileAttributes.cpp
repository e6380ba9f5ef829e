#include "base/os/FileAttributes.h"

#include "base/io/DirScanner.h"
#include "base/os/CWinHandle.h"
#include "base/strings/Utf16String.h"

DWORD ReadFileAttributes(const Westring& path, DWORD& attributes) {
    attributes = GetFileAttributesW(Utf16String(path).Data());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return GetLastError();
    }
    return 0;
}

DWORD WriteFileAttributes(const Westring& path, DWORD attributes) {
    if (!SetFileAttributesW(Utf16String(path).Data(), attributes)) {
        return GetLastError();
    }
    return 0;
}

bool FileExists(const Westring& path) {
    DWORD attributes;
    return ReadFileAttributes(path, attributes) == 0;
}

Westring GetShortName(const Westring& path) {
    const DWORD room = 256;
    WCHAR shortForm[room];
    DWORD n = GetShortPathNameW(Utf16String(path).Data(), shortForm, room);
    if (n == 0 || n >= room) {
        return path;
    }
    return Westring(shortForm);
}

DWORD GetFileSizeByName(const Westring& path, uint64_t& size) {
    size = 0;
    CDirScanner scanner(ExtractDirectory(path));
    DWORD error = scanner.Exists(ExtractFileName(path), CDirScanner::ScanFiles);
    if (error == 0) {
        size = scanner.Record()->size;
    }
    return error;
}

bool IsCharacterDevice(const Westring& path) {
    HANDLE h = CreateFileW(Utf16String(path).Data(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    CWinHandle device(h);
    return GetFileType(h) == FILE_TYPE_CHAR;
}

DWORD SetCompression(const Westring& path, bool on, bool isDirectory) {
    HANDLE h = CreateFileW(Utf16String(path).Data(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, isDirectory ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    CWinHandle file(h);
    USHORT format = on ? COMPRESSION_FORMAT_DEFAULT : COMPRESSION_FORMAT_NONE;
    DWORD returned = 0;
    if (!DeviceIoControl(h, FSCTL_SET_COMPRESSION, &format, sizeof format, nullptr, 0, &returned, nullptr)) {
        return GetLastError();
    }
    return 0;
}
