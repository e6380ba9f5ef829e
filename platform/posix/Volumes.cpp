// Drives and volumes: every mapped drive letter is a fixed volume of its own.
#include "platform/posix/HandleObject.h"
#include "platform/posix/Paths.h"
#include "platform/posix/Shares.h"

#include <cstdio>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>

namespace {

using w32::DriveMapItem;
using w32::WString;

// A drive named by a root "X:\" (or "X:"), or the current drive for null.
// Sets the error Windows gives for what is not a mapped drive.
const DriveMapItem* DriveOfRoot(LPCWSTR root, bool requireBackslash) {
    WString path = root ? WString(root) : w32::CurrentDirectory().substr(0, 3);
    if (path.size() >= 2 && (path[0] == u'\\' || path[0] == u'/') && (path[1] == u'\\' || path[1] == u'/')) {
        w32::Fail(ERROR_BAD_NETPATH);
        return nullptr;
    }
    if (path.size() < 2 || path[1] != u':') {
        w32::Fail(ERROR_INVALID_NAME);
        return nullptr;
    }
    bool hasBackslash = path.size() >= 3 && (path[2] == u'\\' || path[2] == u'/');
    if ((requireBackslash && !hasBackslash) || path.size() > 3) {
        w32::Fail(ERROR_INVALID_NAME);
        return nullptr;
    }
    const DriveMapItem* drive = w32::FindDrive(path[0]);
    if (!drive) {
        w32::Fail(ERROR_PATH_NOT_FOUND);
    }
    return drive;
}

uint64_t Fnv1a(const std::string& text) {
    uint64_t hash = 1469598103934665603ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

// Stable from run to run: made from the letter and the directory only.
DWORD SerialOf(const DriveMapItem& drive) {
    uint64_t hash = Fnv1a(std::string(1, drive.letter) + ":" + drive.dir);
    return static_cast<DWORD>(hash ^ (hash >> 32));
}

struct FsName {
    unsigned long magic;
    const char* name;
};

// statfs's magic numbers and the names the Linux tools give them.
const FsName kFsNames[] = {
    {0xEF53, "ext4"},  // ext2, ext3 and ext4 share one magic number
    {0x01021994, "tmpfs"},    {0x9123683E, "btrfs"}, {0x58465342, "xfs"},      {0x794C7630, "overlay"},
    {0x2FC12FC1, "zfs"},      {0xF2F52010, "f2fs"},  {0x6969, "nfs"},          {0xFF534D42, "cifs"},
    {0x65735546, "fuse"},     {0x4D44, "FAT"},       {0x2011BAB0, "exFAT"},    {0x5346544E, "NTFS"},
    {0x9660, "iso9660"},      {0x15013346, "udf"},   {0x73717368, "squashfs"}, {0x62656572, "sysfs"},
    {0x9FA0, "proc"},         {0x1CD1, "devpts"},    {0x01021997, "v9fs"},     {0x858458F6, "ramfs"},
    {0xCA451A4E, "bcachefs"},
};

WString FsNameOf(const std::string& dir, DWORD* flags, DWORD* maxComponent) {
    struct statfs fs;
    std::string name = "unknown";
    DWORD volumeFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK |
                        FILE_SUPPORTS_REPARSE_POINTS | FILE_SUPPORTS_HARD_LINKS;
    DWORD component = 255;
    if (::statfs(dir.c_str(), &fs) == 0) {
        for (const FsName& row : kFsNames) {
            if (static_cast<unsigned long>(fs.f_type) == row.magic) {
                name = row.name;
            }
        }
        if (fs.f_flags & ST_RDONLY) {
            volumeFlags |= FILE_READ_ONLY_VOLUME;
        }
        if (fs.f_namelen > 0) {
            component = static_cast<DWORD>(fs.f_namelen);
        }
    }
    if (flags) {
        *flags = volumeFlags;
    }
    if (maxComponent) {
        *maxComponent = component;
    }
    return w32::ToUtf16(name);
}

bool FillText(const WString& text, LPWSTR buffer, DWORD size) {
    if (!buffer) {
        return true;
    }
    if (size <= text.size()) {
        return false;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return true;
}

bool StatVolume(LPCWSTR path, struct statvfs& vfs) {
    WString full;
    w32::PathForm form;
    DWORD error = w32::FullPath(path ? WString(path) : w32::CurrentDirectory(), full, &form);
    if (error) {
        return w32::Fail(error);
    }
    std::string posix;
    if (!w32::ToPosixPath(full, posix)) {
        return false;
    }
    if (::statvfs(posix.c_str(), &vfs) != 0) {
        return w32::FailPathErrno(errno, posix);
    }
    return true;
}

}  // namespace

DWORD WINAPI GetLogicalDrives() {
    DWORD mask = 0;
    for (const DriveMapItem& item : w32::DriveMap()) {
        mask |= 1u << (item.letter - 'A');
    }
    mask |= w32::ConnectedDriveMask();
    SetLastError(ERROR_SUCCESS);
    return mask;
}

UINT WINAPI GetDriveTypeW(LPCWSTR lpRootPathName) {
    const DriveMapItem* drive = DriveOfRoot(lpRootPathName, false);
    if (drive == nullptr) {
        return DRIVE_NO_ROOT_DIR;
    }
    return w32::FindConnectedDrive(static_cast<WCHAR>(drive->letter)) == drive ? DRIVE_REMOTE : DRIVE_FIXED;
}

UINT WINAPI GetDriveTypeA(LPCSTR lpRootPathName) {
    if (!lpRootPathName) {
        return GetDriveTypeW(nullptr);
    }
    WString root = w32::WideArg(lpRootPathName);
    return GetDriveTypeW(root.c_str());
}

BOOL WINAPI GetVolumeInformationW(LPCWSTR lpRootPathName, LPWSTR lpVolumeNameBuffer, DWORD nVolumeNameSize,
                                  LPDWORD lpVolumeSerialNumber, LPDWORD lpMaximumComponentLength,
                                  LPDWORD lpFileSystemFlags, LPWSTR lpFileSystemNameBuffer, DWORD nFileSystemNameSize) {
    const DriveMapItem* drive = DriveOfRoot(lpRootPathName, true);
    if (!drive) {
        return FALSE;
    }
    struct stat st;
    if (::stat(drive->dir.c_str(), &st) != 0) {
        return w32::Fail(ERROR_NOT_READY);  // the mapped directory is gone: like a drive without its medium
    }
    WString fsName = FsNameOf(drive->dir, lpFileSystemFlags, lpMaximumComponentLength);
    if (!FillText(w32::ToUtf16(drive->label), lpVolumeNameBuffer, nVolumeNameSize) ||
        !FillText(fsName, lpFileSystemNameBuffer, nFileSystemNameSize)) {
        return w32::Fail(ERROR_BAD_LENGTH);
    }
    if (lpVolumeSerialNumber) {
        *lpVolumeSerialNumber = SerialOf(*drive);
    }
    return TRUE;
}

BOOL WINAPI SetVolumeLabelW(LPCWSTR lpRootPathName, LPCWSTR lpVolumeName) {
    // Labels come from the drive map, which is the user's configuration; a
    // label changed only inside the process would be forgotten at exit, so the
    // layer answers as a volume the user may not relabel.
    if (!DriveOfRoot(lpRootPathName, true)) {
        return FALSE;
    }
    return w32::Fail(ERROR_ACCESS_DENIED);
}

BOOL WINAPI GetDiskFreeSpaceW(LPCWSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                              LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters) {
    struct statvfs vfs;
    if (!StatVolume(lpRootPathName, vfs)) {
        return FALSE;
    }
    // A cluster is the file system's block, counted in 512-byte sectors; the
    // counts stop at the 32-bit maximum, as Windows reports large volumes here.
    unsigned long block = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    DWORD sectorSize = 512;
    DWORD sectors = static_cast<DWORD>(block >= sectorSize ? block / sectorSize : 1);
    auto clamp = [](unsigned long long value) {
        return static_cast<DWORD>(value > 0xFFFFFFFFULL ? 0xFFFFFFFFULL : value);
    };
    if (lpSectorsPerCluster) {
        *lpSectorsPerCluster = sectors;
    }
    if (lpBytesPerSector) {
        *lpBytesPerSector = sectorSize;
    }
    if (lpNumberOfFreeClusters) {
        *lpNumberOfFreeClusters = clamp(vfs.f_bavail);
    }
    if (lpTotalNumberOfClusters) {
        *lpTotalNumberOfClusters = clamp(vfs.f_blocks);
    }
    return TRUE;
}

BOOL WINAPI GetDiskFreeSpaceExW(LPCWSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                                PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes) {
    struct statvfs vfs;
    if (!StatVolume(lpDirectoryName, vfs)) {
        return FALSE;
    }
    ULONGLONG block = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    if (lpFreeBytesAvailableToCaller) {
        lpFreeBytesAvailableToCaller->QuadPart = static_cast<ULONGLONG>(vfs.f_bavail) * block;
    }
    if (lpTotalNumberOfBytes) {
        lpTotalNumberOfBytes->QuadPart = static_cast<ULONGLONG>(vfs.f_blocks) * block;
    }
    if (lpTotalNumberOfFreeBytes) {
        lpTotalNumberOfFreeBytes->QuadPart = static_cast<ULONGLONG>(vfs.f_bfree) * block;
    }
    return TRUE;
}

BOOL WINAPI GetVolumePathNameW(LPCWSTR lpszFileName, LPWSTR lpszVolumePathName, DWORD cchBufferLength) {
    WString full;
    w32::PathForm form;
    DWORD error = w32::FullPath(w32::WideArg(lpszFileName), full, &form);
    if (error) {
        return w32::Fail(error);
    }
    // The volume of a path is its drive: the drive's root is its mount point.
    WString mount;
    if (form == w32::PathForm::Unc) {
        size_t server = full.find(u'\\', 2);
        size_t share = server == WString::npos ? WString::npos : full.find(u'\\', server + 1);
        mount = share == WString::npos ? full + u'\\' : full.substr(0, share + 1);
    } else if (form == w32::PathForm::Drive && full.size() >= 2 && full[1] == u':') {
        mount = full.substr(0, 2) + u'\\';
    } else {
        return w32::Fail(ERROR_INVALID_NAME);
    }
    if (!FillText(mount, lpszVolumePathName, cchBufferLength)) {
        return w32::Fail(ERROR_FILENAME_EXCED_RANGE);
    }
    return TRUE;
}

BOOL WINAPI GetVolumeNameForVolumeMountPointW(LPCWSTR lpszVolumeMountPoint, LPWSTR lpszVolumeName,
                                              DWORD cchBufferLength) {
    if (!lpszVolumeMountPoint) {
        return w32::Fail(ERROR_INVALID_PARAMETER);
    }
    const DriveMapItem* drive = DriveOfRoot(lpszVolumeMountPoint, true);
    if (!drive) {
        return FALSE;
    }
    // A volume GUID made from the letter and the directory: the same drive map
    // gives the same names in every run.
    uint64_t a = Fnv1a(std::string("volume:") + drive->letter + ":" + drive->dir);
    uint64_t b = Fnv1a(drive->dir + ":" + drive->letter + ":volume");
    char text[64];
    std::snprintf(text, sizeof text, "\\\\?\\Volume{%08x-%04x-%04x-%04x-%012llx}\\", static_cast<unsigned>(a >> 32),
                  static_cast<unsigned>((a >> 16) & 0xFFFF), static_cast<unsigned>(a & 0xFFFF),
                  static_cast<unsigned>(b >> 48), static_cast<unsigned long long>(b & 0xFFFFFFFFFFFFULL));
    if (!FillText(w32::ToUtf16(text), lpszVolumeName, cchBufferLength)) {
        return w32::Fail(ERROR_FILENAME_EXCED_RANGE);
    }
    return TRUE;
}
