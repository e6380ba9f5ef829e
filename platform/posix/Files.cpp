// File handles: opening with Windows dispositions and flags, reading, writing,
// positions, sizes, times and the standard handles.
#include "platform/posix/FileInfo.h"
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"
#include "platform/posix/Pipes.h"

#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace w32 {

namespace {

const DWORD kReadAccess = GENERIC_READ | GENERIC_ALL | GENERIC_EXECUTE | FILE_READ_DATA | FILE_EXECUTE;
const DWORD kWriteAccess = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA;

// Share modes are not enforced: Linux has no such thing between processes, and
// the layer does not pretend otherwise. One case is kept inside the process,
// because losing data hangs on it: a file this process reads without letting
// writers in (no FILE_SHARE_WRITE) is not opened again for writing. That is
// what refuses copying a file onto itself, which would otherwise truncate the
// source before reading it.
struct ReadersDenyingWrite {
    std::mutex lock;
    std::multiset<std::pair<dev_t, ino_t>> files;
};

ReadersDenyingWrite& Readers() {
    static ReadersDenyingWrite* readers = new ReadersDenyingWrite;
    return *readers;
}

std::shared_ptr<void> HoldAgainstWriters(dev_t dev, ino_t ino) {
    ReadersDenyingWrite& readers = Readers();
    {
        std::lock_guard<std::mutex> guard(readers.lock);
        readers.files.insert({dev, ino});
    }
    return std::shared_ptr<void>(nullptr, [dev, ino](void*) {
        ReadersDenyingWrite& r = Readers();
        std::lock_guard<std::mutex> guard(r.lock);
        auto it = r.files.find({dev, ino});
        if (it != r.files.end()) {
            r.files.erase(it);
        }
    });
}

bool HeldAgainstWriters(dev_t dev, ino_t ino) {
    ReadersDenyingWrite& readers = Readers();
    std::lock_guard<std::mutex> guard(readers.lock);
    return readers.files.count({dev, ino}) > 0;
}

HANDLE InvalidWith(DWORD code) {
    Fail(code);
    return INVALID_HANDLE_VALUE;
}

HANDLE InvalidWithErrno(int err, const std::string& posix) {
    FailPathErrno(err, posix);
    return INVALID_HANDLE_VALUE;
}

HANDLE Register(int fd, bool ownsFd, const std::string& posix, DWORD access, DWORD flags, bool isDirectory) {
    auto file = std::make_shared<FileObject>(fd, ownsFd, posix);
    file->access = access;
    file->flags = flags;
    file->isDirectory = isDirectory;
    file->deleteOnClose = (flags & FILE_FLAG_DELETE_ON_CLOSE) != 0;
    return RegisterHandle(file);
}

// The DOS device names that open anywhere: NUL and CON (also with an
// extension, as "nul.txt" is still NUL on Windows). Empty when not one.
std::string DevicePath(const WString& name, bool explicitDevice) {
    WString base = name;
    size_t slash = base.find_last_of(u"\\/");
    if (slash != WString::npos) {
        base = base.substr(slash + 1);
    }
    if (!explicitDevice) {
        size_t dot = base.find(u'.');
        if (dot != WString::npos) {
            base.resize(dot);
        }
        while (!base.empty() && base.back() == u' ') {
            base.pop_back();
        }
    }
    if (EqualNoCase(base, u"NUL")) {
        return "/dev/null";
    }
    if (EqualNoCase(base, u"CON") || EqualNoCase(base, u"CONIN$") || EqualNoCase(base, u"CONOUT$")) {
        return "/dev/tty";
    }
    return std::string();
}

int OpenFlagsFor(DWORD access) {
    bool read = (access & kReadAccess) != 0;
    bool write = (access & kWriteAccess) != 0;
    int flags = O_CLOEXEC;
    if (read && write) {
        flags |= O_RDWR;
    } else if (write) {
        flags |= O_WRONLY;
    } else {
        flags |= O_RDONLY;
    }
    // Append-only access writes at the end whatever the position.
    if ((access & FILE_APPEND_DATA) && !(access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA))) {
        flags |= O_APPEND;
    }
    return flags;
}

HANDLE OpenDirectory(const std::string& posix, DWORD access, DWORD flags) {
    int fd = RetryEintr([&] { return ::open(posix.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0 && errno == EACCES) {
        fd = ::open(posix.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);  // attributes only
    }
    if (fd < 0) {
        return InvalidWithErrno(errno, posix);
    }
    SetLastError(ERROR_SUCCESS);
    return Register(fd, true, posix, access, flags, true);
}

HANDLE OpenFile(const WString& name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) {
        return InvalidWith(ERROR_INVALID_PARAMETER);
    }
    bool write = (access & kWriteAccess) != 0;
    if (disposition == TRUNCATE_EXISTING && !write) {
        return InvalidWith(ERROR_INVALID_PARAMETER);
    }
    std::string posix;
    if (!ToPosixPath(name, posix)) {
        return INVALID_HANDLE_VALUE;
    }
    bool openLink = (flags & FILE_FLAG_OPEN_REPARSE_POINT) != 0;
    // A plain open of an existing file for reading needs no look first: the
    // open and its fstat below tell a directory and a missing file as well,
    // and nothing is created or truncated. A search opens thousands of them.
    bool plainRead = !write && disposition == OPEN_EXISTING && !openLink && !(flags & FILE_FLAG_BACKUP_SEMANTICS);
    struct stat st;
    bool exists = !plainRead && (openLink ? ::lstat(posix.c_str(), &st) : ::stat(posix.c_str(), &st)) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        if (disposition == CREATE_NEW) {
            return InvalidWith(ERROR_FILE_EXISTS);
        }
        // Directories open only with backup semantics, and never for truncation.
        if (!(flags & FILE_FLAG_BACKUP_SEMANTICS) || disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) {
            return InvalidWith(ERROR_ACCESS_DENIED);
        }
        return OpenDirectory(posix, access, flags);
    }
    if (exists && S_ISLNK(st.st_mode)) {
        // The link itself, for its reparse data or to delete it on close.
        if (disposition == CREATE_NEW) {
            return InvalidWith(ERROR_FILE_EXISTS);
        }
        int fd = ::open(posix.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            return InvalidWithErrno(errno, posix);
        }
        SetLastError(disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS ? ERROR_ALREADY_EXISTS : 0);
        return Register(fd, true, posix, access, flags, false);
    }
    // Windows keeps writers out of read-only files, whoever asks (root included).
    if (exists && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR) &&
        (write || disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING)) {
        return InvalidWith(ERROR_ACCESS_DENIED);
    }
    int oflags = OpenFlagsFor(access);
    if (openLink) {
        oflags |= O_NOFOLLOW;
    }
    bool mayCreate = disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    mode_t mode = 0666;
    int fd = -1;
    bool created = false;
    if (mayCreate) {
        // Try to create first, so that "did it exist" is the kernel's answer.
        fd = RetryEintr([&] { return ::open(posix.c_str(), oflags | O_CREAT | O_EXCL, mode); });
        created = fd >= 0;
        if (fd < 0 && (errno != EEXIST || disposition == CREATE_NEW)) {
            if (errno == EEXIST) {
                return InvalidWith(ERROR_FILE_EXISTS);
            }
            return InvalidWithErrno(errno, posix);
        }
    }
    if (fd < 0) {
        fd = RetryEintr([&] { return ::open(posix.c_str(), oflags); });
        if (fd < 0 && errno == EACCES && (access & (kReadAccess | kWriteAccess)) == 0) {
            fd = ::open(posix.c_str(), O_PATH | O_CLOEXEC | (openLink ? O_NOFOLLOW : 0));  // attributes only
        }
        if (fd < 0) {
            if (errno == EISDIR) {
                return InvalidWith(ERROR_ACCESS_DENIED);
            }
            return InvalidWithErrno(errno, posix);
        }
    }
    struct stat opened;
    if (::fstat(fd, &opened) != 0) {
        int err = errno;
        ::close(fd);
        return InvalidWithErrno(err, posix);
    }
    if (S_ISDIR(opened.st_mode)) {  // became a directory meanwhile
        ::close(fd);
        if (!(flags & FILE_FLAG_BACKUP_SEMANTICS)) {
            return InvalidWith(ERROR_ACCESS_DENIED);
        }
        return OpenDirectory(posix, access, flags);
    }
    if (write && !created && HeldAgainstWriters(opened.st_dev, opened.st_ino)) {
        ::close(fd);
        return InvalidWith(ERROR_SHARING_VIOLATION);
    }
    if (!created && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) && S_ISREG(opened.st_mode)) {
        if (RetryEintr([&] { return ::ftruncate(fd, 0); }) != 0) {
            int err = errno;
            ::close(fd);
            return InvalidWithErrno(err, posix);
        }
    }
    if (created) {
        // The attributes asked for a new file. The handle keeps its write access
        // even when the file itself becomes read-only, as on Windows.
        DWORD bits = flags & kXattrBits;
        if (bits) {
            char text[16];
            int n = std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(bits));
            ::fsetxattr(fd, kAttribXattr, text, static_cast<size_t>(n), 0);  // kept where the fs can
        }
        if (flags & FILE_ATTRIBUTE_READONLY) {
            ::fchmod(fd, opened.st_mode & 07555);
        }
    }
    auto file = std::make_shared<FileObject>(fd, true, posix);
    file->access = access;
    file->flags = flags;
    file->deleteOnClose = (flags & FILE_FLAG_DELETE_ON_CLOSE) != 0;
    if ((access & kReadAccess) && !(share & FILE_SHARE_WRITE) && S_ISREG(opened.st_mode)) {
        file->openRecord = HoldAgainstWriters(opened.st_dev, opened.st_ino);
    }
    HANDLE handle = RegisterHandle(file);
    SetLastError(!created && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS
                                                                                          : ERROR_SUCCESS);
    return handle;
}

HANDLE CreateFileImpl(const WString& name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    if (name.empty()) {
        return InvalidWith(ERROR_PATH_NOT_FOUND);
    }
    std::string utf8 = Utf8(name);
    if (IsNamedPipeName(utf8)) {
        return OpenNamedPipeClient(utf8, access, flags);
    }
    bool devicePrefix = name.size() >= 4 && name[0] == u'\\' && name[1] == u'\\' && name[2] == u'.' && name[3] == u'\\';
    bool longPrefix = name.size() >= 4 && name[0] == u'\\' && name[1] == u'\\' && name[2] == u'?' && name[3] == u'\\';
    if (devicePrefix) {
        WString device = name.substr(4);
        // \\.\X: is the volume of drive X; here the drive's directory stands for it,
        // so that device controls reach the layer and answer as a fixed disk does.
        if (device.size() == 2 && device[1] == u':') {
            const DriveMapItem* drive = FindDrive(device[0]);
            if (!drive) {
                return InvalidWith(ERROR_FILE_NOT_FOUND);
            }
            return OpenDirectory(drive->dir, access, flags);
        }
        std::string path = DevicePath(device, true);
        if (path.empty()) {
            return InvalidWith(ERROR_FILE_NOT_FOUND);
        }
        int fd = RetryEintr([&] { return ::open(path.c_str(), OpenFlagsFor(access)); });
        if (fd < 0) {
            return InvalidWithErrno(errno, path);
        }
        SetLastError(ERROR_SUCCESS);
        return Register(fd, true, std::string(), access, flags, false);
    }
    if (!longPrefix) {
        std::string path = DevicePath(name, false);
        if (!path.empty()) {
            int fd = RetryEintr([&] { return ::open(path.c_str(), OpenFlagsFor(access)); });
            if (fd < 0) {
                return InvalidWithErrno(errno, path);
            }
            SetLastError(ERROR_SUCCESS);
            return Register(fd, true, std::string(), access, flags, false);
        }
    }
    return OpenFile(name, access, share, disposition, flags);
}

std::shared_ptr<FileObject> LookupFile(HANDLE handle) {
    return LookupHandleAs<FileObject>(handle, HandleKind::File);
}

bool IsPathOnly(int fd) {
    return (::fcntl(fd, F_GETFL) & O_PATH) != 0;
}

}  // namespace

}  // namespace w32

using w32::WString;

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    return w32::CreateFileImpl(w32::WideArg(lpFileName), dwDesiredAccess, dwShareMode, dwCreationDisposition,
                               dwFlagsAndAttributes);
}

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    return w32::CreateFileImpl(w32::WideArg(lpFileName), dwDesiredAccess, dwShareMode, dwCreationDisposition,
                               dwFlagsAndAttributes);
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead) {
        *lpNumberOfBytesRead = 0;
    }
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FALSE;
    }
    ssize_t got;
    if (lpOverlapped && !file->isPipe) {
        off_t offset =
            static_cast<off_t>((static_cast<ULONGLONG>(lpOverlapped->OffsetHigh) << 32) | lpOverlapped->Offset);
        got = w32::RetryEintr([&] { return ::pread(file->fd, lpBuffer, nNumberOfBytesToRead, offset); });
    } else {
        got = w32::RetryEintr([&] { return ::read(file->fd, lpBuffer, nNumberOfBytesToRead); });
    }
    if (got < 0) {
        // The handle is valid: a descriptor that refuses reading was opened without read access.
        if (errno == EBADF) {
            return w32::Fail(ERROR_ACCESS_DENIED);
        }
        if (errno == EISDIR) {
            return w32::Fail(ERROR_INVALID_FUNCTION);
        }
        if (errno == EIO) {
            return w32::Fail(ERROR_CRC);  // the medium failed: a read worth retrying
        }
        return w32::FailErrno();
    }
    if (got == 0 && nNumberOfBytesToRead > 0 && file->isPipe) {
        return w32::Fail(ERROR_BROKEN_PIPE);  // the writing end is closed
    }
    if (lpNumberOfBytesRead) {
        *lpNumberOfBytesRead = static_cast<DWORD>(got);
    }
    if (lpOverlapped) {
        // Done at once: the result is there for GetOverlappedResult and the event.
        lpOverlapped->Internal = 0;
        lpOverlapped->InternalHigh = static_cast<ULONG_PTR>(got);
        if (lpOverlapped->hEvent) {
            SetEvent(lpOverlapped->hEvent);
        }
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesWritten) {
        *lpNumberOfBytesWritten = 0;
    }
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FALSE;
    }
    const char* data = static_cast<const char*>(lpBuffer);
    DWORD done = 0;
    off_t offset =
        lpOverlapped && !file->isPipe
            ? static_cast<off_t>((static_cast<ULONGLONG>(lpOverlapped->OffsetHigh) << 32) | lpOverlapped->Offset)
            : -1;
    // Windows writes the whole buffer to a file or pipe before it returns.
    while (done < nNumberOfBytesToWrite) {
        ssize_t put =
            offset >= 0 ? w32::RetryEintr([&] {
                return ::pwrite(file->fd, data + done, nNumberOfBytesToWrite - done, offset + done);
            })
                        : w32::RetryEintr([&] { return ::write(file->fd, data + done, nNumberOfBytesToWrite - done); });
        if (put < 0) {
            if (lpNumberOfBytesWritten) {
                *lpNumberOfBytesWritten = done;
            }
            if (errno == EBADF) {
                return w32::Fail(ERROR_ACCESS_DENIED);
            }
            if (errno == EPIPE && file->isPipe) {
                return w32::Fail(ERROR_NO_DATA);  // "the pipe is being closed"
            }
            return w32::FailErrno();
        }
        done += static_cast<DWORD>(put);
    }
    if (lpNumberOfBytesWritten) {
        *lpNumberOfBytesWritten = done;
    }
    if (lpOverlapped) {
        lpOverlapped->Internal = 0;
        lpOverlapped->InternalHigh = done;
        if (lpOverlapped->hEvent) {
            SetEvent(lpOverlapped->hEvent);
        }
    }
    return TRUE;
}

namespace {

bool Seek(HANDLE hFile, LONGLONG distance, DWORD method, LONGLONG* result) {
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return false;
    }
    int whence = method == FILE_BEGIN     ? SEEK_SET
                 : method == FILE_CURRENT ? SEEK_CUR
                 : method == FILE_END     ? SEEK_END
                                          : -1;
    if (whence < 0) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    off_t current = ::lseek(file->fd, 0, SEEK_CUR);
    off_t base = whence == SEEK_SET ? 0 : current;
    if (whence == SEEK_END) {
        struct stat st;
        if (::fstat(file->fd, &st) != 0) {
            return w32::FailErrno();
        }
        base = st.st_size;
    }
    if (base + distance < 0) {
        return w32::Fail(ERROR_NEGATIVE_SEEK);
    }
    off_t now = ::lseek(file->fd, distance, whence);
    if (now < 0) {
        return w32::FailErrno();
    }
    *result = now;
    return true;
}

}  // namespace

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
    LONGLONG distance =
        lpDistanceToMoveHigh
            ? static_cast<LONGLONG>((static_cast<ULONGLONG>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
                                    static_cast<DWORD>(lDistanceToMove))
            : static_cast<LONGLONG>(lDistanceToMove);
    LONGLONG now = 0;
    if (!Seek(hFile, distance, dwMoveMethod, &now)) {
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh) {
        *lpDistanceToMoveHigh = static_cast<LONG>(now >> 32);
    }
    SetLastError(ERROR_SUCCESS);  // a position whose low part is 0xFFFFFFFF is told apart by this
    return static_cast<DWORD>(now & 0xFFFFFFFF);
}

BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                             DWORD dwMoveMethod) {
    LONGLONG now = 0;
    if (!Seek(hFile, liDistanceToMove.QuadPart, dwMoveMethod, &now)) {
        return FALSE;
    }
    if (lpNewFilePointer) {
        lpNewFilePointer->QuadPart = now;
    }
    return TRUE;
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FALSE;
    }
    off_t position = ::lseek(file->fd, 0, SEEK_CUR);
    if (position < 0) {
        return w32::FailErrno();
    }
    if (w32::RetryEintr([&] { return ::ftruncate(file->fd, position); }) != 0) {
        return errno == EBADF || errno == EINVAL ? w32::Fail(ERROR_ACCESS_DENIED) : w32::FailErrno();
    }
    return TRUE;
}

BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FALSE;
    }
    struct stat st;
    if (::fstat(file->fd, &st) != 0) {
        return w32::FailErrno();
    }
    lpFileSize->QuadPart = S_ISREG(st.st_mode) ? st.st_size : 0;
    return TRUE;
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size)) {
        return INVALID_FILE_SIZE;
    }
    if (lpFileSizeHigh) {
        *lpFileSizeHigh = static_cast<DWORD>(static_cast<ULONGLONG>(size.QuadPart) >> 32);
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size.QuadPart & 0xFFFFFFFF);
}

BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                        LPFILETIME lpLastWriteTime) {
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FALSE;
    }
    struct stat st;
    if (::fstat(file->fd, &st) != 0) {
        return w32::FailErrno();
    }
    if (lpCreationTime) {
        *lpCreationTime = w32::CreationTime(file->fd, "", AT_EMPTY_PATH, st);
    }
    if (lpLastAccessTime) {
        *lpLastAccessTime = w32::FileTimeFromTimespec(st.st_atim);
    }
    if (lpLastWriteTime) {
        *lpLastWriteTime = w32::FileTimeFromTimespec(st.st_mtim);
    }
    return TRUE;
}

BOOL WINAPI GetFileInformationByHandle(HANDLE hFile, LPBY_HANDLE_FILE_INFORMATION lpFileInformation) {
    if (!lpFileInformation) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FALSE;
    }
    struct stat st;
    if (::fstat(file->fd, &st) != 0) {
        return w32::FailErrno();
    }
    w32::FileInfo info;
    if (file->posixPath.empty() || !w32::QueryPathInfo(file->posixPath, w32::BaseName(file->posixPath), info)) {
        info.attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        info.creation = w32::CreationTime(file->fd, "", AT_EMPTY_PATH, st);
        info.access = w32::FileTimeFromTimespec(st.st_atim);
        info.write = w32::FileTimeFromTimespec(st.st_mtim);
    }
    ULONGLONG device = static_cast<ULONGLONG>(st.st_dev);
    ULONGLONG size = S_ISREG(st.st_mode) ? static_cast<ULONGLONG>(st.st_size) : 0;
    ULONGLONG index = static_cast<ULONGLONG>(st.st_ino);
    lpFileInformation->dwFileAttributes = info.attributes;
    lpFileInformation->ftCreationTime = info.creation;
    lpFileInformation->ftLastAccessTime = info.access;
    lpFileInformation->ftLastWriteTime = info.write;
    // Folded so that device numbers wider than 32 bits still tell volumes apart.
    lpFileInformation->dwVolumeSerialNumber = static_cast<DWORD>(device ^ (device >> 32));
    lpFileInformation->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    lpFileInformation->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
    lpFileInformation->nNumberOfLinks = static_cast<DWORD>(st.st_nlink);
    lpFileInformation->nFileIndexHigh = static_cast<DWORD>(index >> 32);
    lpFileInformation->nFileIndexLow = static_cast<DWORD>(index & 0xFFFFFFFF);
    return TRUE;
}

BOOL WINAPI SetFileTime(HANDLE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime,
                        const FILETIME* lpLastWriteTime) {
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FALSE;
    }
    // A null time, a zero time and the "stop updating" value 0xFFFFFFFF:0xFFFFFFFF
    // all leave the time as it is. The creation time cannot be set on Linux: the
    // birth time belongs to the kernel, so it is left alone rather than faked.
    auto convert = [](const FILETIME* ft, struct timespec& ts) {
        bool keep = !ft || (ft->dwLowDateTime == 0 && ft->dwHighDateTime == 0) ||
                    (ft->dwLowDateTime == 0xFFFFFFFF && ft->dwHighDateTime == 0xFFFFFFFF);
        if (keep) {
            ts.tv_sec = 0;
            ts.tv_nsec = UTIME_OMIT;
        } else {
            ts = w32::TimespecFromFileTime(*ft);
        }
    };
    struct timespec times[2];
    convert(lpLastAccessTime, times[0]);
    convert(lpLastWriteTime, times[1]);
    int rc = w32::IsPathOnly(file->fd) && !file->posixPath.empty()
                 ? ::utimensat(AT_FDCWD, file->posixPath.c_str(), times,
                               (file->flags & FILE_FLAG_OPEN_REPARSE_POINT) ? AT_SYMLINK_NOFOLLOW : 0)
                 : ::futimens(file->fd, times);
    if (rc != 0) {
        return errno == EBADF ? w32::Fail(ERROR_ACCESS_DENIED) : w32::FailErrno();
    }
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FALSE;
    }
    if (file->isPipe || w32::IsPathOnly(file->fd)) {
        return TRUE;
    }
    // Character devices and pipes have nothing to flush (EINVAL).
    if (w32::RetryEintr([&] { return ::fsync(file->fd); }) != 0 && errno != EINVAL && errno != EROFS) {
        return w32::FailErrno();
    }
    return TRUE;
}

DWORD WINAPI GetFileType(HANDLE hFile) {
    auto file = w32::LookupFile(hFile);
    if (!file) {
        return FILE_TYPE_UNKNOWN;
    }
    struct stat st;
    if (::fstat(file->fd, &st) != 0) {
        w32::FailErrno();
        return FILE_TYPE_UNKNOWN;
    }
    SetLastError(ERROR_SUCCESS);
    if (S_ISCHR(st.st_mode)) {
        return FILE_TYPE_CHAR;
    }
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) {
        return FILE_TYPE_PIPE;
    }
    return FILE_TYPE_DISK;
}

HANDLE WINAPI GetStdHandle(DWORD nStdHandle) {
    // One handle per standard descriptor for the whole run, made on first use.
    // It does not own the descriptor: closing the handle leaves fds 0-2 (and the
    // C library's streams on them) working, and GetStdHandle then answers with
    // the closed value as Windows does.
    static std::mutex lock;
    static HANDLE handles[3] = {nullptr, nullptr, nullptr};
    int fd = nStdHandle == STD_INPUT_HANDLE    ? 0
             : nStdHandle == STD_OUTPUT_HANDLE ? 1
             : nStdHandle == STD_ERROR_HANDLE  ? 2
                                               : -1;
    if (fd < 0) {
        w32::Fail(ERROR_INVALID_HANDLE);
        return INVALID_HANDLE_VALUE;
    }
    std::lock_guard<std::mutex> guard(lock);
    if (!handles[fd]) {
        auto file = std::make_shared<w32::FileObject>(fd, false, std::string());
        struct stat st;
        file->isPipe = ::fstat(fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
        file->access = fd == 0 ? GENERIC_READ : GENERIC_WRITE;
        handles[fd] = w32::RegisterHandle(file);
    }
    return handles[fd];
}
