// ReplaceFileW over POSIX: one rename() puts the replacement in the place of
// the replaced file, so a reader sees the old contents or the new ones and
// never a mixture. A backup is a hard link to the old file made beforehand.
#include "platform/posix/FileInfo.h"
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Translate(LPCWSTR path, std::string& posix) {
    if (!path || !*path) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    return w32::ToPosixPath(path, posix);
}

// Writes a file's data (or a directory's entries) to the disk.
void SyncPath(const std::string& path, int flags) {
    int fd = w32::RetryEintr([&] { return ::open(path.c_str(), flags | O_CLOEXEC); });
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

BOOL WINAPI ReplaceFileW(LPCWSTR lpReplacedFileName, LPCWSTR lpReplacementFileName, LPCWSTR lpBackupFileName,
                         DWORD dwReplaceFlags, LPVOID lpExclude, LPVOID lpReserved) {
    if (lpExclude || lpReserved) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    std::string replaced;
    std::string replacement;
    std::string backup;
    if (!Translate(lpReplacedFileName, replaced) || !Translate(lpReplacementFileName, replacement)) {
        return FALSE;
    }
    if (lpBackupFileName && *lpBackupFileName && !w32::ToPosixPath(lpBackupFileName, backup)) {
        return FALSE;
    }
    struct stat old;
    if (::lstat(replaced.c_str(), &old) != 0) {
        return w32::FailPathErrno(errno, replaced);
    }
    struct stat fresh;
    if (::lstat(replacement.c_str(), &fresh) != 0) {
        return w32::FailPathErrno(errno, replacement);
    }
    // Only files replace files, and a read-only file is not replaced, as
    // the caller needs write access to it.
    if (!S_ISREG(old.st_mode) || !S_ISREG(fresh.st_mode) || !(old.st_mode & S_IWUSR)) {
        return w32::Fail(ERROR_ACCESS_DENIED);
    }
    if (old.st_dev == fresh.st_dev && old.st_ino == fresh.st_ino) {
        return w32::Fail(ERROR_SHARING_VIOLATION);  // a file cannot replace itself
    }
    if (old.st_dev != fresh.st_dev) {
        return w32::Fail(ERROR_UNABLE_TO_MOVE_REPLACEMENT);  // no single rename across volumes
    }
    // The replacement takes on the old file's permissions and kept attributes.
    ::chmod(replacement.c_str(), old.st_mode & 07777);
    w32::CopyXattrBits(replaced, replacement);
    if (dwReplaceFlags & REPLACEFILE_WRITE_THROUGH) {
        SyncPath(replacement, O_RDONLY);
    }
    if (!backup.empty()) {
        if (::unlink(backup.c_str()) != 0 && errno != ENOENT) {
            return w32::Fail(ERROR_UNABLE_TO_REMOVE_REPLACED);
        }
        if (::link(replaced.c_str(), backup.c_str()) != 0) {
            return w32::Fail(ERROR_UNABLE_TO_REMOVE_REPLACED);
        }
    }
    if (::rename(replacement.c_str(), replaced.c_str()) != 0) {
        if (!backup.empty()) {
            ::unlink(backup.c_str());
        }
        return w32::Fail(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    }
    if (dwReplaceFlags & REPLACEFILE_WRITE_THROUGH) {
        SyncPath(DirectoryOf(replaced), O_RDONLY | O_DIRECTORY);
    }
    return TRUE;
}
