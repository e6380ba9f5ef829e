// ReplaceFileW: the replacement takes the replaced file's name in one step;
// every refusal leaves both files as they were.
#include <gtest/gtest.h>

#include "platform/win32.h"
#include "tests/platform/RunningUnderWine.h"
#include "tests/support/TempDir.h"

using qvtest::ReadFileBytes;
using qvtest::TempDir;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

class ReplaceFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        target = dir.Join(W("data.ini"));
        fresh = dir.Join(W("data.!!!"));
        ASSERT_TRUE(WriteFileBytes(target, "old"));
        ASSERT_TRUE(WriteFileBytes(fresh, "new"));
    }
    bool Exists(const qvtest::WString& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    TempDir dir;
    qvtest::WString target;
    qvtest::WString fresh;
};

TEST_F(ReplaceFileTest, ReplacementTakesTheNameAndTheOldContentsGo) {
    ASSERT_TRUE(ReplaceFileW(target.c_str(), fresh.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr));
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_FALSE(Exists(fresh));
}

TEST_F(ReplaceFileTest, BackupKeepsTheOldContents) {
    qvtest::WString backup = dir.Join(W("data.bak"));
    ASSERT_TRUE(WriteFileBytes(backup, "older"));
    ASSERT_TRUE(ReplaceFileW(target.c_str(), fresh.c_str(), backup.c_str(), 0, nullptr, nullptr));
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(ReadFileBytes(backup), "old");
}

TEST_F(ReplaceFileTest, ReplacementKeepsTheReplacedFilesHiddenAttribute) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "wine's ReplaceFileW does not carry the replaced file's attributes over";
    }
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(ReplaceFileW(target.c_str(), fresh.c_str(), nullptr, 0, nullptr, nullptr));
    DWORD attributes = GetFileAttributesW(target.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ReplaceFileTest, MissingFilesAreRefusedAndNothingChanges) {
    qvtest::WString missing = dir.Join(W("missing.ini"));
    EXPECT_FALSE(ReplaceFileW(missing.c_str(), fresh.c_str(), nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(ReadFileBytes(fresh), "new");
    EXPECT_FALSE(ReplaceFileW(target.c_str(), missing.c_str(), nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(ReadFileBytes(target), "old");
}

TEST_F(ReplaceFileTest, ReadOnlyTargetIsRefusedAndKept) {
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ReplaceFileW(target.c_str(), fresh.c_str(), nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(ReadFileBytes(fresh), "new");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
