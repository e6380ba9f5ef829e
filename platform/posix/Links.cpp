// Symbolic links as Windows reparse points, and the device controls the
// callers send.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using w32::WString;

// The reparse buffer's fixed parts: an 8-byte header, then the name offsets
// and lengths (four 16-bit values), then for a symbolic link its 32-bit flags.
const size_t kHeaderSize = 8;
const size_t kMountPointFixed = 8;
const size_t kSymlinkFixed = 12;
const WString kNtPrefix = u"\\??\\";

void Put16(BYTE* at, USHORT value) {
    std::memcpy(at, &value, sizeof value);
}
void Put32(BYTE* at, ULONG value) {
    std::memcpy(at, &value, sizeof value);
}
USHORT Get16(const BYTE* at) {
    USHORT value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
ULONG Get32(const BYTE* at) {
    ULONG value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

bool IsAbsoluteWindowsPath(const WString& path) {
    return (path.size() >= 2 && path[1] == u':') || (!path.empty() && (path[0] == u'\\' || path[0] == u'/'));
}

// A link target as the link stores it: absolute Windows paths become the POSIX
// path of their drive, relative ones stay relative with "/" separators.
bool LinkTargetToPosix(const WString& target, std::string& posix) {
    if (IsAbsoluteWindowsPath(target)) {
        return w32::ToPosixPath(target, posix);
    }
    posix = w32::Utf8(target);
    for (char& c : posix) {
        if (c == '\\') {
            c = '/';
        }
    }
    return true;
}

BOOL GetReparsePoint(w32::FileObject& file, LPVOID out, DWORD outSize, LPDWORD returned) {
    // Only a handle on the link itself (FILE_FLAG_OPEN_REPARSE_POINT) reads it.
    std::vector<char> buf(4096);
    ssize_t n = ::readlinkat(file.fd, "", buf.data(), buf.size());
    if (n < 0) {
        return w32::Fail(ERROR_NOT_A_REPARSE_POINT);
    }
    std::string target(buf.data(), static_cast<size_t>(n));
    WString substitute;
    WString print;
    ULONG flags = 0;
    if (!target.empty() && target[0] == '/') {
        if (!w32::ToWindowsPath(target, print)) {
            return w32::Fail(ERROR_INVALID_REPARSE_DATA);  // the target lies outside every drive
        }
        substitute = kNtPrefix + print;
    } else {
        for (WCHAR c : w32::ToUtf16(target)) {
            print += c == u'/' ? u'\\' : c;
        }
        substitute = print;
        flags = SYMLINK_FLAG_RELATIVE;
    }
    size_t subBytes = substitute.size() * sizeof(WCHAR);
    size_t printBytes = print.size() * sizeof(WCHAR);
    size_t total = kHeaderSize + kSymlinkFixed + subBytes + printBytes;
    if (total > MAXIMUM_REPARSE_DATA_BUFFER_SIZE) {
        return w32::Fail(ERROR_INVALID_REPARSE_DATA);
    }
    std::vector<BYTE> data(total);
    Put32(&data[0], static_cast<ULONG>(IO_REPARSE_TAG_SYMLINK));
    Put16(&data[4], static_cast<USHORT>(total - kHeaderSize));
    Put16(&data[6], 0);
    Put16(&data[8], 0);                                 // substitute name offset
    Put16(&data[10], static_cast<USHORT>(subBytes));    // and length
    Put16(&data[12], static_cast<USHORT>(subBytes));    // print name offset
    Put16(&data[14], static_cast<USHORT>(printBytes));  // and length
    Put32(&data[16], flags);
    std::memcpy(&data[20], substitute.data(), subBytes);
    std::memcpy(&data[20 + subBytes], print.data(), printBytes);
    if (returned) {
        *returned = 0;
    }
    if (!out || outSize < kHeaderSize + kSymlinkFixed) {
        return w32::Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    size_t copied = std::min<size_t>(outSize, total);
    std::memcpy(out, data.data(), copied);
    if (returned) {
        *returned = static_cast<DWORD>(copied);
    }
    return copied < total ? w32::Fail(ERROR_MORE_DATA) : TRUE;
}

// A mount point (junction) or symbolic-link buffer set on an empty directory
// (or empty file) makes it a symbolic link to the target: the nearest thing
// Linux has, and what the callers use junctions for.
BOOL SetReparsePoint(w32::FileObject& file, LPVOID in, DWORD inSize) {
    const BYTE* data = static_cast<const BYTE*>(in);
    if (!data || inSize < kHeaderSize + kMountPointFixed) {
        return w32::Fail(ERROR_INVALID_REPARSE_DATA);
    }
    ULONG tag = Get32(data);
    size_t names;
    if (tag == static_cast<ULONG>(IO_REPARSE_TAG_MOUNT_POINT)) {
        names = kHeaderSize + kMountPointFixed;
    } else if (tag == static_cast<ULONG>(IO_REPARSE_TAG_SYMLINK)) {
        names = kHeaderSize + kSymlinkFixed;
    } else {
        return w32::Fail(ERROR_INVALID_FUNCTION);  // no other kind of reparse point exists here
    }
    size_t offset = Get16(data + 8);
    size_t length = Get16(data + 10);
    if (names > inSize || offset + length > inSize - names || length % sizeof(WCHAR) != 0 || length == 0) {
        return w32::Fail(ERROR_INVALID_REPARSE_DATA);
    }
    WString substitute(length / sizeof(WCHAR), u'\0');
    std::memcpy(&substitute[0], data + names + offset, length);
    if (substitute.compare(0, kNtPrefix.size(), kNtPrefix) == 0) {
        substitute = substitute.substr(kNtPrefix.size());
    }
    while (!substitute.empty() && substitute.back() == 0) {
        substitute.pop_back();
    }
    std::string target;
    if (!LinkTargetToPosix(substitute, target)) {
        return FALSE;
    }
    if (file.posixPath.empty()) {
        return w32::Fail(ERROR_INVALID_FUNCTION);
    }
    const std::string& path = file.posixPath;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) {
        return w32::FailPathErrno(errno, path);
    }
    if (S_ISDIR(st.st_mode)) {
        if (::rmdir(path.c_str()) != 0) {
            return errno == ENOTEMPTY || errno == EEXIST ? w32::Fail(ERROR_DIR_NOT_EMPTY) : w32::FailErrno();
        }
        if (::symlink(target.c_str(), path.c_str()) != 0) {
            int err = errno;
            ::mkdir(path.c_str(), st.st_mode & 07777);
            return w32::FailErrno(err);
        }
        return TRUE;
    }
    if (S_ISREG(st.st_mode) && st.st_size == 0 && tag == static_cast<ULONG>(IO_REPARSE_TAG_SYMLINK)) {
        if (::unlink(path.c_str()) != 0) {
            return w32::FailErrno();
        }
        if (::symlink(target.c_str(), path.c_str()) != 0) {
            return w32::FailErrno();
        }
        return TRUE;
    }
    return w32::Fail(ERROR_DIR_NOT_EMPTY);
}

}  // namespace

BOOLEAN WINAPI CreateSymbolicLinkW(LPCWSTR lpSymlinkFileName, LPCWSTR lpTargetFileName, DWORD dwFlags) {
    if (!lpSymlinkFileName || !lpTargetFileName || !*lpTargetFileName) {
        w32::Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string link;
    std::string target;
    if (!w32::ToPosixPath(lpSymlinkFileName, link) || !LinkTargetToPosix(lpTargetFileName, target)) {
        return FALSE;
    }
    // The directory flag needs no keeping: Linux follows the link to whatever
    // is there, and the directory attribute is read from the target.
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        if (errno == EEXIST) {
            w32::Fail(ERROR_ALREADY_EXISTS);
        } else {
            w32::FailPathErrno(errno, link);
        }
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI CreateHardLinkW(LPCWSTR lpFileName, LPCWSTR lpExistingFileName, LPSECURITY_ATTRIBUTES) {
    std::string link;
    std::string existing;
    if (!lpFileName || !lpExistingFileName || !w32::ToPosixPath(lpFileName, link) ||
        !w32::ToPosixPath(lpExistingFileName, existing)) {
        if (!lpFileName || !lpExistingFileName) {
            w32::Fail(ERROR_INVALID_PARAMETER);
        }
        return FALSE;
    }
    if (::link(existing.c_str(), link.c_str()) != 0) {
        if (errno == EEXIST) {
            return w32::Fail(ERROR_ALREADY_EXISTS);
        }
        // Directories take no hard links on Windows either.
        return errno == EPERM ? w32::Fail(ERROR_ACCESS_DENIED) : w32::FailPathErrno(errno, link);
    }
    return TRUE;
}

BOOL WINAPI DeviceIoControl(HANDLE hDevice, DWORD dwIoControlCode, LPVOID lpInBuffer, DWORD nInBufferSize,
                            LPVOID lpOutBuffer, DWORD nOutBufferSize, LPDWORD lpBytesReturned,
                            LPOVERLAPPED lpOverlapped) {
    auto file = w32::LookupHandleAs<w32::FileObject>(hDevice, w32::HandleKind::File);
    if (!file) {
        return FALSE;
    }
    if (lpBytesReturned) {
        *lpBytesReturned = 0;
    }
    switch (dwIoControlCode) {
    case FSCTL_GET_REPARSE_POINT: return GetReparsePoint(*file, lpOutBuffer, nOutBufferSize, lpBytesReturned);
    case FSCTL_SET_REPARSE_POINT: return SetReparsePoint(*file, lpInBuffer, nInBufferSize);
    default:
        // FSCTL_SET_COMPRESSION: the file systems here offer no compression
        // through this call; IOCTL_STORAGE_EJECT_MEDIA / LOAD_MEDIA: every
        // drive is fixed. Windows answers both, for a file system without
        // compression and a disk without removable media, with "invalid
        // function", and so does every other control here.
        return w32::Fail(ERROR_INVALID_FUNCTION);
    }
}
