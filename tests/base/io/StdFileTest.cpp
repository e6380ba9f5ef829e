#include "base/io/StdFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/base/os/OsTestSupport.h"

using qvtest::PathIn;
using qvtest::ReadFileBytes;
using qvtest::WriteFileBytes;

namespace {

class StdFileTest : public ::testing::Test {
protected:
    Westring Path(const char* name) { return PathIn(dir, name); }
    std::string Contents(const char* name) { return ReadFileBytes(dir.Join(qvtest::W(name))); }
    void Make(const char* name, const std::string& bytes) {
        ASSERT_TRUE(WriteFileBytes(dir.Join(qvtest::W(name)), bytes));
    }
    qvtest::TempDir dir;
};

TEST_F(StdFileTest, KeepModeAppendsToAnExistingFileAndNeedsOne) {
    Make("log.txt", "abc");
    StdFile file(Path("log.txt"), 0x0B);
    ASSERT_EQ(0u, file.LastError());
    EXPECT_EQ(3, file.Tell());
    EXPECT_EQ(0u, file.Write("de", 2));
    EXPECT_EQ(0u, file.Close());
    EXPECT_EQ("abcde", Contents("log.txt"));

    StdFile missing;
    EXPECT_EQ(uint32_t(ERROR_FILE_NOT_FOUND), missing.Open(Path("none.txt"), 0x0B));
    EXPECT_FALSE(missing.IsOpen());
}

TEST_F(StdFileTest, CreateReplacesAndPlainWriteNeedsAnExistingFile) {
    Make("old.txt", "old contents");
    StdFile file;
    ASSERT_EQ(0u, file.Open(Path("old.txt"), StdFile::ModeWrite | StdFile::ModeCreate));
    EXPECT_EQ(0u, file.WriteText("new"));
    EXPECT_EQ(0u, file.Close());
    EXPECT_EQ("new", Contents("old.txt"));

    EXPECT_EQ(uint32_t(ERROR_FILE_NOT_FOUND), file.Open(Path("none.txt"), StdFile::ModeWrite));
    EXPECT_FALSE(qvtest::ReadFileBytes(dir.Join(qvtest::W("none.txt"))).size() > 0);
}

TEST_F(StdFileTest, ShortReadThenEndOfFileIsKeptUntilSeek) {
    Make("four.bin", "wxyz");
    StdFile file(Path("four.bin"), StdFile::ModeRead);
    char buffer[10];
    uint32_t count = 99;
    EXPECT_EQ(0u, file.Read(buffer, 10, &count));
    EXPECT_EQ(4u, count);
    EXPECT_EQ(0, memcmp(buffer, "wxyz", 4));
    EXPECT_EQ(StdFile::EndOfFile, file.Read(buffer, 10, &count));
    EXPECT_EQ(0u, count);
    // The end is kept: nothing reads until a seek clears it.
    EXPECT_EQ(StdFile::EndOfFile, file.Read(buffer, 1, &count));
    EXPECT_EQ(0u, file.Seek(1));
    EXPECT_EQ(0u, file.Read(buffer, 2, &count));
    EXPECT_EQ(0, memcmp(buffer, "xy", 2));
}

TEST_F(StdFileTest, WriteTextTranslatesLineEndsOnlyInTextMode) {
    struct Case {
        int mode;
        const char* expected;
    } cases[] = {
        {StdFile::ModeWrite | StdFile::ModeCreate | StdFile::ModeText, "a\r\nb\r\n"},
        {StdFile::ModeWrite | StdFile::ModeCreate, "a\nb\n"},
    };
    for (const Case& c : cases) {
        StdFile file(Path("t.txt"), c.mode);
        EXPECT_EQ(0u, file.WriteText("a\nb\n"));
        EXPECT_EQ(0u, file.Close());
        EXPECT_EQ(c.expected, Contents("t.txt")) << "mode " << c.mode;
    }
    StdFile file(Path("line.txt"), StdFile::ModeWrite | StdFile::ModeCreate);
    EXPECT_EQ(0u, file.WriteLine("x\ny"));
    file.Close();
    EXPECT_EQ("x\ny\r\n", Contents("line.txt"));
}

TEST_F(StdFileTest, ReadLineSplitsAtLineEndsAndNulAndReportsTheEnd) {
    Make("lines.txt", std::string("ab\r\n\nlonger line\r\nz\0q", 22));
    StdFile file(Path("lines.txt"), StdFile::ModeRead);
    char line[8];
    struct Expected {
        uint32_t result;
        const char* text;
    } expected[] = {
        {0, "ab"}, {0, ""}, {0, "longer "}, {0, "line"}, {0, "z"}, {0, "q"}, {StdFile::EndOfFile, ""},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(e.result, file.ReadLine(line, sizeof line)) << e.text;
        EXPECT_STREQ(e.text, line);
    }
}

TEST_F(StdFileTest, LargeWritesArriveWhole) {
    std::string bytes;
    for (int i = 0; i < 5000; i++) {
        bytes += char('a' + i % 26);
    }
    StdFile file(Path("big.bin"), StdFile::ModeWrite | StdFile::ModeCreate);
    EXPECT_EQ(0u, file.Write(bytes.data(), 5000));
    EXPECT_EQ(5000, file.Tell());
    EXPECT_EQ(5000, file.GetSize());
    EXPECT_EQ(0u, file.Close());
    EXPECT_EQ(bytes, Contents("big.bin"));
}

TEST_F(StdFileTest, SeekInsideReadDataAndWriteAtTheLogicalPosition) {
    std::string bytes;
    for (int i = 0; i < 300; i++) {
        bytes += char(i);
    }
    Make("data.bin", bytes);
    // Read and write keeping the contents starts at the end.
    StdFile file(Path("data.bin"), 0x0B);
    ASSERT_EQ(0u, file.Seek(0));
    unsigned char buffer[100];
    ASSERT_EQ(0u, file.Read(buffer, 100));
    EXPECT_EQ(0u, file.SeekRelative(-10));
    EXPECT_EQ(90, file.Tell());
    ASSERT_EQ(0u, file.Read(buffer, 1));
    EXPECT_EQ(90, buffer[0]);
    // A write goes where reading stood, not where the buffer ended.
    EXPECT_EQ(0u, file.Write("XY", 2));
    EXPECT_EQ(93, file.Tell());
    EXPECT_EQ(0u, file.Seek(250));
    ASSERT_EQ(0u, file.Read(buffer, 1));
    EXPECT_EQ(250, buffer[0]);
    EXPECT_EQ(0u, file.Close());
    std::string after = Contents("data.bin");
    ASSERT_EQ(300u, after.size());
    EXPECT_EQ("XY", after.substr(91, 2));
    EXPECT_EQ(char(93), after[93]);
}

TEST_F(StdFileTest, TruncateCutsTheFile) {
    Make("cut.bin", std::string(100, 'c'));
    StdFile file(Path("cut.bin"), 0x0B);
    ASSERT_EQ(0u, file.Seek(0));
    char buffer[10];
    ASSERT_EQ(0u, file.Read(buffer, 10));
    EXPECT_EQ(0u, file.Truncate(40));
    EXPECT_EQ(40, file.GetSize());
    EXPECT_EQ(0u, file.Close());
    EXPECT_EQ(std::string(40, 'c'), Contents("cut.bin"));
}

TEST_F(StdFileTest, RewindRereadsAFileOthersMayWrite) {
    Make("shared.txt", "first");
    StdFile file(Path("shared.txt"), StdFile::ModeRead, StdFile::ShareReadWrite);
    char buffer[6] = {0};
    ASSERT_EQ(0u, file.Read(buffer, 5));
    {
        StdFile other(Path("shared.txt"), StdFile::ModeWrite, StdFile::ShareReadWrite);
        ASSERT_EQ(0u, other.WriteText("again"));
    }
    EXPECT_EQ(0u, file.Rewind());
    ASSERT_EQ(0u, file.Read(buffer, 5));
    EXPECT_STREQ("again", buffer);
}

TEST_F(StdFileTest, PathIsKeptAsGivenAndRelativePathsOpen) {
    Make("rel.txt", "r");
    WCHAR previous[1024];
    ASSERT_GT(GetCurrentDirectoryW(1024, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    StdFile file(Westring("rel.txt"), StdFile::ModeRead);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(0u, file.LastError());
    EXPECT_TRUE(file.Path().EqualsExact(Westring("rel.txt")));
    char c = 0;
    EXPECT_EQ(0u, file.Read(&c, 1));
    EXPECT_EQ('r', c);
}

TEST_F(StdFileTest, ClosedFileReportsAnInvalidHandle) {
    StdFile file;
    EXPECT_EQ(uint32_t(ERROR_INVALID_HANDLE), file.Flush());
    EXPECT_EQ(0u, file.Close());
}

TEST_F(StdFileTest, ModifyTimeIsTheFilesLastWriteTime) {
    Make("time.txt", "t");
    StdFile file(Path("time.txt"), StdFile::ModeRead);
    TTimestamp stamp;
    ASSERT_EQ(0u, file.GetModifyTime(stamp));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    TTimestamp current = TTimestamp::FromFileTime(now);
    EXPECT_LE(stamp.seconds, current.seconds + 1);
    EXPECT_GE(stamp.seconds + 60, current.seconds);
    uint16_t date = 0, time = 0;
    ASSERT_EQ(0u, file.GetModifyDosTime(date, time));
    EXPECT_GE(date >> 9, 2020 - 1980);
}

}  // namespace
