// The command and input-field histories with their file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

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
                               "12\x19"
                               "abc\r\n13\x19"
                               "skipped\r\n-1\x19"
                               "skipped\r\n"
                               "abc\x19"
                               "def\r\n\x19"
                               "lead\r\n3\x19label\x19value\r\n"));
    LoadHistoryFile();
    ASSERT_EQ(InputHistories[12].Count(), 1);
    EXPECT_TRUE(InputHistories[12].At(0)->EqualsExact(Westring("abc")));
    ASSERT_EQ(CommandHistory.Count(), 2);
    EXPECT_TRUE(
        CommandHistory.At(0)->EqualsExact(Westring("abc\x19"
                                                   "def")));
    ASSERT_EQ(FieldPresets[3].Count(), 1);
    EXPECT_TRUE(FieldPresets[3].At(0)->label.EqualsExact(Westring("label")));
}

TEST_F(HistoryFileTest, TextsWithSeparatorsAndLineEndsLoadBackWhole) {
    Westring odd(
        "12\x19"
        "x\r\ny");
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

// 100,000 lines: 60,000 commands of which 12,000 differ, and 40,000 input
// lines of one kind of which 400 differ when case is ignored. What comes out
// is what adding them one by one would leave: each text once, where it came
// last.
std::string LargeHistoryFile() {
    std::string file;
    for (int i = 0; i < 100000; i++) {
        if (i % 5 < 3) {
            file += "cmd " + std::to_string((i * 7) % 20000) + "\r\n";
        } else {
            // The same mask comes back in either case.
            std::string mask = "*." + std::to_string(i % 1000) + ((i / 1000) % 2 == 0 ? "X" : "x");
            file += std::to_string(FieldKindSelectMask) + "\x19" + mask + "\r\n";
        }
    }
    return file;
}

TEST_F(HistoryFileTest, ALargeFileLoadsEachTextOnceWhereItCameLast) {
    Config.MaxHist = 100000;
    Config.MaxFieldHist = 100000;
    const std::string file = LargeHistoryFile();
    ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.hst"), file));
    Restart();

    // The expectation: every distinct text (case ignored for input lines) in
    // the order of the line where it came last, as that line wrote it.
    std::map<std::string, std::pair<int, std::string>> lastCommand, lastMask;
    size_t at = 0;
    for (int number = 0; at < file.size(); number++) {
        size_t end = file.find("\r\n", at);
        std::string line = file.substr(at, end - at);
        at = end + 2;
        size_t separator = line.find('\x19');
        if (separator == std::string::npos) {
            lastCommand[line] = {number, line};
        } else {
            std::string text = line.substr(separator + 1), key = text;
            std::transform(key.begin(), key.end(), key.begin(), [](char c) { return char(std::toupper(c)); });
            lastMask[key] = {number, text};
        }
    }
    auto inOrder = [](const std::map<std::string, std::pair<int, std::string>>& last) {
        std::vector<std::pair<int, std::string>> ordered;
        for (const auto& item : last) {
            ordered.push_back(item.second);
        }
        std::sort(ordered.begin(), ordered.end());
        std::vector<std::string> texts;
        for (const auto& item : ordered) {
            texts.push_back(item.second);
        }
        return texts;
    };
    const std::vector<std::string> commands = inOrder(lastCommand), masks = inOrder(lastMask);
    // Many lines repeat an earlier one.
    ASSERT_EQ(commands.size(), 12000u);
    ASSERT_EQ(masks.size(), 400u);
    ASSERT_EQ(CommandHistory.Count(), static_cast<int>(commands.size()));
    for (int i = 0; i < CommandHistory.Count(); i++) {
        ASSERT_TRUE(CommandHistory.At(i)->EqualsExact(Westring(commands[i].c_str()))) << i;
    }
    WestringStore& history = InputHistories[FieldKindSelectMask];
    ASSERT_EQ(history.Count(), static_cast<int>(masks.size()));
    for (int i = 0; i < history.Count(); i++) {
        ASSERT_TRUE(history.At(i)->EqualsExact(Westring(masks[i].c_str()))) << i;
    }
    // Within the limits nothing was rewritten.
    EXPECT_EQ(File(), file);
}

// Run by tests/app/settings/bench_history_100k.sh: prints how long loading 100,000
// lines takes; asserts no time.
TEST_F(HistoryFileTest, DISABLED_Load100000Lines) {
    const std::string file = LargeHistoryFile();
    ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.hst"), file));
    for (int limit : {500, 100000}) {
        Config.MaxHist = limit;
        Config.MaxFieldHist = limit;
        ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.hst"), file));
        ClearStores();
        auto start = std::chrono::steady_clock::now();
        LoadHistoryFile();
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("history load, 100000 lines, limits %d: %.3f s (%d commands kept)\n", limit, seconds,
                    CommandHistory.Count());
    }
}

}  // namespace
}  // namespace qvtest
