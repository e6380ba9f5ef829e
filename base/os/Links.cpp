#include "base/os/Links.h"

#include <cstddef>
#include <cstring>

#include "base/os/CWinHandle.h"
#include "base/strings/Utf16String.h"
#include "base/os/PathNormalizer.h"

namespace {

// The reparse data of junctions and symbolic links. Windows declares it only
// for drivers, so the system keeps its own copy of the layout. Name offsets
// and lengths are in bytes from the start of the path buffer.
struct TReparseNames {
    USHORT substituteOffset;
    USHORT substituteLength;
    USHORT printOffset;
    USHORT printLength;
};

struct TReparseData {
    ULONG tag;
    USHORT dataLength;  // bytes after the first 8
    USHORT reserved;
    TReparseNames names;
    // Junctions: the path buffer follows here. Symbolic links: 4 bytes of
    // flags, then the path buffer.
};

const ULONG MountPointTag = 0xA0000003UL;
const ULONG SymbolicLinkTag = 0xA000000CUL;
const size_t HeaderBytes = 8;
const size_t MountPointBufferAt = offsetof(TReparseData, names) + sizeof(TReparseNames);
const size_t SymbolicLinkBufferAt = MountPointBufferAt + 4;

// The substitute name of the reparse data, checked against what was read.
bool SubstituteName(const unsigned char* data, DWORD bytes, Westring& name) {
    if (bytes < MountPointBufferAt) {
        return false;
    }
    TReparseData head;
    memcpy(&head, data, sizeof head);
    size_t bufferAt;
    if (head.tag == MountPointTag) {
        bufferAt = MountPointBufferAt;
    } else if (head.tag == SymbolicLinkTag) {
        bufferAt = SymbolicLinkBufferAt;
    } else {
        return false;
    }
    size_t end = HeaderBytes + head.dataLength;
    if (end > bytes) {
        end = bytes;
    }
    size_t from = bufferAt + head.names.substituteOffset;
    size_t length = head.names.substituteLength;
    if (length % 2 != 0 || from > end || length > end - from) {
        return false;
    }
    WCHAR units[ReparseBufferSize / 2 + 1];
    memcpy(units, data + from, length);
    units[length / 2] = 0;
    name = Westring(units);
    return true;
}

const WCHAR* NtPrefix = W32TEXT("\\??\\");

}  // namespace

DWORD ReadReparsePoint(void* buffer, const Westring& path) {
    HANDLE h = CreateFileW(Utf16String(path).Data(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    CWinHandle link(h);
    DWORD returned = 0;
    if (!DeviceIoControl(h, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer, ReparseBufferSize, &returned, nullptr)) {
        return GetLastError();
    }
    return 0;
}

Westring GetLinkTarget(const Westring& path) {
    Westring link = path;
    if (link.Length() > 0 && link[link.Length() - 1] == '\\') {
        link = link.DropRight(1);
    }
    if (IsUncPath(link) || !HasDrivePrefix(link)) {
        return Westring();
    }
    WCHAR root[4] = {static_cast<WCHAR>(link[0]), ':', '\\', 0};
    if (GetDriveTypeW(root) != DRIVE_FIXED) {
        return Westring();
    }
    // Aligned for the 16-bit names inside.
    ULONG data[ReparseBufferSize / sizeof(ULONG) + 1];
    memset(data, 0, sizeof data);
    if (ReadReparsePoint(data, link) != 0) {
        return Westring();
    }
    Westring target;
    if (!SubstituteName(reinterpret_cast<const unsigned char*>(data), ReparseBufferSize, target)) {
        return Westring();
    }
    Westring prefix(NtPrefix);
    if (target.Left(4).EqualsExact(prefix)) {
        target = target.Mid(4, 0);
    }
    return target;
}

namespace {

// A junction: a new directory carrying a mount-point reparse point whose
// substitute name is \??\target (the print name empty).
DWORD CreateJunction(const Westring& link, const Westring& target) {
    Utf16String linkName(link);
    Utf16String substitute(Westring(NtPrefix) + target);
    size_t substituteBytes = size_t(substitute.Units()) * 2;
    // The names with one terminating unit each.
    size_t namesBytes = substituteBytes + 2 + 2;
    size_t total = MountPointBufferAt + namesBytes;
    if (total > ReparseBufferSize) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    if (!CreateDirectoryW(linkName.Data(), nullptr)) {
        return GetLastError();
    }
    ULONG data[ReparseBufferSize / sizeof(ULONG) + 1];
    memset(data, 0, sizeof data);
    TReparseData head;
    memset(&head, 0, sizeof head);
    head.tag = MountPointTag;
    head.dataLength = static_cast<USHORT>(total - HeaderBytes);
    head.names.substituteOffset = 0;
    head.names.substituteLength = static_cast<USHORT>(substituteBytes);
    head.names.printOffset = static_cast<USHORT>(substituteBytes + 2);
    head.names.printLength = 0;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(data);
    memcpy(bytes, &head, sizeof head);
    memcpy(bytes + MountPointBufferAt, substitute.Data(), substituteBytes);

    DWORD error = 0;
    HANDLE h = CreateFileW(linkName.Data(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
    } else {
        DWORD returned = 0;
        if (!DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, data, static_cast<DWORD>(total), nullptr, 0, &returned,
                             nullptr)) {
            error = GetLastError();
        }
        CloseHandle(h);
    }
    if (error != 0) {
        RemoveDirectoryW(linkName.Data());
    }
    return error;
}

}  // namespace

DWORD CreateLink(const Westring& link, const Westring& target, bool isDirectory) {
    if (isDirectory && IsDriveAbsolutePath(target)) {
        return CreateJunction(link, target);
    }
    // A relative target names a place relative to the link, so the link is
    // made from inside its own directory.
    const DWORD room = 1024;
    WCHAR previous[room];
    WCHAR fullLink[room];
    DWORD n = GetCurrentDirectoryW(room, previous);
    bool restore = n > 0 && n < room;
    n = GetFullPathNameW(Utf16String(link).Data(), room, fullLink, nullptr);
    if (n == 0 || n >= room) {
        return n == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    }
    Westring directory = ExtractDirectory(Westring(fullLink));
    if (!directory.IsEmpty()) {
        SetCurrentDirectoryW(Utf16String(directory).Data());
    }
    DWORD error = 0;
    if (!CreateSymbolicLinkW(fullLink, Utf16String(target).Data(), isDirectory ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0)) {
        error = GetLastError();
    }
    if (restore) {
        SetCurrentDirectoryW(previous);
    }
    return error;
}

DWORD DeleteLink(const Westring& path) {
    Utf16String name(path);
    DWORD attributes = GetFileAttributesW(name.Data());
    BOOL done;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        done = RemoveDirectoryW(name.Data());
    } else {
        done = DeleteFileW(name.Data());
    }
    return done ? 0 : GetLastError();
}
