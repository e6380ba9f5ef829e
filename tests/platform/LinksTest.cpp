// Symbolic links and their reparse data, junctions made through
// FSCTL_SET_REPARSE_POINT, and the device controls that a system without
// compression or removable media refuses.
#include "platform/win32.h"
#include "tests/support/TempDir.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using qvtest::TempDir;
using qvtest::U8;
using qvtest::W;
using qvtest::WString;

const DWORD kTagSymlink = 0xA000000C;
const DWORD kTagMountPoint = 0xA0000003;

// The reparse data read field by field from its documented byte layout, so
// the test needs no record definition of either system.
struct ReparseData {
    DWORD tag = 0;
    WString substitute;
    WString print;
    DWORD flags = 0;
};

USHORT Get16(const std::vector<BYTE>& b, size_t at) {
    USHORT v;
    std::memcpy(&v, &b[at], 2);
    return v;
}

DWORD Get32(const std::vector<BYTE>& b, size_t at) {
    DWORD v;
    std::memcpy(&v, &b[at], 4);
    return v;
}

WString NameAt(const std::vector<BYTE>& b, size_t base, USHORT offset, USHORT length) {
    WString name(length / sizeof(WCHAR), W32TEXT('\0'));
    std::memcpy(&name[0], &b[base + offset], length);
    return name;
}

bool ReadReparse(const WString& path, ReparseData& out) {
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::vector<BYTE> b(8020);
    DWORD got = 0;
    BOOL ok =
        DeviceIoControl(h, FSCTL_GET_REPARSE_POINT, nullptr, 0, b.data(), static_cast<DWORD>(b.size()), &got, nullptr);
    DWORD error = GetLastError();
    CloseHandle(h);
    if (!ok) {
        SetLastError(error);
        return false;
    }
    out.tag = Get32(b, 0);
    if (out.tag == kTagSymlink) {
        out.substitute = NameAt(b, 20, Get16(b, 8), Get16(b, 10));
        out.print = NameAt(b, 20, Get16(b, 12), Get16(b, 14));
        out.flags = Get32(b, 16);
    } else if (out.tag == kTagMountPoint) {
        out.substitute = NameAt(b, 16, Get16(b, 8), Get16(b, 10));
        out.print = NameAt(b, 16, Get16(b, 12), Get16(b, 14));
    }
    return true;
}

bool LinksUnsupported(DWORD error) {
    return error == ERROR_PRIVILEGE_NOT_HELD || error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ||
           error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_ACCESS_DENIED;
}

TEST(LinksTest, SymbolicLinkReparseData) {
    TempDir dir;
    WString target = dir.Join(W("target.txt"));
    ASSERT_TRUE(qvtest::WriteFileBytes(target, "through the link"));
    WString link = dir.Join(W("link.txt"));
    if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), 0)) {
        DWORD error = GetLastError();
        if (LinksUnsupported(error)) {
            GTEST_SKIP() << "this system does not let the test create symbolic links (error " << error << ")";
        }
        FAIL() << "CreateSymbolicLinkW failed with " << error;
    }
    DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this system makes symbolic links it cannot examine (wine 8), error " << GetLastError();
    }
    EXPECT_NE(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(qvtest::ReadFileBytes(link), "through the link");

    ReparseData data;
    ASSERT_TRUE(ReadReparse(link, data)) << GetLastError();
    EXPECT_EQ(data.tag, kTagSymlink);
    EXPECT_EQ(U8(data.substitute), "\\??\\" + U8(target));
    EXPECT_EQ(U8(data.print), U8(target));
    EXPECT_EQ(data.flags & SYMLINK_FLAG_RELATIVE, 0u);

    // A relative target stays relative.
    WString relative = dir.Join(W("relative.txt"));
    ASSERT_TRUE(CreateSymbolicLinkW(relative.c_str(), W("target.txt").c_str(), 0));
    ASSERT_TRUE(ReadReparse(relative, data));
    EXPECT_EQ(U8(data.substitute), "target.txt");
    EXPECT_NE(data.flags & SYMLINK_FLAG_RELATIVE, 0u);
    EXPECT_EQ(qvtest::ReadFileBytes(relative), "through the link");

    // A plain file is no reparse point.
    EXPECT_FALSE(ReadReparse(target, data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_A_REPARSE_POINT));

    // Deleting the link leaves the target.
    EXPECT_TRUE(DeleteFileW(link.c_str()));
    EXPECT_EQ(qvtest::ReadFileBytes(target), "through the link");
}

TEST(LinksTest, DirectoryLinkIsRemovedAsADirectory) {
    TempDir dir;
    WString real = dir.Join(W("real"));
    ASSERT_TRUE(CreateDirectoryW(real.c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(real + W("\\inside.txt"), "in"));
    WString link = dir.Join(W("dirlink"));
    if (!CreateSymbolicLinkW(link.c_str(), real.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
        DWORD error = GetLastError();
        if (LinksUnsupported(error)) {
            GTEST_SKIP() << "this system does not let the test create symbolic links (error " << error << ")";
        }
        FAIL() << "CreateSymbolicLinkW failed with " << error;
    }
    DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this system makes symbolic links it cannot examine (wine 8), error " << GetLastError();
    }
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(qvtest::ReadFileBytes(link + W("\\inside.txt")), "in");
    EXPECT_TRUE(RemoveDirectoryW(link.c_str()));
    EXPECT_EQ(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(qvtest::ReadFileBytes(real + W("\\inside.txt")), "in");
}

TEST(LinksTest, JunctionOnAnEmptyDirectory) {
    TempDir dir;
    WString real = dir.Join(W("data"));
    ASSERT_TRUE(CreateDirectoryW(real.c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(real + W("\\file.txt"), "data"));
    WString junction = dir.Join(W("junction"));
    ASSERT_TRUE(CreateDirectoryW(junction.c_str(), nullptr));

    // The mount-point buffer the link maker writes: substitute "\??\" + target,
    // then the print name, lengths in bytes, each name followed by a zero.
    WString substitute = W("\\??\\") + real;
    WString print = real;
    std::vector<BYTE> b(16 + (substitute.size() + 1 + print.size() + 1) * sizeof(WCHAR));
    auto put16 = [&](size_t at, USHORT v) { std::memcpy(&b[at], &v, 2); };
    DWORD tag = kTagMountPoint;
    std::memcpy(&b[0], &tag, 4);
    put16(4, static_cast<USHORT>(b.size() - 8));
    put16(8, 0);
    put16(10, static_cast<USHORT>(substitute.size() * sizeof(WCHAR)));
    put16(12, static_cast<USHORT>((substitute.size() + 1) * sizeof(WCHAR)));
    put16(14, static_cast<USHORT>(print.size() * sizeof(WCHAR)));
    std::memcpy(&b[16], substitute.data(), substitute.size() * sizeof(WCHAR));
    std::memcpy(&b[16 + (substitute.size() + 1) * sizeof(WCHAR)], print.data(), print.size() * sizeof(WCHAR));

    HANDLE h = CreateFileW(junction.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD got = 0;
    BOOL ok =
        DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, b.data(), static_cast<DWORD>(b.size()), nullptr, 0, &got, nullptr);
    DWORD error = GetLastError();
    CloseHandle(h);
    if (!ok && LinksUnsupported(error)) {
        GTEST_SKIP() << "this system does not let the test make junctions (error " << error << ")";
    }
    ASSERT_TRUE(ok) << error;

    DWORD attributes = GetFileAttributesW(junction.c_str());
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(qvtest::ReadFileBytes(junction + W("\\file.txt")), "data");
    ReparseData data;
    ASSERT_TRUE(ReadReparse(junction, data));
    // Whatever kind of link the system made, its substitute name is the target.
    EXPECT_EQ(U8(data.substitute), U8(substitute));

    // Removing the junction leaves the target's contents.
    EXPECT_TRUE(RemoveDirectoryW(junction.c_str()));
    EXPECT_EQ(qvtest::ReadFileBytes(real + W("\\file.txt")), "data");
}

TEST(LinksTest, JunctionNeedsAnEmptyDirectory) {
    TempDir dir;
    WString full = dir.Join(W("full"));
    ASSERT_TRUE(CreateDirectoryW(full.c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(full + W("\\x"), "x"));
    WString substitute = W("\\??\\") + dir.Path();
    std::vector<BYTE> b(16 + (substitute.size() + 2) * sizeof(WCHAR));
    DWORD tag = kTagMountPoint;
    std::memcpy(&b[0], &tag, 4);
    USHORT v = static_cast<USHORT>(b.size() - 8);
    std::memcpy(&b[4], &v, 2);
    v = static_cast<USHORT>(substitute.size() * sizeof(WCHAR));
    std::memcpy(&b[10], &v, 2);
    v = static_cast<USHORT>((substitute.size() + 1) * sizeof(WCHAR));
    std::memcpy(&b[12], &v, 2);
    std::memcpy(&b[16], substitute.data(), substitute.size() * sizeof(WCHAR));
    HANDLE h = CreateFileW(full.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD got = 0;
    EXPECT_FALSE(
        DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, b.data(), static_cast<DWORD>(b.size()), nullptr, 0, &got, nullptr));
    CloseHandle(h);
    EXPECT_EQ(qvtest::ReadFileBytes(full + W("\\x")), "x");
}

}  // namespace

namespace {

// Windows answers these controls, on a file system without compression and a
// disk without removable media, with "invalid function" (1); wine says "not
// supported" (50). Either way nothing happens and the caller's fall-back runs.
bool RefusedAsUnsupported(DWORD error) {
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
}

TEST(DeviceControlTest, CompressionAndMediaControlsAreRefused) {
    qvtest::TempDir dir;
    WString path = dir.Join(W("c.txt"));
    ASSERT_TRUE(qvtest::WriteFileBytes(path, "c"));
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    USHORT format = COMPRESSION_FORMAT_DEFAULT;
    DWORD got = 0;
    EXPECT_FALSE(DeviceIoControl(h, FSCTL_SET_COMPRESSION, &format, sizeof format, nullptr, 0, &got, nullptr));
    EXPECT_TRUE(RefusedAsUnsupported(GetLastError())) << GetLastError();
    CloseHandle(h);
    EXPECT_EQ(qvtest::ReadFileBytes(path), "c");

    // The drive's device, \\.\X:, as the drive commands open it.
    WCHAR tmp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, tmp), 2u);
    WString device = W("\\\\.\\") + WString(tmp, 2);
    h = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    for (DWORD code : {static_cast<DWORD>(IOCTL_STORAGE_EJECT_MEDIA), static_cast<DWORD>(IOCTL_STORAGE_LOAD_MEDIA)}) {
        EXPECT_FALSE(DeviceIoControl(h, code, nullptr, 0, nullptr, 0, &got, nullptr));
        EXPECT_TRUE(RefusedAsUnsupported(GetLastError())) << GetLastError();
    }
    CloseHandle(h);
}

}  // namespace
