// UNC shares mounted here (QUORVANE_SHARES, cifs mounts) and drive letters
// connected to them; the Windows directory.
#include "platform/win32.h"
#include "tests/platform/PosixPathOf.h"
#include "tests/platform/RunningUnderWine.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#ifndef _WIN32
#include "platform/posix/Shares.h"
#endif

namespace {

using qvtest::TempDir;
using qvtest::U8;
using qvtest::W;
using qvtest::WString;

#ifndef _WIN32
DWORD Connect(const char* local, const char* remote) {
    WString localName = W(local);
    WString remoteName = W(remote);
    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpLocalName = localName.empty() ? nullptr : &localName[0];
    resource.lpRemoteName = &remoteName[0];
    return WNetAddConnection2W(&resource, nullptr, nullptr, 0);
}

// QUORVANE_SHARES for one test, removed after it.
class SharesScope {
public:
    explicit SharesScope(const std::string& value) { setenv("QUORVANE_SHARES", value.c_str(), 1); }
    ~SharesScope() { unsetenv("QUORVANE_SHARES"); }
};
#endif

class SharesTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qvtest::RunningUnderWine()) {
            GTEST_SKIP() << "Windows reaches real shares; QUORVANE_SHARES belongs to this layer";
        }
    }
};

TEST_F(SharesTest, ANamedSharesPathsResolveToItsDirectory) {
#ifndef _WIN32
    TempDir dir;
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("file.txt")), "shared"));
    SharesScope scope("\\\\srv\\share=" + qvtest::PosixPathOf(dir.Path()));
    EXPECT_EQ("shared", qvtest::ReadFileBytes(W("\\\\SRV\\Share\\file.txt")));
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(W("\\\\srv\\share\\*.txt").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    EXPECT_EQ("file.txt", U8(data.cFileName));
    FindClose(find);
    // Another share of the server, or another server, cannot be reached.
    SetLastError(0);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(W("\\\\srv\\other\\file.txt").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_NETPATH), GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(W("\\\\elsewhere\\share\\file.txt").c_str()));
#endif
}

TEST_F(SharesTest, AConnectedLetterIsADriveUntilCancelled) {
#ifndef _WIN32
    TempDir dir;
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("file.txt")), "shared"));
    SharesScope scope("\\\\srv\\share=" + qvtest::PosixPathOf(dir.Path()));
    DWORD before = GetLogicalDrives();
    ASSERT_EQ(0u, before & (1u << ('Q' - 'A'))) << "Q: is taken already";
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_NET_NAME), Connect("Q:", "\\\\srv\\none"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_NET_NAME), Connect("Q:", "\\\\nosuchserver\\share"));

    ASSERT_EQ(static_cast<DWORD>(NO_ERROR), Connect("q:", "\\\\SRV\\share"));
    EXPECT_EQ(before | (1u << ('Q' - 'A')), GetLogicalDrives());
    EXPECT_EQ(static_cast<UINT>(DRIVE_REMOTE), GetDriveTypeW(W("Q:\\").c_str()));
    EXPECT_EQ("shared", qvtest::ReadFileBytes(W("Q:\\file.txt")));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_ASSIGNED), Connect("Q:", "\\\\srv\\share"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_ASSIGNED), Connect("C:", "\\\\srv\\share"));

    EXPECT_EQ(static_cast<DWORD>(NO_ERROR), WNetCancelConnectionA("Q:", FALSE));
    EXPECT_EQ(before, GetLogicalDrives());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(W("Q:\\file.txt").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_CONNECTED), WNetCancelConnectionA("Q:", FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_CONNECTED), WNetCancelConnectionA("C:", FALSE));
#endif
}

TEST_F(SharesTest, CifsMountsAreFoundInTheMountTable) {
#ifndef _WIN32
    std::istringstream table(
        "22 1 0:21 / /proc rw,nosuid - proc proc rw\n"
        "40 22 0:35 / /mnt/other rw - cifs //srv/other rw,vers=3.0\n"
        "41 22 0:36 / /mnt/my\\040share rw shared:7 - smb3 //SRV/Share/ rw\n"
        "42 22 0:37 / /mnt/nfs rw - nfs4 srv:/share rw\n");
    std::string dir;
    EXPECT_TRUE(w32::FindShareInMountInfo(table, u"srv", u"share", dir));
    EXPECT_EQ("/mnt/my share", dir);
    std::istringstream again(table.str());
    EXPECT_FALSE(w32::FindShareInMountInfo(again, u"srv", u"sha", dir));
#endif
}

TEST(WindowsDirectory, IsADirectoryThatExists) {
    char buffer[500];
    UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, sizeof buffer);
    DWORD attributes = GetFileAttributesW(W(buffer).c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(':', buffer[1]);
    // Too small a buffer answers the size needed.
    char small[2];
    EXPECT_EQ(n + 1, GetWindowsDirectoryA(small, sizeof small));
}

}  // namespace
