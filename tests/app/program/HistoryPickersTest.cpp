// The command-history and directory-history pickers on a console on pipes:
// the keys are queued before a picker runs; the answer, the stores and the
// history file are looked at when it has ended.
#include "app/program/HistoryPickers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "app/settings/HistoryFile.h"
#include "tests/app/settings/ConfigTestSupport.h"
#include "tests/ui/UiConsole.h"

namespace qvtest {
namespace {

const int KeyF7 = KEY_F1 + 6;
const int KeyShiftF7 = KEY_SHIFT_F1 + 6;
const int KeyAltF7 = KEY_ALT_F1 + 6;

std::string Text(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

class HistoryPickersTest : public UiConsole {
protected:
    void SetUp() override {
        UiConsole::SetUp();
        ClearHistoryStores();
        DataFilePath(DataFileHistory, DataFileUserFolder);  // makes the folder
    }
    void TearDown() override {
        ClearHistoryStores();
        UiConsole::TearDown();
    }
    // Commands as if typed in this order, each appended to the file.
    void Commands(std::initializer_list<const char*> commands) {
        for (const char* command : commands) {
            AddCommandHistory(Westring(command).Data(), false, nullptr);
        }
    }
    // Runs the command-history picker; the command line it leaves.
    int Pick() {
        line = Westring("typed");
        cursor = 3;
        return ShowCommandHistory(0, line, cursor);
    }
    std::string File() { return ReadFileBytes(folder.DataFile("quorvane.hst")); }

    TestDataFolder folder;
    Westring line;
    int cursor = 0;
};

TEST_F(HistoryPickersTest, CtrlJPutsTheChosenCommandIntoTheLine) {
    Commands({"make", "ls -l", "cd src"});
    // The newest entry is selected first; Up goes to older ones.
    Key(KEY_UP);
    Key(KEY_CTRL_J, KEY_CTRL_J);
    EXPECT_EQ(Pick(), 1);
    EXPECT_EQ(Text(line), "ls -l");
    EXPECT_EQ(cursor, 5);

    Key(KEY_CTRL_J, KEY_CTRL_J);
    EXPECT_EQ(Pick(), 1);
    EXPECT_EQ(Text(line), "cd src");

    Key(KEY_ESC, KEY_ESC);
    EXPECT_EQ(Pick(), 0);
    EXPECT_EQ(Text(line), "typed");
    EXPECT_EQ(cursor, 3);
}

TEST_F(HistoryPickersTest, AnEmptyHistoryShowsNothing) {
    EXPECT_EQ(Pick(), 0);
    EXPECT_EQ(Text(line), "typed");
    EXPECT_EQ(PickDirectoryHistory().Length(), 0);
}

TEST_F(HistoryPickersTest, DelAsksThenRemovesTheEntryAndItsLinesInAnyCase) {
    Commands({"dir", "ls", "DIR", "dir"});
    ASSERT_EQ(CommandHistory.Count(), 3);  // ls, DIR, dir
    // Cancelled: nothing goes.
    Key(KEY_DELETE);
    Key(KEY_ESC, KEY_ESC);
    Key(KEY_ESC, KEY_ESC);
    EXPECT_EQ(Pick(), 0);
    EXPECT_EQ(CommandHistory.Count(), 3);
    EXPECT_EQ(File(), "dir\r\nls\r\nDIR\r\ndir\r\n");

    // Confirmed: the newest "dir" goes from the store, and every line equal
    // to it without regard to case from the file; "DIR" stays in memory.
    Key(KEY_DELETE);
    Key(KEY_ENTER, KEY_ENTER);
    Key(KEY_CTRL_J, KEY_CTRL_J);
    EXPECT_EQ(Pick(), 1);
    EXPECT_EQ(Text(line), "DIR");
    ASSERT_EQ(CommandHistory.Count(), 2);
    EXPECT_EQ(Text(*CommandHistory.At(0)), "ls");
    EXPECT_EQ(File(), "ls\r\n");

    // Removing the last entries ends the picker.
    Key(KEY_DELETE);
    Key(KEY_ENTER, KEY_ENTER);
    Key(KEY_DELETE);
    Key(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(Pick(), 0);
    EXPECT_EQ(CommandHistory.Count(), 0);
    EXPECT_EQ(File(), "");
}

TEST_F(HistoryPickersTest, SearchKeysFindEntriesWithoutRegardToCase) {
    Commands({"grep main", "make clean", "ls", "MAKE all", "cd .."});
    struct Case {
        const char* name;
        std::initializer_list<int> keys;  // after the picker opened
        const char* chosen;               // taken with Ctrl-J
    };
    // F7 asks for the text and looks from the selected entry towards older
    // ones; Shift+F7 goes on one older, Alt+F7 one newer.
    const Case cases[] = {
        {"F7", {KeyF7, 'm', 'a', 'K', 'e', 13}, "MAKE all"},
        {"F7 keeps the text", {KeyF7, 13}, "MAKE all"},
        {"Shift+F7", {KeyF7, 13, KeyShiftF7}, "make clean"},
        {"Alt+F7", {KeyF7, 13, KeyShiftF7, KeyAltF7}, "MAKE all"},
        {"F7 on a match stays", {KeyF7, 13, KeyF7, 13}, "MAKE all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int key : c.keys) {
            Key(key, key <= KEY_LAST_CHARACTER ? key : 0);
        }
        Key(KEY_CTRL_J, KEY_CTRL_J);
        EXPECT_EQ(Pick(), 1);
        EXPECT_EQ(Text(line), c.chosen);
    }
    EXPECT_EQ(Text(HistorySearchText), "maKe");
    // The search text went into the history of its field kind.
    ASSERT_EQ(InputHistories[FieldKindHistorySearch].Count(), 1);
}

TEST_F(HistoryPickersTest, ASearchThatFindsNothingSaysSoAndKeepsTheSelection) {
    Commands({"alpha", "beta", "gamma"});
    HistorySearchText = Westring("zeta");
    Key(KEY_UP);
    Key(KeyShiftF7);
    Key(KEY_ENTER, KEY_ENTER);  // "String not found"
    Key(KeyAltF7);
    Key(KEY_ENTER, KEY_ENTER);
    Key(KEY_CTRL_J, KEY_CTRL_J);
    EXPECT_EQ(Pick(), 1);
    EXPECT_EQ(Text(line), "beta");
}

TEST_F(HistoryPickersTest, DirectoryHistoryReturnsTheChosenDirectory) {
    for (const char* directory : {"C:\\one", "C:\\two", "D:\\three"}) {
        AddDirectoryHistory(Westring(directory));
    }
    Key(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(Text(PickDirectoryHistory()), "D:\\three");
    Key(KEY_UP);
    Key(KEY_UP);
    Key(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(Text(PickDirectoryHistory()), "C:\\one");
    Key(KEY_UP);
    Key(KEY_ESC, KEY_ESC);
    EXPECT_EQ(PickDirectoryHistory().Length(), 0);
    EXPECT_EQ(DirectoryHistory.Count(), 3);
}

}  // namespace
}  // namespace qvtest
