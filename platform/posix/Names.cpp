// Operations on names: directories made and removed, files deleted, moved and
// copied, with the rules Windows keeps (no silent replacing, read-only files
// stay, moves across file systems copy).
#include "platform/posix/FileInfo.h"
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using w32::WString;

bool Translate(LPCWSTR path, std::string& posix) {
    if (!path || !*path) {
        return w32::Fail(ERROR_PATH_NOT_FOUND);
    }
    return w32::ToPosixPath(path, posix);
}

bool IsDirectoryLink(const std::string& posix, const struct stat& lst) {
    struct stat target;
    return S_ISLNK(lst.st_mode) && ::stat(posix.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
}

struct Progress {
    LPPROGRESS_ROUTINE routine = nullptr;
    LPVOID data = nullptr;
    LPBOOL cancel = nullptr;
};

// Copies a regular file's bytes, times, permissions and kept attributes to a
// new file (or over an existing one when `replace`). On failure the partial
// target is removed and the last error set.
bool CopyRegularFile(const std::string& from, const std::string& to, bool replace, const Progress& progress) {
    int in = w32::RetryEintr([&] { return ::open(from.c_str(), O_RDONLY | O_CLOEXEC); });
    if (in < 0) {
        return w32::FailPathErrno(errno, from);
    }
    struct stat src;
    if (::fstat(in, &src) != 0 || !S_ISREG(src.st_mode)) {
        ::close(in);
        return w32::Fail(ERROR_ACCESS_DENIED);
    }
    struct stat dst;
    if (::stat(to.c_str(), &dst) == 0) {
        if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
            // A file copied onto itself would be truncated before it is read;
            // Windows refuses it as a sharing violation on the open source.
            ::close(in);
            return w32::Fail(ERROR_SHARING_VIOLATION);
        }
        if (!replace) {
            ::close(in);
            return w32::Fail(ERROR_FILE_EXISTS);
        }
        if (S_ISDIR(dst.st_mode) || !(dst.st_mode & S_IWUSR)) {
            ::close(in);
            return w32::Fail(ERROR_ACCESS_DENIED);
        }
    }
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (replace ? O_TRUNC : O_EXCL);
    int out = w32::RetryEintr([&] { return ::open(to.c_str(), flags, (src.st_mode & 0777) | S_IWUSR); });
    if (out < 0) {
        int err = errno;
        ::close(in);
        if (err == EEXIST) {
            return w32::Fail(ERROR_FILE_EXISTS);
        }
        return w32::FailPathErrno(err, to);
    }
    auto abandon = [&](DWORD code, int err) {
        ::close(in);
        ::close(out);
        ::unlink(to.c_str());
        return code ? w32::Fail(code) : w32::FailErrno(err);
    };
    LARGE_INTEGER total;
    total.QuadPart = src.st_size;
    LARGE_INTEGER done;
    done.QuadPart = 0;
    bool quiet = progress.routine == nullptr;
    auto report = [&](DWORD reason) -> DWORD {
        if (quiet) {
            return PROGRESS_CONTINUE;
        }
        DWORD answer = progress.routine(total, done, total, done, 1, reason, nullptr, nullptr, progress.data);
        if (answer == PROGRESS_QUIET) {
            quiet = true;
            return PROGRESS_CONTINUE;
        }
        return answer;
    };
    if (report(CALLBACK_STREAM_SWITCH) != PROGRESS_CONTINUE) {
        return abandon(ERROR_REQUEST_ABORTED, 0);
    }
    // The kernel copies between the files itself where it can (no trip
    // through user memory, and extents shared where the file system allows),
    // in pieces so that progress is reported and a cancel is seen; where it
    // cannot, the bytes go through a buffer.
    const size_t piece = 8 << 20;
    bool kernelCopy = true;
    std::vector<char> buffer;
    for (;;) {
        if (progress.cancel && *progress.cancel) {
            return abandon(ERROR_REQUEST_ABORTED, 0);
        }
        if (kernelCopy) {
            ssize_t moved = w32::RetryEintr([&] { return ::copy_file_range(in, nullptr, out, nullptr, piece, 0); });
            if (moved > 0) {
                done.QuadPart += moved;
                if (report(CALLBACK_CHUNK_FINISHED) != PROGRESS_CONTINUE) {
                    return abandon(ERROR_REQUEST_ABORTED, 0);
                }
                continue;
            }
            if (moved == 0) {
                break;
            }
            if (errno == EIO) {
                return abandon(ERROR_CRC, 0);
            }
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP && errno != EBADF &&
                errno != EPERM) {
                return abandon(0, errno);
            }
            kernelCopy = false;
        }
        if (buffer.empty()) {
            buffer.resize(1 << 20);
        }
        ssize_t got = w32::RetryEintr([&] { return ::read(in, buffer.data(), buffer.size()); });
        if (got < 0) {
            // A failing medium is a read error the caller may retry.
            return errno == EIO ? abandon(ERROR_CRC, 0) : abandon(0, errno);
        }
        if (got == 0) {
            break;
        }
        for (ssize_t put = 0; put < got;) {
            ssize_t n =
                w32::RetryEintr([&] { return ::write(out, buffer.data() + put, static_cast<size_t>(got - put)); });
            if (n < 0) {
                return abandon(0, errno);
            }
            put += n;
        }
        done.QuadPart += got;
        if (report(CALLBACK_CHUNK_FINISHED) != PROGRESS_CONTINUE) {
            return abandon(ERROR_REQUEST_ABORTED, 0);
        }
    }
    struct timespec times[2] = {src.st_atim, src.st_mtim};
    ::futimens(out, times);
    ::fchmod(out, src.st_mode & 07777);
    ::close(in);
    if (::close(out) != 0) {
        int err = errno;
        ::unlink(to.c_str());
        return w32::FailErrno(err);
    }
    w32::CopyXattrBits(from, to);
    return true;
}

// Moves across file systems: a file is copied and then removed, a link made
// anew; a directory cannot move there, as on Windows.
bool MoveAcross(const std::string& from, const std::string& to, const struct stat& lst, bool replace) {
    if (S_ISDIR(lst.st_mode)) {
        return w32::Fail(ERROR_NOT_SAME_DEVICE);
    }
    if (S_ISLNK(lst.st_mode)) {
        std::vector<char> target(4096);
        ssize_t n = ::readlink(from.c_str(), target.data(), target.size() - 1);
        if (n < 0) {
            return w32::FailPathErrno(errno, from);
        }
        target[static_cast<size_t>(n)] = 0;
        if (replace) {
            ::unlink(to.c_str());
        }
        if (::symlink(target.data(), to.c_str()) != 0) {
            return errno == EEXIST ? w32::Fail(ERROR_ALREADY_EXISTS) : w32::FailPathErrno(errno, to);
        }
    } else {
        if (!CopyRegularFile(from, to, replace, Progress())) {
            return GetLastError() == ERROR_FILE_EXISTS ? w32::Fail(ERROR_ALREADY_EXISTS) : false;
        }
    }
    if (::unlink(from.c_str()) != 0) {
        int err = errno;
        ::unlink(to.c_str());  // the move did not happen: leave the source as it was
        return w32::FailPathErrno(err, from);
    }
    return true;
}

// A rename that must not replace: the kernel's no-replace rename, atomic; where
// the file system refuses that flag, a hard link (also atomic) for files, and
// only for directories a check followed by a rename.
int RenameNoReplace(const std::string& from, const std::string& to, bool isDir) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return -1;
    }
    if (!isDir) {
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return 0;
        }
        if (errno != EPERM && errno != ENOTSUP && errno != EMLINK) {
            return -1;
        }
    }
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

BOOL MoveImpl(LPCWSTR existing, LPCWSTR target, DWORD flags) {
    std::string from;
    std::string to;
    if (!Translate(existing, from) || !Translate(target, to)) {
        return FALSE;
    }
    struct stat lst;
    if (::lstat(from.c_str(), &lst) != 0) {
        return w32::FailPathErrno(errno, from);
    }
    if (from == to) {
        return TRUE;
    }
    bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
    bool isDir = S_ISDIR(lst.st_mode);
    int rc;
    if (replace) {
        struct stat dst;
        if (::lstat(to.c_str(), &dst) == 0 &&
            (S_ISDIR(dst.st_mode) || (S_ISREG(dst.st_mode) && !(dst.st_mode & S_IWUSR)))) {
            return w32::Fail(ERROR_ACCESS_DENIED);  // Windows replaces neither directories nor read-only files
        }
        rc = ::rename(from.c_str(), to.c_str());
    } else {
        rc = RenameNoReplace(from, to, isDir);
    }
    if (rc == 0) {
        return TRUE;
    }
    int err = errno;
    if (err == EXDEV) {
        if (!(flags & MOVEFILE_COPY_ALLOWED) && !isDir) {
            return w32::Fail(ERROR_NOT_SAME_DEVICE);
        }
        return MoveAcross(from, to, lst, replace);
    }
    if (err == EEXIST || err == ENOTEMPTY) {
        return w32::Fail(ERROR_ALREADY_EXISTS);
    }
    if (err == EINVAL) {
        return w32::Fail(ERROR_ACCESS_DENIED);  // a directory into itself
    }
    return w32::FailPathErrno(err, to);
}

}  // namespace

BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes) {
    std::string posix;
    if (!Translate(lpPathName, posix)) {
        return FALSE;
    }
    if (::mkdir(posix.c_str(), 0777) != 0) {
        if (errno == EEXIST) {
            return w32::Fail(ERROR_ALREADY_EXISTS);
        }
        return errno == ENOENT ? w32::Fail(ERROR_PATH_NOT_FOUND) : w32::FailPathErrno(errno, posix);
    }
    return TRUE;
}

BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName) {
    std::string posix;
    if (!Translate(lpPathName, posix)) {
        return FALSE;
    }
    struct stat lst;
    if (::lstat(posix.c_str(), &lst) != 0) {
        return w32::FailPathErrno(errno, posix);
    }
    if (S_ISLNK(lst.st_mode)) {
        // A directory link goes as a directory does; its target stays.
        if (!IsDirectoryLink(posix, lst)) {
            return w32::Fail(ERROR_DIRECTORY);
        }
        return ::unlink(posix.c_str()) == 0 ? TRUE : w32::FailPathErrno(errno, posix);
    }
    if (!S_ISDIR(lst.st_mode)) {
        return w32::Fail(ERROR_DIRECTORY);
    }
    if (!(lst.st_mode & S_IWUSR)) {
        return w32::Fail(ERROR_ACCESS_DENIED);  // read-only
    }
    if (::rmdir(posix.c_str()) != 0) {
        if (errno == ENOTEMPTY || errno == EEXIST) {
            return w32::Fail(ERROR_DIR_NOT_EMPTY);
        }
        return w32::FailPathErrno(errno, posix);
    }
    return TRUE;
}

BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
    std::string posix;
    if (!Translate(lpFileName, posix)) {
        return FALSE;
    }
    struct stat lst;
    if (::lstat(posix.c_str(), &lst) != 0) {
        return w32::FailPathErrno(errno, posix);
    }
    // Directories, directory links included, go with RemoveDirectoryW; a
    // read-only file stays, whoever asks.
    if (S_ISDIR(lst.st_mode) || IsDirectoryLink(posix, lst) || (S_ISREG(lst.st_mode) && !(lst.st_mode & S_IWUSR))) {
        return w32::Fail(ERROR_ACCESS_DENIED);
    }
    if (::unlink(posix.c_str()) != 0) {
        return errno == EISDIR ? w32::Fail(ERROR_ACCESS_DENIED) : w32::FailPathErrno(errno, posix);
    }
    return TRUE;
}

BOOL WINAPI MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
    return MoveImpl(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL WINAPI MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
    if (!lpNewFileName) {
        return w32::Fail(ERROR_INVALID_PARAMETER);  // delete-at-reboot has no meaning here
    }
    return MoveImpl(lpExistingFileName, lpNewFileName, dwFlags);
}

BOOL WINAPI CopyFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, LPPROGRESS_ROUTINE lpProgressRoutine,
                        LPVOID lpData, LPBOOL pbCancel, DWORD dwCopyFlags) {
    std::string from;
    std::string to;
    if (!Translate(lpExistingFileName, from) || !Translate(lpNewFileName, to)) {
        return FALSE;
    }
    Progress progress;
    progress.routine = lpProgressRoutine;
    progress.data = lpData;
    progress.cancel = pbCancel;
    return CopyRegularFile(from, to, !(dwCopyFlags & COPY_FILE_FAIL_IF_EXISTS), progress) ? TRUE : FALSE;
}

BOOL WINAPI CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
    return CopyFileExW(lpExistingFileName, lpNewFileName, nullptr, nullptr, nullptr,
                       bFailIfExists ? COPY_FILE_FAIL_IF_EXISTS : 0);
}
