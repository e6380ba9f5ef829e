#include "shell/TempDriveMapping.h"

#include "base/os/CurrentDirectory.h"
#include "tests/platform/PosixPathOf.h"
#include "tests/platform/RunningUnderWine.h"
#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using qvtest::TempDir;
using qvtest::W;
using shelltest::Narrow;

TEST(TShareDescriptorTest, TheShareRootGivesServerAndShare) {
    struct Case {
        const char* path;
        const char* server;
        const char* share;
    } cases[] = {
        {"\\\\srv\\share", "srv", "share"},
        {"\\\\srv\\share\\a\\b", "srv", "share"},
        {"\\\\srv", "srv", ""},
    };
    for (const Case& c : cases) {
        TShareDescriptor key = TShareDescriptor::FromPath(Westring(c.path));
        EXPECT_EQ(c.server, Narrow(key.server)) << c.path;
        EXPECT_EQ(c.share, Narrow(key.share)) << c.path;
    }
    TShareDescriptor a = TShareDescriptor::FromPath(Westring("\\\\SRV\\a\\x"));
    TShareDescriptor b = TShareDescriptor::FromPath(Westring("\\\\srv\\A\\y"));
    TShareDescriptor c = TShareDescriptor::FromPath(Westring("\\\\srv\\b"));
    EXPECT_EQ(0, a.Compare(b));
    EXPECT_LT(a.Compare(c), 0);
    EXPECT_GT(c.Compare(a), 0);
}

class TempDriveMappingTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qvtest::RunningUnderWine()) {
            GTEST_SKIP() << "Windows connects real shares; these tests name a folder as one";
        }
        saved = GetDriveCurrentDirectoryWide(0);
    }
    void TearDown() override {
        if (!saved.IsEmpty()) {
            ChangeDirectory(saved);
        }
#ifndef _WIN32
        unsetenv("QUORVANE_SHARES");
#endif
    }
    // The folder named as \\srv\share.
    void Share(const TempDir& dir) {
#ifndef _WIN32
        setenv("QUORVANE_SHARES", ("\\\\srv\\share=" + qvtest::PosixPathOf(dir.Path())).c_str(), 1);
#else
        (void)dir;
#endif
    }
    Westring saved;
};

TEST_F(TempDriveMappingTest, AnUnmountedShareGetsNoLetter) {
    CTempDriveMappingSet set;
    DWORD drives = GetLogicalDrives();
    EXPECT_EQ(nullptr, set.MapPath(Westring("\\\\nosuchserver\\share\\dir")));
    EXPECT_NE(-1, set.LastErrorText().Find(Westring("The network name cannot be found.")))
        << Narrow(set.LastErrorText());
    EXPECT_EQ(0, set.Count());
    EXPECT_EQ(drives, GetLogicalDrives());
}

TEST_F(TempDriveMappingTest, OneMappingServesTheShareUntilUnmapped) {
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryW(dir.Join(W("a")).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(dir.Join(W("a\\b")).c_str(), nullptr));
    Share(dir);
    DWORD drives = GetLogicalDrives();
    CTempDriveMappingSet set;
    CTempDriveMapping* root = set.MapPath(Westring("\\\\srv\\share"));
    ASSERT_NE(nullptr, root) << Narrow(set.LastErrorText());
    char32_t letter = root->Letter();
    // The highest letter that is free.
    char32_t expected = 'Z';
    while (drives & (1u << (expected - 'A'))) {
        expected--;
    }
    EXPECT_EQ(expected, letter);
    Westring rootDirectory;
    rootDirectory.AppendChar(letter);
    rootDirectory += Westring(":\\");
    EXPECT_TRUE(GetDriveCurrentDirectoryWide(0).EqualsExact(rootDirectory)) << Narrow(GetDriveCurrentDirectoryWide(0));

    // Another directory of the share, its names in other letter cases: the same mapping.
    EXPECT_EQ(root, set.MapPath(Westring("\\\\SRV\\Share\\a\\b")));
    EXPECT_EQ(1, set.Count());
    EXPECT_TRUE(GetDriveCurrentDirectoryWide(0).EqualsExact(rootDirectory + Westring("a\\b")))
        << Narrow(GetDriveCurrentDirectoryWide(0));
    EXPECT_NE(0u, GetLogicalDrives() & (1u << (letter - 'A')));

    set.UnmapAll();
    EXPECT_EQ(0, set.Count());
    EXPECT_EQ(drives, GetLogicalDrives());
}

TEST_F(TempDriveMappingTest, FreeingTheSetCancelsEveryConnection) {
    TempDir dir;
    Share(dir);
    DWORD drives = GetLogicalDrives();
    {
        CTempDriveMappingSet set;
        ASSERT_NE(nullptr, set.MapPath(Westring("\\\\srv\\share")));
        EXPECT_NE(drives, GetLogicalDrives());
    }
    EXPECT_EQ(drives, GetLogicalDrives());
}

}  // namespace
