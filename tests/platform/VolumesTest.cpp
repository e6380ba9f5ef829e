// Drives and volumes: the mapped letters, their type, volume information, free
// space and volume names.
#include "platform/win32.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using qvtest::TempDir;
using qvtest::U8;
using qvtest::W;
using qvtest::WString;

// The root (X:\) of the drive that holds the temporary folders.
WString TempRoot() {
    WCHAR buf[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    return WString(buf, n).substr(0, 3);
}

TEST(VolumesTest, TheTemporaryDriveIsAFixedLogicalDrive) {
    WString root = TempRoot();
    DWORD drives = GetLogicalDrives();
    WCHAR letter = root[0];
    EXPECT_NE(drives & (1u << (letter - W32TEXT('A'))), 0u);
    EXPECT_EQ(GetDriveTypeW(root.c_str()), static_cast<UINT>(DRIVE_FIXED));
    std::string narrow = U8(root);
    EXPECT_EQ(GetDriveTypeA(narrow.c_str()), static_cast<UINT>(DRIVE_FIXED));
}

TEST(VolumesTest, UnmappedLetterHasNoRoot) {
    DWORD drives = GetLogicalDrives();
    int free = -1;
    for (int i = 25; i >= 3 && free < 0; --i) {
        if (!(drives & (1u << i))) {
            free = i;
        }
    }
    ASSERT_GE(free, 0);
    WString root;
    root += static_cast<WCHAR>(W32TEXT('A') + free);
    root += W(":\\");
    EXPECT_EQ(GetDriveTypeW(root.c_str()), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
}

TEST(VolumesTest, VolumeInformationIsStable) {
    WString root = TempRoot();
    WCHAR label[64];
    WCHAR fsName[64];
    DWORD serial1 = 0, serial2 = 0, maxComponent = 0, flags = 0;
    ASSERT_TRUE(GetVolumeInformationW(root.c_str(), label, 64, &serial1, &maxComponent, &flags, fsName, 64));
    ASSERT_TRUE(GetVolumeInformationW(root.c_str(), nullptr, 0, &serial2, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(serial1, serial2);
    EXPECT_EQ(maxComponent, 255u);
    EXPECT_FALSE(U8(fsName).empty());
    EXPECT_NE(flags & FILE_CASE_PRESERVED_NAMES, 0u);
}

TEST(VolumesTest, FreeSpace) {
    WString root = TempRoot();
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(free.QuadPart, total.QuadPart);
    EXPECT_LE(available.QuadPart, free.QuadPart);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
    EXPECT_GT(sectorsPerCluster * bytesPerSector, 0u);
    EXPECT_GT(totalClusters, 0u);

    TempDir dir;  // any folder of the volume answers for it
    ASSERT_TRUE(GetDiskFreeSpaceExW(dir.Path().c_str(), &available, &total, &free));
    EXPECT_GT(total.QuadPart, 0u);
}

TEST(VolumesTest, VolumePathAndName) {
    TempDir dir;
    WString file = dir.Join(W("f.txt"));
    ASSERT_TRUE(qvtest::WriteFileBytes(file, "v"));
    WCHAR mount[1024];
    ASSERT_TRUE(GetVolumePathNameW(file.c_str(), mount, 1024));
    WString mountPoint = mount;
    ASSERT_GE(mountPoint.size(), 3u);
    EXPECT_EQ(mountPoint.back(), W32TEXT('\\'));
    EXPECT_EQ(U8(dir.Path()).compare(0, mountPoint.size() - 1, U8(mountPoint.substr(0, mountPoint.size() - 1))), 0);

    WCHAR name1[1024];
    WCHAR name2[1024];
    ASSERT_TRUE(GetVolumeNameForVolumeMountPointW(TempRoot().c_str(), name1, 1024));
    ASSERT_TRUE(GetVolumeNameForVolumeMountPointW(TempRoot().c_str(), name2, 1024));
    std::string volume = U8(name1);
    EXPECT_EQ(volume, U8(name2));
    EXPECT_EQ(volume.compare(0, 11, "\\\\?\\Volume{"), 0) << volume;
    EXPECT_EQ(volume.substr(volume.size() - 2), "}\\");
}
}  // namespace
