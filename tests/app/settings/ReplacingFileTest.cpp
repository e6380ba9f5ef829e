// Replacing a data file: the new contents take the old file's place only when
// every step worked; any failure leaves the old file as it was.
#include "app/settings/ReplacingFile.h"

#include <gtest/gtest.h>

#include "tests/platform/RunningUnderWine.h"

#include "app/settings/HistoryFile.h"
#include "base/os/SystemError.h"
#include "tests/app/settings/ConfigTestSupport.h"

namespace qvtest {
namespace {

class ReplacingFileTest : public ConfigTest {
protected:
    void SetUp() override {
        target = dir.Join(W("data.ini"));
        temp = dir.Join(W("data.!!!"));
        ASSERT_TRUE(WriteFileBytes(target, "old\r\n"));
    }
    WString target;
    WString temp;
};

TEST_F(ReplacingFileTest, CommitPutsTheNewContentsInPlaceOfTheOld) {
    CReplacingFile file(ToWestring(target), ToWestring(temp));
    ASSERT_EQ(file.Open(), 0u);
    file.WriteLine("first");
    file.WriteLine(Estring("second"));
    // Nothing changes before the commit.
    EXPECT_EQ(ReadFileBytes(target), "old\r\n");
    EXPECT_EQ(file.Commit(), 0u);
    EXPECT_EQ(ReadFileBytes(target), "first\r\nsecond\r\n");
    EXPECT_EQ(GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES);

    // A file that did not exist yet is made.
    WString fresh = dir.Join(W("fresh.hst"));
    CReplacingFile second(ToWestring(fresh), ToWestring(temp));
    ASSERT_EQ(second.Open(), 0u);
    second.WriteLine("x");
    EXPECT_EQ(second.Commit(), 0u);
    EXPECT_EQ(ReadFileBytes(fresh), "x\r\n");
}

TEST_F(ReplacingFileTest, FailuresLeaveTheOldFileAndGiveTheError) {
    struct Case {
        const char* name;
        bool blockTemp;  // a folder stands where the temporary file goes
        bool open;       // Open is called
    };
    const Case cases[] = {
        {"temporary file cannot be made", true, true},
        {"never opened", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.blockTemp) {
            ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
        }
        {
            CReplacingFile file(ToWestring(target), ToWestring(temp));
            DWORD opened = c.open ? file.Open() : 0;
            EXPECT_EQ(opened != 0, c.blockTemp);
            file.WriteLine("new");
            DWORD error = file.Commit();
            EXPECT_NE(error, 0u);
            EXPECT_EQ(file.Error(), error);
            if (c.blockTemp) {
                EXPECT_EQ(error, opened);  // the first failure is the one kept
            }
        }
        EXPECT_EQ(ReadFileBytes(target), "old\r\n");
        RemoveDirectoryW(temp.c_str());
    }
}

TEST_F(ReplacingFileTest, AWriteThatGetsNoFurtherThanItsTemporaryFileRemovesIt) {
    const WString folderTarget = dir.Join(W("taken.ini"));
    ASSERT_TRUE(CreateDirectoryW(folderTarget.c_str(), nullptr));
    struct Case {
        const char* name;
        const WString* final;
        bool commit;
    };
    const Case cases[] = {
        {"a folder stands where the file goes: the replacement fails", &folderTarget, true},
        {"abandoned before the commit", &target, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // wine lets a file replace a folder, which Windows refuses.
        if (c.final == &folderTarget && qvtest::RunningUnderWine())
            continue;
        {
            CReplacingFile file(ToWestring(*c.final), ToWestring(temp));
            ASSERT_EQ(file.Open(), 0u);
            file.WriteLine("new");
            ASSERT_NE(GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES);
            if (c.commit) {
                EXPECT_NE(file.Commit(), 0u);
            }
        }
        EXPECT_EQ(GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(ReadFileBytes(target), "old\r\n");
    }
    if (!qvtest::RunningUnderWine()) {
        EXPECT_NE(GetFileAttributesW(folderTarget.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    }
    // A temporary file that was someone else's (the write could not make its
    // own) is left alone.
    ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
    {
        CReplacingFile file(ToWestring(target), ToWestring(temp));
        EXPECT_NE(file.Open(), 0u);
        EXPECT_NE(file.Commit(), 0u);
    }
    EXPECT_NE(GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryW(temp.c_str());
    RemoveDirectoryW(folderTarget.c_str());
}

TEST_F(ReplacingFileTest, AFailedIniWriteNamesTheSystemErrorAndTheFile) {
    WriteIni("Clock=on\r\n");
    LoadConfiguration(false, messages);
    ASSERT_TRUE(CreateDirectoryW(DataFile("quorvane.!!!").c_str(), nullptr));
    DWORD error = WriteIniFile(messages);
    ASSERT_NE(error, 0u);
    Estring text(FormatSystemError(error));
    ASSERT_GT(text.Length(), 0);
    EXPECT_EQ(messages.shown, std::string(text.Data()) + "|" + U8(DataFile("quorvane.ini")) + "\n");
    EXPECT_EQ(ReadFileBytes(DataFile("quorvane.ini")), "Clock=on\r\n");
    RemoveDirectoryW(DataFile("quorvane.!!!").c_str());
}

TEST_F(ReplacingFileTest, HistoryRewritesThatFailKeepTheOldHistoryFile) {
    ClearHistoryStores();
    DataFilePath(DataFileHistory, DataFileUserFolder);
    std::string text = "a\r\nb\r\nc\r\n";
    ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.hst"), text));
    ASSERT_TRUE(CreateDirectoryW(DataFile("quorvane.hst!!!").c_str(), nullptr));
    // Removing a line, and compacting at start-up: both must rewrite.
    RewriteHistoryWithout(Westring("b"));
    EXPECT_EQ(ReadFileBytes(DataFile("quorvane.hst")), text);
    Config.MaxHist = 2;
    LoadHistoryFile();
    EXPECT_EQ(CommandHistory.Count(), 2);
    EXPECT_EQ(ReadFileBytes(DataFile("quorvane.hst")), text);
    // Once the way is free, the same rewrites go through.
    RemoveDirectoryW(DataFile("quorvane.hst!!!").c_str());
    RewriteHistoryWithout(Westring("B"));
    EXPECT_EQ(ReadFileBytes(DataFile("quorvane.hst")), "a\r\nc\r\n");
    ClearHistoryStores();
    Config.MaxHist = 1;
    LoadHistoryFile();
    EXPECT_EQ(ReadFileBytes(DataFile("quorvane.hst")), "c\r\n");
    ClearHistoryStores();
}

}  // namespace
}  // namespace qvtest
