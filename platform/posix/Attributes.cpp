// File attributes and times as Windows reports them.
#include "platform/posix/FileInfo.h"

#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

// Reading an extended attribute relative to a directory came with Linux 6.13;
// the C library may not name the call yet (its number is the same on every
// architecture).
#if defined(__linux__) && !defined(__NR_getxattrat)
#define __NR_getxattrat 464
#endif

namespace w32 {

const char* const kAttribXattr = "user.quorvane.attrib";

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
const LONGLONG kEpochDelta = 116444736000000000LL;

// The bits kept in the extended attribute, or -1 when it is absent (or the file
// system keeps none).
long ReadXattrBits(const std::string& posix) {
    char buf[32];
    ssize_t n = RetryEintr([&] { return ::lgetxattr(posix.c_str(), kAttribXattr, buf, sizeof buf - 1); });
    if (n <= 0) {
        return -1;
    }
    buf[n] = 0;
    return std::strtol(buf, nullptr, 10) & kXattrBits;
}

long ParseXattrBits(char* buf, ssize_t n) {
    if (n <= 0) {
        return -1;
    }
    buf[n] = 0;
    return std::strtol(buf, nullptr, 10) & kXattrBits;
}

// The kernel's argument block of getxattrat.
struct XattrArgs {
    uint64_t value;
    uint32_t size;
    uint32_t flags;
};

// 1 while the kernel answers getxattrat, 0 once it said it has none.
std::atomic<int> g_haveGetxattrAt{1};

// The kept bits of the entry `name` of an open directory, or -1. Where the
// kernel has no getxattrat, the entry is named through the directory's
// descriptor in /proc, which spares the kernel the walk of the full path.
long ReadXattrBitsAt(int dirfd, const char* name) {
    char buf[32];
#ifdef __NR_getxattrat
    if (g_haveGetxattrAt.load(std::memory_order_relaxed)) {
        XattrArgs args{reinterpret_cast<uint64_t>(buf), sizeof buf - 1, 0};
        long n = RetryEintr([&] {
            return ::syscall(__NR_getxattrat, dirfd, name, AT_SYMLINK_NOFOLLOW, kAttribXattr, &args, sizeof args);
        });
        if (n >= 0 || errno != ENOSYS) {
            return ParseXattrBits(buf, n);
        }
        g_haveGetxattrAt.store(0, std::memory_order_relaxed);
    }
#endif
    char path[64 + 256];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d/%s", dirfd, name);
    ssize_t n = RetryEintr([&] { return ::lgetxattr(path, kAttribXattr, buf, sizeof buf - 1); });
    return ParseXattrBits(buf, n);
}

FILETIME OlderOf(const struct timespec& ctime, const struct timespec& mtime);

// The attribute bits of an entry from what the file system says of it: the
// directory and link bits, read-only from the owner's write permission, the
// bits kept in the extended attribute (asked only of an entry that is not a
// link, through `readKept`), hidden for a dot name. Sets the reparse tag too.
template <class ReadKept>
void ComposeAttributes(bool isDir, bool isLink, mode_t mode, const std::string& name, FileInfo& info,
                       ReadKept readKept) {
    DWORD attributes = 0;
    if (isDir) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
    if (isLink) {
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        info.reparseTag = static_cast<DWORD>(IO_REPARSE_TAG_SYMLINK);
    } else {
        info.reparseTag = 0;
        if (!(mode & S_IWUSR)) {
            attributes |= FILE_ATTRIBUTE_READONLY;
        }
        long kept = readKept();
        if (kept > 0) {
            attributes |= static_cast<DWORD>(kept);
        }
    }
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    if (attributes == 0) {
        attributes = FILE_ATTRIBUTE_NORMAL;
    }
    info.attributes = attributes;
}

// File systems whose files are made up by the kernel as they are read: a walk
// over a whole tree that went into one would read without end or hang.
const char* const kVirtualFileSystems[] = {"proc",    "sysfs",    "devtmpfs", "devpts",     "cgroup",
                                           "cgroup2", "debugfs",  "tracefs",  "securityfs", "pstore",
                                           "bpf",     "configfs", "fusectl",  "mqueue",     "hugetlbfs"};

bool IsVirtualFileSystemType(const char* type) {
    for (const char* name : kVirtualFileSystems) {
        if (std::strcmp(type, name) == 0) {
            return true;
        }
    }
    return false;
}

// The file system type of a mount by its id, from the process's mount table;
// an empty string when the table does not list it.
std::string MountTypeOf(uint64_t mountId) {
    FILE* table = std::fopen("/proc/self/mountinfo", "re");
    if (table == nullptr) {
        return std::string();
    }
    std::string type;
    char line[4096];
    while (std::fgets(line, sizeof line, table) != nullptr) {
        char* end = nullptr;
        unsigned long long id = std::strtoull(line, &end, 10);
        if (end == line || id != mountId) {
            continue;
        }
        // The optional fields end at " - ", after which the type comes.
        const char* dash = std::strstr(line, " - ");
        if (dash != nullptr) {
            const char* start = dash + 3;
            size_t length = std::strcspn(start, " \n");
            type.assign(start, length);
        }
        break;
    }
    std::fclose(table);
    return type;
}

// Whether the mount an entry is the root of is a virtual file system. Mount
// roots are few, and the answers are kept per mount id; without the id the
// file system's magic number answers, for the kinds that have one of their own.
bool IsVirtualMountRoot(int dirfd, const char* name, const struct statx& sx) {
#ifdef STATX_MNT_ID
    if (sx.stx_mask & STATX_MNT_ID) {
        static std::mutex lock;
        static std::map<uint64_t, bool> known;
        std::lock_guard<std::mutex> guard(lock);
        auto found = known.find(sx.stx_mnt_id);
        if (found != known.end()) {
            return found->second;
        }
        bool isVirtual = IsVirtualFileSystemType(MountTypeOf(sx.stx_mnt_id).c_str());
        known[sx.stx_mnt_id] = isVirtual;
        return isVirtual;
    }
#endif
    int fd = ::openat(dirfd, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct statfs fs;
    bool ok = ::fstatfs(fd, &fs) == 0;
    ::close(fd);
    if (!ok) {
        return false;
    }
    static const unsigned long magics[] = {0x9fa0,     0x62656572, 0x1cd1,     0x27e0eb,   0x63677270,
                                           0x64626720, 0x74726163, 0x73636673, 0x6165676C, 0xcafe4a11,
                                           0x62656570, 0x65735543, 0x19800202, 0x958458f6};
    for (unsigned long magic : magics) {
        if (static_cast<unsigned long>(fs.f_type) == magic) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool DirectoryKeepsXattrs(int dirfd) {
    char buf[32];
    ssize_t n = ::fgetxattr(dirfd, kAttribXattr, buf, sizeof buf);
    return n >= 0 || (errno != ENOTSUP && errno != EOPNOTSUPP);
}

bool QueryEntryInfoAt(int dirfd, const char* name, const std::string& hiddenName, bool xattrs, FileInfo& info) {
    struct statx sx;
    int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;
    unsigned int wanted = STATX_BASIC_STATS | STATX_BTIME;
#ifdef STATX_MNT_ID
    wanted |= STATX_MNT_ID;
#endif
    if (RetryEintr([&] { return ::statx(dirfd, name, flags, wanted, &sx); }) != 0) {
        return false;
    }
    bool isLink = S_ISLNK(sx.stx_mode);
    struct stat target;
    bool isDir = S_ISDIR(sx.stx_mode) || (isLink && ::fstatat(dirfd, name, &target, 0) == 0 && S_ISDIR(target.st_mode));
    ComposeAttributes(isDir, isLink, sx.stx_mode, hiddenName, info,
                      [&] { return xattrs ? ReadXattrBitsAt(dirfd, name) : -1L; });
#ifdef STATX_ATTR_MOUNT_ROOT
    // The root of a virtual file system is flagged as Windows flags what the
    // system itself makes up, so that whole-tree walks can pass it by.
    if (S_ISDIR(sx.stx_mode) && (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
        (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT) && IsVirtualMountRoot(dirfd, name, sx)) {
        info.attributes |= FILE_ATTRIBUTE_VIRTUAL;
    }
#endif
    auto spec = [](const struct statx_timestamp& t) {
        struct timespec ts;
        ts.tv_sec = t.tv_sec;
        ts.tv_nsec = t.tv_nsec;
        return ts;
    };
    if (sx.stx_mask & STATX_BTIME) {
        info.creation = FileTimeFromTimespec(spec(sx.stx_btime));
    } else {
        info.creation = OlderOf(spec(sx.stx_ctime), spec(sx.stx_mtime));
    }
    info.access = FileTimeFromTimespec(spec(sx.stx_atime));
    info.write = FileTimeFromTimespec(spec(sx.stx_mtime));
    info.size = S_ISREG(sx.stx_mode) ? static_cast<ULONGLONG>(sx.stx_size) : 0;
    return true;
}

FILETIME FileTimeFromTimespec(const struct timespec& ts) {
    LONGLONG value = static_cast<LONGLONG>(ts.tv_sec) * 10000000LL + ts.tv_nsec / 100 + kEpochDelta;
    if (value < 0) {
        value = 0;
    }
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(value & 0xFFFFFFFF);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(value) >> 32);
    return ft;
}

struct timespec TimespecFromFileTime(const FILETIME& ft) {
    LONGLONG value = static_cast<LONGLONG>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    value -= kEpochDelta;
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(value / 10000000LL);
    LONGLONG rest = value % 10000000LL;
    if (rest < 0) {
        rest += 10000000LL;
        ts.tv_sec -= 1;
    }
    ts.tv_nsec = static_cast<long>(rest * 100);
    return ts;
}

FILETIME CreationTime(int dirfd, const char* path, int flags, const struct stat& st) {
    struct statx sx;
    if (::statx(dirfd, path, flags, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME)) {
        struct timespec ts;
        ts.tv_sec = sx.stx_btime.tv_sec;
        ts.tv_nsec = sx.stx_btime.tv_nsec;
        return FileTimeFromTimespec(ts);
    }
    return OlderOf(st.st_ctim, st.st_mtim);
}

namespace {

FILETIME OlderOf(const struct timespec& ctime, const struct timespec& mtime) {
    return FileTimeFromTimespec(ctime.tv_sec < mtime.tv_sec ? ctime : mtime);
}

}  // namespace

std::string BaseName(const std::string& posix) {
    std::string path = posix;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsDriveRoot(const std::string& posix) {
    std::string path = posix;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    for (const DriveMapItem& item : DriveMap()) {
        if (item.dir == path) {
            return true;
        }
    }
    return false;
}

void InfoFromStat(const std::string& posix, const std::string& name, const struct stat& st, FileInfo& info) {
    bool isLink = S_ISLNK(st.st_mode);
    struct stat target;
    bool isDir = S_ISDIR(st.st_mode) || (isLink && ::stat(posix.c_str(), &target) == 0 && S_ISDIR(target.st_mode));
    ComposeAttributes(isDir, isLink, st.st_mode, name, info, [&] { return ReadXattrBits(posix); });
    info.creation = CreationTime(AT_FDCWD, posix.c_str(), AT_SYMLINK_NOFOLLOW, st);
    info.access = FileTimeFromTimespec(st.st_atim);
    info.write = FileTimeFromTimespec(st.st_mtim);
    info.size = (S_ISREG(st.st_mode)) ? static_cast<ULONGLONG>(st.st_size) : 0;
}

bool QueryPathInfo(const std::string& posix, const std::string& name, FileInfo& info) {
    struct stat st;
    if (::lstat(posix.c_str(), &st) != 0) {
        return FailPathErrno(errno, posix);
    }
    InfoFromStat(posix, name, st, info);
    return true;
}

BOOL WriteAttributes(const std::string& posix, DWORD attributes) {
    struct stat st;
    if (::lstat(posix.c_str(), &st) != 0) {
        return FailPathErrno(errno, posix);
    }
    if (S_ISLNK(st.st_mode)) {
        return TRUE;  // a link has no permissions or attributes of its own here
    }
    // Read-only takes every write permission away; clearing it gives the owner
    // write permission back.
    mode_t mode = st.st_mode & 07777;
    mode_t wanted = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~0222) : (mode | S_IWUSR);
    if (wanted != mode && ::chmod(posix.c_str(), wanted) != 0) {
        return FailPathErrno(errno, posix);
    }
    DWORD bits = attributes & kXattrBits;
    if (bits == 0) {
        if (::lremovexattr(posix.c_str(), kAttribXattr) != 0 && errno != ENODATA && errno != ENOTSUP) {
            return FailPathErrno(errno, posix);
        }
        return TRUE;
    }
    char text[16];
    int n = std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(bits));
    if (::lsetxattr(posix.c_str(), kAttribXattr, text, static_cast<size_t>(n), 0) != 0) {
        // A file system without user extended attributes cannot keep these bits;
        // saying so is better than a success that forgets them.
        return FailPathErrno(errno, posix);
    }
    return TRUE;
}

void CopyXattrBits(const std::string& from, const std::string& to) {
    long bits = ReadXattrBits(from);
    if (bits > 0) {
        char text[16];
        int n = std::snprintf(text, sizeof text, "%ld", bits);
        ::lsetxattr(to.c_str(), kAttribXattr, text, static_cast<size_t>(n), 0);
    }
}

}  // namespace w32

using w32::WString;

namespace {

// The path of a caller, translated; the name that decides the hidden bit.
bool Resolve(LPCWSTR path, std::string& posix, std::string& name) {
    if (!path || !*path) {
        return w32::Fail(ERROR_PATH_NOT_FOUND);
    }
    if (!w32::ToPosixPath(path, posix)) {
        return false;
    }
    name = w32::IsDriveRoot(posix) ? std::string() : w32::BaseName(posix);
    return true;
}

}  // namespace

DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
    std::string posix;
    std::string name;
    w32::FileInfo info;
    if (!Resolve(lpFileName, posix, name) || !w32::QueryPathInfo(posix, name, info)) {
        return INVALID_FILE_ATTRIBUTES;
    }
    return info.attributes;
}

BOOL WINAPI GetFileAttributesExW(LPCWSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation) {
    if (fInfoLevelId != GetFileExInfoStandard || !lpFileInformation) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    std::string posix;
    std::string name;
    w32::FileInfo info;
    if (!Resolve(lpFileName, posix, name) || !w32::QueryPathInfo(posix, name, info)) {
        return FALSE;
    }
    WIN32_FILE_ATTRIBUTE_DATA* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation);
    data->dwFileAttributes = info.attributes;
    data->ftCreationTime = info.creation;
    data->ftLastAccessTime = info.access;
    data->ftLastWriteTime = info.write;
    data->nFileSizeHigh = static_cast<DWORD>(info.size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(info.size & 0xFFFFFFFF);
    return TRUE;
}

BOOL WINAPI SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
    std::string posix;
    std::string name;
    if (!Resolve(lpFileName, posix, name)) {
        return FALSE;
    }
    return w32::WriteAttributes(posix, dwFileAttributes);
}

DWORD WINAPI GetCompressedFileSizeW(LPCWSTR lpFileName, LPDWORD lpFileSizeHigh) {
    // Nothing is compressed here: the size on disk is the file's size.
    std::string posix;
    std::string name;
    struct stat st;
    if (!Resolve(lpFileName, posix, name)) {
        return INVALID_FILE_SIZE;
    }
    if (::stat(posix.c_str(), &st) != 0) {
        w32::FailPathErrno(errno, posix);
        return INVALID_FILE_SIZE;
    }
    ULONGLONG size = S_ISREG(st.st_mode) ? static_cast<ULONGLONG>(st.st_size) : 0;
    if (lpFileSizeHigh) {
        *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size & 0xFFFFFFFF);
}
