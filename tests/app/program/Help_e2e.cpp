// F1 in the real program with the help file the build puts beside it: each
// screen opens its own page, F1 on a page the index, F7 and Shift+F7 search.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace qvtest {
namespace {

using qvhost::ScreenModel;

// A line of each page that no other page shows.
const char* const PanelsLine = "Two panels show two directories";
const char* const IndexLine = "Quorvane help: the index";

class HelpTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Write("work/a.txt", "some text\r\n");
        Write("work/tools.mnu", "A: Say hello\r\n    echo hello\r\n");
        // One earlier command, for the history list.
        Write("test.hst", "echo earlier\r\n");
        // The synchroniser wants two different folders.
        MakeFolder("other");
    }
    void StartHere() {
        Launch(Options({"-l", "T:\\work", "-r", "T:\\other", Ini("PauseAfterRun=off\r\n")}));
        ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    }
    // F1, and the page is shown in the help window.
    void ShowsPage(const std::string& line) {
        host->SendKey(KEY_F1);
        ASSERT_TRUE(
            host->WaitFor([&](const ScreenModel& s) { return RowOf(s, " Help ") >= 0 && RowOf(s, line) >= 0; }, WaitMs))
            << "expected: " << line << "\n"
            << host->ScreenText();
    }
    // Esc closes the page; what was below comes back.
    void ClosePage(const std::string& line, const std::string& below) {
        host->SendKey(KEY_ESC, KEY_ESC);
        ASSERT_TRUE(
            host->WaitFor([&](const ScreenModel& s) { return RowOf(s, line) < 0 && RowOf(s, below) >= 0; }, WaitMs))
            << host->ScreenText();
    }
    void Letter(char c) { host->SendText(std::string(1, c)); }
    // The first text row of the help window: the row under its title.
    std::string TopLine() {
        ScreenModel s = host->Snapshot();
        int title = RowOf(s, " Help ");
        return title < 0 ? std::string() : s.RowText(title + 1);
    }
    bool TopLineHas(const std::string& text) {
        return Eventually([&] { return TopLine().find(text) != std::string::npos; });
    }
};

TEST_F(HelpTest, PanelsPageThenTheIndexOverItThenBack) {
    StartHere();
    ShowsPage(PanelsLine);
    EXPECT_GE(RowOf(host->Snapshot(), " Quorvane/W 2.50-dev "), 0);
    ShowsPage(IndexLine);
    // The index lists the pages with the key that reaches them (its rows
    // may come in a screen update after its first line).
    EXPECT_TRUE(Shows("The viewer                         F1 in the viewer (F3)")) << host->ScreenText();
    ClosePage(IndexLine, PanelsLine);
    ClosePage(PanelsLine, "1Help");
}

TEST_F(HelpTest, SearchFindsALaterLineAndThenTheNextOne) {
    StartHere();
    ShowsPage(PanelsLine);
    host->SendKey(KEY_F7);
    ASSERT_TRUE(Shows("Search for:")) << host->ScreenText();
    host->SendText("STORED");
    host->SendKey(KEY_ENTER, KEY_ENTER);
    ASSERT_TRUE(TopLineHas("Alt+F5          stored paths")) << host->ScreenText();
    host->SendKey(KEY_SHIFT_F7);
    ASSERT_TRUE(TopLineHas("Stored paths: Ctrl+Shift with a digit")) << host->ScreenText();
    // Past the last one the page stays where it was.
    host->SendKey(KEY_SHIFT_F7);
    ASSERT_TRUE(Shows("String not found")) << host->ScreenText();
    host->SendKey(KEY_ENTER, KEY_ENTER);
    ASSERT_TRUE(Gone("String not found"));
    EXPECT_NE(std::string::npos, TopLine().find("Stored paths: Ctrl+Shift")) << host->ScreenText();
}

struct TScreenPage {
    const char* screen;
    std::function<void()> open;  // opens the screen over the panels
    const char* shown;           // a text of the screen itself
    const char* page;            // a line of its page only
};

TEST_F(HelpTest, EachScreenShowsItsOwnPage) {
    auto menu = [this](char title, char item) {
        host->SendKey(KEY_F9);
        ASSERT_TRUE(Shows("    Left    Files    Commands    Options    Right"));
        Letter(title);
        Letter(item);
    };
    const TScreenPage pages[] = {
        {"configuration", [&] { menu('o', 'c'); }, " Configuration ", "Options, Configuration. Every field is kept"},
        {"confirmations", [&] { menu('o', 'n'); }, " Confirmations ", "Options, Confirmations: which questions"},
        {"command history", [this] { host->SendKey(KEY_ALT_F8); }, " History ", "Type a command and press Enter."},
        {"file find", [this] { host->SendKey(KEY_ALT_F7); }, " File Find ",
         "Alt+F7 (Commands, File Find) searches from the panel's directory"},
        {"attributes",
         [this] {
             host->SendKey(KEY_HOME);
             host->SendKey(KEY_DOWN);
             host->SendKey(KEY_CTRL_A, KEY_CTRL_A, SHIFT_CTRL);
         },
         " File  Attributes ", "Ctrl-A (Files, File Attributes) changes the attributes"},
        {"directory compare", [this] { host->SendKey(KEY_CTRL_K, KEY_CTRL_K, SHIFT_CTRL); }, " Directory Compare ",
         "Ctrl-K (Commands, Compare Directories) compares the files"},
        {"synchroniser", [this] { host->SendKey(KEY_CTRL_SHIFT_F9, 0, SHIFT_CTRL | SHIFT_SHIFT); },
         " Synchronize Directories ", "Ctrl+Shift+F9 (Commands, Synchronize) makes the other panel's tree"},
    };
    StartHere();
    for (const TScreenPage& c : pages) {
        SCOPED_TRACE(c.screen);
        c.open();
        ASSERT_TRUE(Shows(c.shown)) << host->ScreenText();
        ShowsPage(c.page);
        ClosePage(c.page, c.shown);
        host->SendKey(KEY_ESC, KEY_ESC);
        ASSERT_TRUE(Gone(c.shown)) << host->ScreenText();
    }
}

TEST_F(HelpTest, EachMenuTitleShowsItsPageAndRightSharesLeft) {
    StartHere();
    host->SendKey(KEY_F9);
    ASSERT_TRUE(Shows("    Left    Files    Commands    Options    Right"));
    const char* const titles[] = {"F9 opens the menu bar on the active panel", "The Files menu", "The Commands menu",
                                  "The Options menu", "F9 opens the menu bar on the active panel"};
    for (const char* page : titles) {
        SCOPED_TRACE(page);
        ShowsPage(page);
        ClosePage(page, "    Left    Files    Commands    Options    Right");
        host->SendKey(KEY_RIGHT);
    }
}

TEST_F(HelpTest, ViewerAndEditorPagesFollowTheFile) {
    struct TFileCase {
        std::vector<std::string> args;
        const char* shown;
        const char* page;
    };
    std::string ini = Ini("PauseAfterRun=off\r\n");
    const TFileCase cases[] = {
        {{"-v", "T:\\work\\a.txt"}, "some text", "F3 shows the file under the cursor"},
        {{"-e", "T:\\work\\a.txt"}, "some text", "F4 edits the file under the cursor"},
        {{"-e", "T:\\work\\tools.mnu"}, "Say hello", "F2 shows the user menu, read from a menu file"},
        {{ini, "-e", ini}, "PauseAfterRun", "quorvane.ini keeps the setup"},
    };
    for (const TFileCase& c : cases) {
        SCOPED_TRACE(c.page);
        Launch(Options(c.args));
        ASSERT_TRUE(Shows(c.shown)) << host->ScreenText();
        ShowsPage(c.page);
        ClosePage(c.page, c.shown);
    }
}

}  // namespace
}  // namespace qvtest
