// The stored-paths dialog (Alt+F5), the command-history picker (Alt+F8) and
// the directory-history picker (Alt+\) in the real program.
#include <gtest/gtest.h>

#include <string>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace qvtest {
namespace {

using qvhost::ScreenModel;

const int ShiftAlt = 1;

class StoredPathsAndHistoriesTest : public ProgramTest {
protected:
    // Types a line on the command line and enters it; it names no program,
    // so the interpreter says so, and a key after the pause brings the panels
    // back (the test starts the program with "PauseAfterRun" on).
    void EnterCommand(const std::string& command) {
        host->SendText(command);
        host->SendKey(KEY_ENTER, KEY_ENTER);
        ASSERT_TRUE(Shows("Press any key to continue")) << host->ScreenText();
        host->SendText("x");
        ASSERT_TRUE(Gone("Press any key to continue"));
        ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    }
    // Waits until the ini file holds the text (or, with `present` false, no longer does).
    bool IniHas(const std::string& text, bool present = true) {
        // An empty read is the moment of the replacement, not the new file:
        // where a rename cannot replace a file (wine) the old one goes first.
        return Eventually([&] {
            std::string ini = Read("test.ini");
            return !ini.empty() && (ini.find(text) != std::string::npos) == present;
        });
    }
    // How many rows of the screen hold the text.
    static int RowsWith(const ScreenModel& screen, const std::string& text) {
        int count = 0;
        for (int y = 0; y < screen.Rows(); y++) {
            count += screen.RowText(y).find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }
    // Waits until exactly `count` rows hold the text.
    bool RowsWith(const std::string& text, int count) {
        return host->WaitFor([&](const ScreenModel& s) { return RowsWith(s, text) == count; }, WaitMs);
    }
    void OpenStoredPaths() {
        host->SendKey(KEY_ALT_F5);
        ASSERT_TRUE(Shows(" Stored Paths ")) << host->ScreenText();
    }
    void Quit() {
        host->SendKey(KEY_F10);
        ASSERT_TRUE(Shows("Are you sure you want to exit Quorvane ?"));
        host->SendKey(KEY_ENTER, KEY_ENTER);
        EXPECT_EQ(host->WaitExit(), 0);
    }
};

TEST_F(StoredPathsAndHistoriesTest, ADigitOrEnterSendsThePanelToAStoredPath) {
    MakeFolder("work/sub");
    MakeFolder("work/tmpdir");
    Start("d1=T:\\work\\sub\r\nd3=%TEMP%\r\nd4=T:\\nowhere\r\n", {{"TEMP", "T:\\work\\tmpdir"}});
    OpenStoredPaths();
    EXPECT_TRUE(Shows("0 - Empty"));
    EXPECT_TRUE(Shows("1 - T:\\work\\sub"));
    EXPECT_TRUE(Shows("3 - %TEMP%"));
    // The digit of an empty slot keeps the dialog open.
    host->SendText("2");
    host->WaitQuiet();
    EXPECT_TRUE(Shows(" Stored Paths "));
    host->SendText("1");
    ASSERT_TRUE(Gone(" Stored Paths ")) << host->ScreenText();
    EXPECT_TRUE(PromptIs("T:\\work\\sub")) << host->ScreenText();

    // Enter on a slot whose path names an environment variable.
    OpenStoredPaths();
    for (int i = 0; i < 3; i++) {
        host->SendKey(KEY_DOWN);
    }
    host->SendKey(KEY_ENTER, KEY_ENTER);
    EXPECT_TRUE(PromptIs("T:\\work\\tmpdir")) << host->ScreenText();

    // A path that cannot be reached says so and leaves the panel.
    OpenStoredPaths();
    host->SendText("4");
    ASSERT_TRUE(Shows("Invalid directory")) << host->ScreenText();
    EXPECT_TRUE(Shows("T:\\nowhere"));
    host->SendKey(KEY_ENTER, KEY_ENTER);
    ASSERT_TRUE(Gone("Invalid directory"));
    EXPECT_TRUE(PromptIs("T:\\work\\tmpdir")) << host->ScreenText();
}

TEST_F(StoredPathsAndHistoriesTest, InsAndDelChangeTheSlotsAtOnceAndTheIniKeepsThem) {
    std::string deep = "T:\\work";
    for (int i = 0; i < 12; i++) {
        deep += "\\folder" + std::to_string(i);
    }
    Start("d9=" + deep + "\r\n");
    OpenStoredPaths();
    // A path longer than the list is shortened, its slot number kept.
    EXPECT_TRUE(Shows("9 - T:\\"));
    EXPECT_TRUE(RowsWith(deep, 0)) << host->ScreenText();
    host->SendKey(KEY_INSERT);
    ASSERT_TRUE(Shows("0 - T:\\work ")) << host->ScreenText();
    host->SendKey(KEY_DOWN);
    host->SendKey(KEY_INSERT);
    ASSERT_TRUE(Shows("1 - T:\\work ")) << host->ScreenText();
    // Left with Esc: what Ins stored stays.
    host->SendKey(KEY_ESC, KEY_ESC);
    ASSERT_TRUE(Gone(" Stored Paths "));
    host->SendKey(KEY_SHIFT_F9);
    EXPECT_TRUE(IniHas("\r\nd0=T:\\work\r\nd1=T:\\work\r\nd9=" + deep + "\r\n")) << Read("test.ini");

    OpenStoredPaths();
    host->SendKey(KEY_DELETE);
    ASSERT_TRUE(Shows("0 - Empty")) << host->ScreenText();
    host->SendKey(KEY_ESC, KEY_ESC);
    ASSERT_TRUE(Gone(" Stored Paths "));
    host->SendKey(KEY_SHIFT_F9);
    EXPECT_TRUE(IniHas("d0=", false)) << Read("test.ini");
    EXPECT_TRUE(IniHas("\r\nd1=T:\\work\r\n")) << Read("test.ini");
}

TEST_F(StoredPathsAndHistoriesTest, ACommandTypedThreeTimesIsShownOnceAndSurvivesARestart) {
    Start("PauseAfterRun=on\r\n");
    for (const char* command : {"same", "same", "same", "other"}) {
        EnterCommand(command);
    }
    host->SendKey(KEY_ALT_F8);
    ASSERT_TRUE(Shows(" History ")) << host->ScreenText();
    EXPECT_TRUE(RowsWith("same", 1)) << host->ScreenText();
    // The newest is selected; Up and Ctrl-J put the older one on the line.
    host->SendKey(KEY_UP);
    host->SendKey(KEY_CTRL_J, KEY_CTRL_J);
    ASSERT_TRUE(Gone(" History "));
    EXPECT_TRUE(host->WaitFor([](const ScreenModel& s) {
        return s.RowText(s.Rows() - 2).rfind("T:\\work>same ", 0) == 0;
    })) << host->ScreenText();
    host->SendKey(KEY_ESC, KEY_ESC);
    Quit();
    // The history file lies beside the ini file named on the command line.
    EXPECT_EQ(Read("test.hst"), "same\r\nsame\r\nsame\r\nother\r\n");

    Start("PauseAfterRun=on\r\n");
    host->SendKey(KEY_ALT_F8);
    ASSERT_TRUE(Shows(" History ")) << host->ScreenText();
    EXPECT_TRUE(RowsWith("same", 1)) << host->ScreenText();
    EXPECT_TRUE(RowsWith("other", 1)) << host->ScreenText();
    // Enter runs the selected command: the interpreter finds no such program.
    host->SendKey(KEY_ENTER, KEY_ENTER);
    // (The Windows build's interpreter is cmd, which words it its own way.)
    if (!OnWindowsLeg()) {
        ASSERT_TRUE(Shows("other: not found")) << host->ScreenText();
    }
    // Keys typed before the pause would reach the child.
    ASSERT_TRUE(Shows("Press any key to continue")) << host->ScreenText();
    host->SendText("x");
    ASSERT_TRUE(Gone("Press any key to continue"));
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    // Esc leaves the picker with the screen as it was.
    host->SendKey(KEY_ALT_F8);
    ASSERT_TRUE(Shows(" History "));
    host->SendKey(KEY_ESC, KEY_ESC);
    EXPECT_TRUE(Gone(" History ")) << host->ScreenText();
    EXPECT_TRUE(PromptIs("T:\\work"));
}

TEST_F(StoredPathsAndHistoriesTest, TheDirectoryHistorySendsThePanelBack) {
    MakeFolder("work/alpha");
    Start("d1=T:\\work\\alpha\r\nd2=T:\\work\r\n");
    for (const char* digit : {"1", "2"}) {
        OpenStoredPaths();
        host->SendText(digit);
        ASSERT_TRUE(Gone(" Stored Paths "));
    }
    ASSERT_TRUE(PromptIs("T:\\work"));
    // The directories left, newest last and selected; Esc chooses nothing.
    host->SendKey(KEY_ALT_SHIFT_F8);
    ASSERT_TRUE(Shows(" Directory History ")) << host->ScreenText();
    EXPECT_TRUE(host->WaitFor([](const ScreenModel& s) {
        int older = -1;
        int newer = -1;
        for (int y = 0; y < s.Rows(); y++) {
            std::string row = s.RowText(y);
            older = row.find("\u2551T:\\work ") != std::string::npos ? y : older;
            newer = row.find("\u2551T:\\work\\alpha ") != std::string::npos ? y : newer;
        }
        return older >= 0 && newer == older + 1;
    })) << host->ScreenText();
    host->SendKey(KEY_ESC, KEY_ESC);
    ASSERT_TRUE(Gone(" Directory History "));
    EXPECT_TRUE(PromptIs("T:\\work"));
    // Alt+\ opens it too; Enter goes to the newest.
    host->SendKey(KEY_ALT_BACKSLASH, '\\', ShiftAlt);
    ASSERT_TRUE(Shows(" Directory History ")) << host->ScreenText();
    host->SendKey(KEY_ENTER, KEY_ENTER);
    ASSERT_TRUE(Gone(" Directory History "));
    EXPECT_TRUE(PromptIs("T:\\work\\alpha")) << host->ScreenText();
    // And back to the directory just left.
    host->SendKey(KEY_ALT_SHIFT_F8);
    ASSERT_TRUE(Shows(" Directory History ")) << host->ScreenText();
    host->SendKey(KEY_ENTER, KEY_ENTER);
    ASSERT_TRUE(Gone(" Directory History "));
    EXPECT_TRUE(PromptIs("T:\\work")) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
