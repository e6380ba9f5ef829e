// The command and input-field histories with their file.
#include <gtest/gtest.h>

#include "app/settings/Histories.h"
#include "app/settings/HistoryFile.h"
#include "tests/app/settings/ConfigTestSupport.h"

namespace qvtest {
namespace {

class HistoryFileTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        Config.MaxHist = 500;
        Config.MaxFieldHist = 20;
        ClearStores();
        // The per-user folder is made by the first look at a data-file path.
        DataFilePath(DataFileHistory, DataFileUserFolder);
    }
    void TearDown() override {
        ClearStores();
        ConfigTest::TearDown();
    }
    void ClearStores() { ClearHistoryStores(); }
    // A restart: empty stores, then the file.
    void Restart() {
        ClearStores();
        LoadHistoryFile();
    }
    std::string File() { return ReadFileBytes(DataFile("quorvane.hst")); }
};

TEST_F(HistoryFileTest, CommandTypedThreeTimesIsOneEntryAndSurvivesARestart) {
    for (int i = 0; i < 3; i++) {
        AddCommandHistory(U"  make all", false, nullptr);
    }
    AddCommandHistory(U"Make All", false, nullptr);
    ASSERT_EQ(CommandHistory.Count(), 2);
    EXPECT_TRUE(CommandHistory.At(0)->EqualsExact(Westring("make all")));
    EXPECT_EQ(File(), "make all\r\nmake all\r\nmake all\r\nMake All\r\n");
    Restart();
    ASSERT_EQ(CommandHistory.Count(), 2);
    EXPECT_TRUE(CommandHistory.At(0)->EqualsExact(Westring("make all")));
    EXPECT_TRUE(CommandHistory.At(1)->EqualsExact(Westring("Make All")));
}

TEST_F(HistoryFileTest, InputHistoriesIgnoreCaseAndPresetsLoadBack) {
    AddInputHistory(Westring("*.TXT"), FieldKindSelectMask, false);
    AddInputHistory(Westring("*.txt"), FieldKindSelectMask, false);
    AddFieldPreset(Westring("Sources"), Westring("*.c|*.h"), FieldKindFindFiles, false);
    ASSERT_EQ(InputHistories[FieldKindSelectMask].Count(), 1);
    Restart();
    ASSERT_EQ(InputHistories[FieldKindSelectMask].Count(), 1);
    EXPECT_TRUE(InputHistories[FieldKindSelectMask].At(0)->EqualsExact(Westring("*.txt")));
    ASSERT_EQ(FieldPresets[FieldKindFindFiles].Count(), 1);
    EXPECT_TRUE(FieldPresets[FieldKindFindFiles].At(0)->value.EqualsExact(Westring("*.c|*.h")));
    RemoveFieldPresetLine(*FieldPresets[FieldKindFindFiles].At(0), FieldKindFindFiles);
    EXPECT_EQ(File().find("Sources"), std::string::npos);
}

TEST_F(HistoryFileTest, LineKindsOfTheFile) {
    ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.hst"),
                               "12\x19" "abc\r\n13\x19" "skipped\r\n-1\x19" "skipped\r\n"
                               "abc\x19" "def\r\n\x19" "lead\r\n3\x19label\x19value\r\n"));
    LoadHistoryFile();
    ASSERT_EQ(InputHistories[12].Count(), 1);
    EXPECT_TRUE(InputHistories[12].At(0)->EqualsExact(Westring("abc")));
    ASSERT_EQ(CommandHistory.Count(), 2);
    EXPECT_TRUE(CommandHistory.At(0)->EqualsExact(Westring("abc\x19" "def")));
    ASSERT_EQ(FieldPresets[3].Count(), 1);
    EXPECT_TRUE(FieldPresets[3].At(0)->label.EqualsExact(Westring("label")));
}

TEST_F(HistoryFileTest, TextsWithSeparatorsAndLineEndsLoadBackWhole) {
    Westring odd("12\x19" "x\r\ny");
    AddCommandHistory(odd.Data(), false, nullptr);
    AddInputHistory(odd, FieldKindFileName, false);
    Restart();
    ASSERT_EQ(CommandHistory.Count(), 1);
    EXPECT_TRUE(CommandHistory.At(0)->EqualsExact(odd));
    ASSERT_EQ(InputHistories[FieldKindFileName].Count(), 1);
    EXPECT_TRUE(InputHistories[FieldKindFileName].At(0)->EqualsExact(odd));
}

TEST_F(HistoryFileTest, LoadingCompactsTheFileToTheLimits) {
    std::string text;
    for (int i = 0; i < 25; i++) {
        text += "4\x19m" + std::to_string(i) + "\r\n";
    }
    for (int i = 0; i < 5; i++) {
        text += "cmd" + std::to_string(i) + "\r\n";
    }
    ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.hst"), text));
    Config.MaxHist = 0;  // counts as 1
    LoadHistoryFile();
    EXPECT_EQ(InputHistories[4].Count(), 25);
    ASSERT_EQ(CommandHistory.Count(), 1);
    std::string expected = "cmd4\r\n";
    for (int i = 5; i < 25; i++) {
        expected += "4\x19m" + std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(File(), expected);
}

TEST_F(HistoryFileTest, RemovingACommandDropsItsLinesInAnyCase) {
    AddCommandHistory(U"dir", false, nullptr);
    AddCommandHistory(U"DIR", false, nullptr);
    AddCommandHistory(U"ls", false, nullptr);
    RewriteHistoryWithout(Westring("Dir"));
    EXPECT_EQ(File(), "ls\r\n");
}

TEST_F(HistoryFileTest, DirectoryHistoryKeepsTheNewestHundred) {
    for (int i = 0; i < 105; i++) {
        Estring path;
        path.Format("C:\\d%d", i);
        AddDirectoryHistory(Westring(path.Data()));
    }
    AddDirectoryHistory(Westring("c:\\D50"));
    ASSERT_EQ(DirectoryHistory.Count(), MaxDirectoryHistory);
    EXPECT_TRUE(DirectoryHistory.At(0)->EqualsExact(Westring("C:\\d5")));
    EXPECT_TRUE(DirectoryHistory.At(99)->EqualsExact(Westring("c:\\D50")));
}

TEST_F(HistoryFileTest, TheLoadingCollectionKeepsItsOwnCopies) {
    CCommandCollection seen;
    for (const char* command : {"make", "ls", "Make"}) {
        Westring* passing = new Westring(command);
        EXPECT_TRUE(seen.InsertOnce(*passing));
        delete passing;  // the caller's text is gone; the collection's copy stays
    }
    EXPECT_FALSE(seen.InsertOnce(Westring("make")));
    EXPECT_FALSE(seen.InsertOnce(Westring("Make")));
    EXPECT_TRUE(seen.InsertOnce(Westring("mak")));
    EXPECT_EQ(seen.Count(), 4);
}

TEST_F(HistoryFileTest, ACommandMetAgainInTheFileMovesToTheNewestPlace) {
    ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.hst"), "make\r\nls\r\nmake\r\nMAKE\r\n  ls\r\n"));
    LoadHistoryFile();
    ASSERT_EQ(CommandHistory.Count(), 3);
    EXPECT_TRUE(CommandHistory.At(0)->EqualsExact(Westring("make")));
    EXPECT_TRUE(CommandHistory.At(1)->EqualsExact(Westring("MAKE")));
    EXPECT_TRUE(CommandHistory.At(2)->EqualsExact(Westring("ls")));
}

}  // namespace
}  // namespace qvtest
