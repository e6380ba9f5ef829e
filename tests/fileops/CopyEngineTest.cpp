// The file copy of the engine through the platform's routine and through its
// own read/write loop: contents, times, the rules for existing destinations,
// and no temporary file left behind.
#include "fileops/CopyEngine.h"

#include <gtest/gtest.h>

#include "base/io/StdFile.h"
#include "base/os/FileAttributes.h"
#include "base/os/FileTimes.h"
#include "base/strings/Utf16String.h"
#include "fileops/CopyProgressWindow.h"
#include "tests/base/os/OsTestSupport.h"
#include "tests/platform/RunningUnderWine.h"
#include "tests/support/TempDir.h"

using qvtest::PathIn;
using qvtest::ReadFileBytes;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

// Runs each test once with the platform's routine and once with the own loop.
class CopyEngineTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        saved = CopyFileExEntry();
        if (!GetParam()) {
            CopyFileExEntry() = nullptr;
        }
        ASSERT_TRUE(GetParam() ? saved != nullptr : true);
    }
    void TearDown() override { CopyFileExEntry() = saved; }

    Westring In(const char* name) { return PathIn(dir, name); }
    int Copy(const char* from, const char* to, bool overwrite, bool move = false) {
        StdFile none;
        return CopyFileOrTree(In(from), In(to), overwrite, move, &progress, none, 0);
    }
    // Names in the folder other than the given ones: temporary files left.
    int Leftovers() {
        WIN32_FIND_DATAW data;
        Utf16String pattern(In("*"));
        HANDLE find = FindFirstFileW(pattern.Data(), &data);
        int count = 0;
        if (find == INVALID_HANDLE_VALUE) {
            return 0;
        }
        do {
            Westring name(data.cFileName);
            if (name.Length() > 4 && name.Left(3).EqualsExact(Westring(".qv"))) {
                count++;
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return count;
    }

    TCopyFileEx saved = nullptr;
    CCopyProgressWindow progress;
    qvtest::TempDir dir;
};

TEST_P(CopyEngineTest, CopiesBytesAndTimesThroughATemporaryFile) {
    std::string data;
    for (int i = 0; i < 200000; i++) {
        data += static_cast<char>(i * 7 + i / 251);
    }
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("source.bin")), data));
    TTimestamp old(1000000000, 0);
    ASSERT_EQ(0u, SetFileModifyTime(In("source.bin"), old));
    ASSERT_EQ(0, Copy("source.bin", "copy.bin", false));
    EXPECT_EQ(data, ReadFileBytes(dir.Join(W("copy.bin"))));
    TTimestamp copied;
    ASSERT_EQ(0u, GetFileModifyTime(In("copy.bin"), copied));
    EXPECT_EQ(old.seconds, copied.seconds);
    // wine's CopyFileExW never calls the progress routine; Windows and our
    // own layer do.
    if (!(GetParam() && qvtest::RunningUnderWine())) {
        EXPECT_EQ(static_cast<int64_t>(data.size()), progress.bytesDone.load());
    }
    EXPECT_EQ(0, Leftovers());

    // An empty file is a file too.
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("empty")), ""));
    ASSERT_EQ(0, Copy("empty", "empty2", false));
    EXPECT_TRUE(FileExists(In("empty2")));
    EXPECT_EQ("", ReadFileBytes(dir.Join(W("empty2"))));
}

TEST_P(CopyEngineTest, ExistingDestinationNeedsOverwriteAndIsReplacedWhole) {
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("new.txt")), "new contents"));
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("old.txt")), "old contents that are longer"));
    EXPECT_EQ(ERROR_FILE_EXISTS, Copy("new.txt", "old.txt", false));
    EXPECT_EQ("old contents that are longer", ReadFileBytes(dir.Join(W("old.txt"))));
    EXPECT_EQ(0, Copy("new.txt", "old.txt", true));
    EXPECT_EQ("new contents", ReadFileBytes(dir.Join(W("old.txt"))));
    // A read-only destination is replaced too once overwriting is allowed,
    // and the copy takes the source's attributes.
    ASSERT_EQ(0u, WriteFileAttributes(In("old.txt"), 1));
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("third.txt")), "third"));
    EXPECT_EQ(0, Copy("third.txt", "old.txt", true));
    EXPECT_EQ("third", ReadFileBytes(dir.Join(W("old.txt"))));
    DWORD attributes = 0;
    ASSERT_EQ(0u, ReadFileAttributes(In("old.txt"), attributes));
    EXPECT_EQ(0u, attributes & 1);
    EXPECT_EQ(0, Leftovers());
}

TEST_P(CopyEngineTest, NeverCopiesAFileOntoItself) {
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("self.txt")), "self"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, Copy("self.txt", "self.txt", true));
    EXPECT_EQ("self", ReadFileBytes(dir.Join(W("self.txt"))));
    if (!qvtest::RunsUnderWine()) {
        Utf16String from(In("self.txt"));
        Utf16String to(In("hard.txt"));
        ASSERT_TRUE(CreateHardLinkW(to.Data(), from.Data(), nullptr));
        EXPECT_EQ(ERROR_ACCESS_DENIED, Copy("self.txt", "hard.txt", true));
        EXPECT_EQ("self", ReadFileBytes(dir.Join(W("self.txt"))));
    }
    EXPECT_EQ(0, Leftovers());
}

TEST_P(CopyEngineTest, MissingSourceAndMissingDirectoryFailCleanly) {
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Copy("absent", "x", false));
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("a")), "a"));
    int r = Copy("a", "no-such-dir\\a", false);
    EXPECT_TRUE(r == ERROR_PATH_NOT_FOUND || r == ERROR_FILE_NOT_FOUND) << r;
    EXPECT_EQ(0, Leftovers());
}

TEST_P(CopyEngineTest, MoveDeletesTheSourceOnlyAfterTheCopy) {
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("m.txt")), "moving"));
    ASSERT_EQ(0, Copy("m.txt", "moved.txt", false, true));
    EXPECT_FALSE(FileExists(In("m.txt")));
    EXPECT_EQ("moving", ReadFileBytes(dir.Join(W("moved.txt"))));
}

INSTANTIATE_TEST_SUITE_P(Both, CopyEngineTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("PlatformRoutine") : std::string("OwnLoop");
                         });

TEST(CopyProgressTest, TimesStatisticsAndBar) {
    struct Case {
        int64_t seconds;
        const char* text;
    } times[] = {{0, "0:00"}, {59, "0:59"}, {61, "1:01"}, {3599, "59:59"}, {3600, "1:00:00"}, {86399, "23:59:59"}};
    for (const Case& c : times) {
        Estring out;
        FormatElapsedTime(c.seconds).ToUtf8(out);
        EXPECT_STREQ(c.text, out.Data());
    }
    Estring line;
    FormatCopyStatistics(10.0, 1000, 2000).ToUtf8(line);
    EXPECT_STREQ("Time: 0:10  BPS: 100      ETA: 0:10", line.Data());
    // More bytes than counted: the time left stays at 0 and the bar full.
    FormatCopyStatistics(10.0, 3000, 2000).ToUtf8(line);
    EXPECT_NE(nullptr, strstr(line.Data(), "ETA: 0:00"));
    EXPECT_EQ(40, CopyBarFilled(40, 3000, 2000));
    EXPECT_EQ(20, CopyBarFilled(40, 1000, 2000));
    EXPECT_EQ(0, CopyBarFilled(40, 0, 2000));
    EXPECT_EQ(0, CopyBarFilled(40, 10, 0));
    EXPECT_EQ(39, CopyBarFilled(40, (int64_t(1) << 62) - 1, int64_t(1) << 62));
}

}  // namespace
