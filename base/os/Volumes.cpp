#include "base/os/Volumes.h"

#include "base/strings/Utf16String.h"
#include "base/os/PathNormalizer.h"

namespace {

// X:\ with the letter in upper case.
void DriveRoot(char32_t letter, WCHAR* root) {
    if (letter >= 'a' && letter <= 'z') {
        letter -= 'a' - 'A';
    }
    root[0] = static_cast<WCHAR>(letter);
    root[1] = ':';
    root[2] = '\\';
    root[3] = 0;
}

DWORD QueryVolume(char32_t letter, DWORD labelRoom, DWORD& serial, Westring& label) {
    WCHAR root[4];
    DriveRoot(letter, root);
    WCHAR name[81];
    name[0] = 0;
    serial = 0;
    DWORD error = 0;
    if (!GetVolumeInformationW(root, name, labelRoom, &serial, nullptr, nullptr, nullptr, 0)) {
        error = GetLastError();
        name[0] = 0;
    }
    if (GetDriveTypeW(root) == DRIVE_REMOTE) {
        serial = 0;
    }
    label = Westring(name);
    return error;
}

// The root a free-space query takes: X:\ of a drive path, \\server\share\ of a
// UNC path.
Westring SpaceRoot(const Westring& full) {
    if (IsUncPath(full)) {
        return AddTrailingBackslash(UncShareRoot(full));
    }
    return full.Left(3);
}

}  // namespace

DWORD GetVolumeLabelAndSerial(char32_t letter, DWORD& serial, Westring& label) {
    return QueryVolume(letter, 81, serial, label);
}

DWORD GetVolumeLabel(char32_t letter, Westring& label) {
    DWORD serial;
    return QueryVolume(letter, 41, serial, label);
}

DWORD SetVolumeLabel(char32_t letter, const Westring& label) {
    WCHAR root[4];
    DriveRoot(letter, root);
    if (!SetVolumeLabelW(root, Utf16String(label).Data())) {
        return GetLastError();
    }
    return 0;
}

DWORD GetDiskSpace(const Westring& path, uint64_t& total, uint64_t& free, uint64_t& clusterSize) {
    total = free = clusterSize = 0;
    Westring full = path;
    if (NormalizePath(full) != 0) {
        return ERROR_INVALID_NAME;
    }
    Utf16String name(full);
    ULARGE_INTEGER callerFree, totalBytes, totalFree;
    if (!GetDiskFreeSpaceExW(name.Data(), &callerFree, &totalBytes, &totalFree)) {
        return GetLastError();
    }
    total = totalBytes.QuadPart;
    free = totalFree.QuadPart;
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(Utf16String(SpaceRoot(full)).Data(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &clusters)) {
        return GetLastError();
    }
    clusterSize = uint64_t(sectorsPerCluster) * bytesPerSector;
    return 0;
}

Estring GetDriveUncName(char32_t letter) {
    char drive[3] = {static_cast<char>(letter), ':', 0};
    // The answer is a record whose first field points into the same buffer.
    union {
        UNIVERSAL_NAME_INFOA info;
        char bytes[1000];
    } buffer;
    DWORD size = sizeof buffer;
    if (WNetGetUniversalNameA(drive, UNIVERSAL_NAME_INFO_LEVEL, &buffer, &size) != NO_ERROR ||
        buffer.info.lpUniversalName == nullptr) {
        return Estring();
    }
    return Estring(buffer.info.lpUniversalName);
}

Westring GetVolumeNameOfPath(const Westring& path) {
    if (IsUncPath(path)) {
        return UncShareRoot(path);
    }
    if (!HasDrivePrefix(path)) {
        return Westring();
    }
    const DWORD room = 1024;
    WCHAR mountPoint[room];
    WCHAR volume[room];
    Utf16String name(path);
    if (!GetVolumePathNameW(name.Data(), mountPoint, room)) {
        return path.Left(2);
    }
    if (!GetVolumeNameForVolumeMountPointW(mountPoint, volume, room)) {
        // No volume name (a network or substituted drive): the mount point
        // itself tells the volume.
        return Westring(mountPoint);
    }
    return Westring(volume);
}

bool AreOnSameVolume(const Westring& path1, const Westring& path2) {
    Westring second = path2;
    if (NormalizePath(second, path1.Data()) != 0) {
        return false;
    }
    Westring volume1 = GetVolumeNameOfPath(path1);
    return !volume1.IsEmpty() && volume1.EqualsNoCase(GetVolumeNameOfPath(second));
}

bool AreOnDifferentVolumes(const Westring& path1, const Westring& path2) {
    return !AreOnSameVolume(path1, path2);
}
