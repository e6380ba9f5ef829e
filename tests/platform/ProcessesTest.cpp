#include "platform/win32.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using qvtest::TempDir;
using qvtest::W;

TEST(ProcessesTest, BinaryTypeTellsProgramsFromOtherFiles) {
    // The running test program is a program on every system.
    WCHAR own[1024];
    DWORD n = GetModuleFileNameW(nullptr, own, 1024);
    ASSERT_GT(n, 0u);
    DWORD kind = 0xdead;
    EXPECT_TRUE(GetBinaryTypeW(own, &kind));
    EXPECT_NE(0xdeadu, kind);

    TempDir dir;
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("notes")), "#!not a program"));
    EXPECT_FALSE(GetBinaryTypeW(dir.Join(W("notes")).c_str(), &kind));
    EXPECT_FALSE(GetBinaryTypeW(dir.Join(W("missing")).c_str(), &kind));
    EXPECT_FALSE(GetBinaryTypeW(dir.Path().c_str(), &kind));
}

TEST(ProcessesTest, SearchPathKeepsItsDirectoriesInDriveForm) {
    WCHAR saved[32768];
    DWORD had = GetEnvironmentVariableW(W("PATH").c_str(), saved, 32768);
    ASSERT_TRUE(SetEnvironmentVariableW(W("PATH").c_str(), W("C:\\qv-one;S:\\qv-two").c_str()));
    WCHAR value[256];
    DWORD n = GetEnvironmentVariableW(W("PATH").c_str(), value, 256);
    EXPECT_EQ(W("C:\\qv-one;S:\\qv-two"), qvtest::WString(value, n));
    SetEnvironmentVariableW(W("PATH").c_str(), had ? saved : nullptr);
}

}  // namespace
