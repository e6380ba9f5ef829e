// The menu bar, the panel filter, full screen, the confirmations, the
// configuration dialog with its path editor and the information page in the
// real program. T: is the test's folder with the volume label WORK; both
// panels show T:\work.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace qvtest {
namespace {

using qvhost::ScreenModel;

const uint8_t MenuBarColour = 0x30;
const uint8_t MenuHighlightColour = 0x0F;

class MenusTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        MapDrive('T', "", "WORK");
        Write("work/a.txt", "text");
        Write("work/b.log", "log");
        Write("work/dirinfo", "First line of the notes\r\nSecond\tline\r\n");
        MakeFolder("work/sub");
    }
    void StartHere() { Start("FullScreen=on\r\nHalfScreenConsoleLines=-2\r\n"); }
    void Menu() {
        host->PressKey("F9");
        ASSERT_TRUE(Shows("    Left    Files    Commands    Options    Right")) << host->ScreenText();
    }
    void Letter(char c) { host->SendText(std::string(1, c)); }
    void OpenConfiguration() {
        Menu();
        Letter('o');
        ASSERT_TRUE(Shows("Confirmations")) << host->ScreenText();
        Letter('c');
        ASSERT_TRUE(Shows(" Configuration ")) << host->ScreenText();
    }
    bool IniHas(const std::string& text, bool present = true) {
        return Eventually([&] { return (Read("test.ini").find(text) != std::string::npos) == present; });
    }
    void SaveSetup(const std::string& expect) {
        host->PressKey("Shift+F9");
        ASSERT_TRUE(IniHas(expect)) << Read("test.ini");
    }
    // The row of the panels' bottom frame.
    bool BottomFrameOn(int row) {
        return host->WaitFor([row](const ScreenModel& s) { return s.RowText(row).rfind("\u255a", 0) == 0; }, WaitMs);
    }
    // The screen column where the text starts in a row, -1 when it does not.
    static int Column(const std::string& row, const std::string& text) {
        std::string::size_type at = row.find(text);
        if (at == std::string::npos) {
            return -1;
        }
        int column = 0;
        for (std::string::size_type i = 0; i < at; i++) {
            column += (static_cast<unsigned char>(row[i]) & 0xC0) != 0x80 ? 1 : 0;
        }
        return column;
    }
    // The number of files the information page counts, -1 when not shown.
    static long PageCount(const ScreenModel& s) {
        for (int y = 0; y < s.Rows(); y++) {
            std::string row = s.RowText(y);
            std::string::size_type at = row.find(" files use ");
            if (at == std::string::npos || at < 40) {
                continue;
            }
            std::string::size_type start = row.find_last_of(' ', at - 1);
            return std::strtol(row.substr(start + 1, at - start - 1).c_str(), nullptr, 10);
        }
        return -1;
    }
};

TEST_F(MenusTest, TheBarOpensOnTheActiveSideAndAChoiceIsMarkedNextTime) {
    StartHere();
    Menu();
    ScreenModel screen = host->Snapshot();
    EXPECT_EQ(screen.RowText(0).rfind("    Left    Files    Commands    Options    Right", 0), 0u);
    std::vector<uint8_t> colours = host->RowAttributes(0);
    EXPECT_EQ(colours[1], MenuBarColour);
    for (int x = 2; x < 10; x++) {
        EXPECT_EQ(colours[x], MenuHighlightColour) << x;
    }
    EXPECT_EQ(colours[10], MenuBarColour);
    EXPECT_EQ(RowOf(screen, "AlSh-F1"), -1) << "no menu is open yet";

    host->PressKey("Down");
    ASSERT_TRUE(Shows("Brief       AlSh-F1")) << host->ScreenText();
    EXPECT_TRUE(Shows("Drive       Alt-F1"));
    host->PressKey("Down");
    host->PressKey("Down");
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("AlSh-F1"));
    SaveSetup("LeftStyle=");
    EXPECT_TRUE(IniHas("LeftStyle=wide")) << Read("test.ini");

    Menu();
    host->PressKey("Down");
    EXPECT_TRUE(Shows("\u221aWide        AlSh-F3")) << host->ScreenText();
    EXPECT_TRUE(Shows(" Full        AlSh-F2"));
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("AlSh-F3"));
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("Commands")) << host->ScreenText();

    // Ctrl-N in the right panel opens on its own title; Esc leaves the bar.
    host->PressKey("Tab");
    host->PressKey("Ctrl+n");
    ASSERT_TRUE(Shows("Commands"));
    colours = host->RowAttributes(0);
    EXPECT_EQ(colours[42], MenuHighlightColour);
    EXPECT_EQ(colours[2], MenuBarColour);
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("Commands")) << host->ScreenText();
}

TEST_F(MenusTest, OptionsByLetterAndFullScreenGivesTheRowsBack) {
    StartHere();
    ASSERT_TRUE(BottomFrameOn(22)) << host->ScreenText();
    OpenConfiguration();
    host->PressKey("Esc");
    ASSERT_TRUE(Gone(" Configuration "));

    Menu();
    Letter('o');
    ASSERT_TRUE(Shows("Full Screen"));
    Letter('f');
    // 25 rows, two rows of every three left to the panels: 11 entry rows.
    EXPECT_TRUE(BottomFrameOn(14)) << host->ScreenText();
    Menu();
    Letter('o');
    ASSERT_TRUE(Shows("Full Screen"));
    Letter('f');
    EXPECT_TRUE(BottomFrameOn(22)) << host->ScreenText();
}

TEST_F(MenusTest, TheFilterHidesWhatItDoesNotMatch) {
    StartHere();
    ASSERT_TRUE(Shows("b.log"));
    Menu();
    host->PressKey("Down");
    ASSERT_TRUE(Shows("Filter"));
    Letter('l');
    ASSERT_TRUE(Shows("Filter for left panel")) << host->ScreenText();
    host->SendText("*.txt");
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("Filter for left panel"));
    // The right panel still shows b.log; the left one no longer does.
    EXPECT_TRUE(host->WaitFor(
        [](const ScreenModel& s) {
            bool leftLog = false;
            bool leftText = false;
            bool leftSub = false;
            for (int y = 1; y < 20; y++) {
                std::string left = s.RowText(y).substr(0, 40);
                leftLog = leftLog || left.find("b.log") != std::string::npos;
                leftText = leftText || left.find("a.txt") != std::string::npos;
                leftSub = leftSub || left.find("sub") != std::string::npos;
            }
            return !leftLog && leftText && leftSub;
        },
        WaitMs))
        << host->ScreenText();
    EXPECT_TRUE(Shows("b.log"));

    // An expression with an error keeps the dialog open with its text.
    Menu();
    host->PressKey("Down");
    Letter('l');
    ASSERT_TRUE(Shows("Filter for left panel"));
    host->SendText("(*.txt");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("Error in expression")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("Error in expression"));
    EXPECT_TRUE(Shows("Filter for left panel"));
    EXPECT_TRUE(Shows("(*.txt"));
    host->PressKey("Esc");
    ASSERT_TRUE(Gone("Filter for left panel"));
}

TEST_F(MenusTest, ConfirmationsShowTheirBoxesAndSwitchTheQuitQuestionOff) {
    StartHere();
    Menu();
    Letter('o');
    ASSERT_TRUE(Shows("Confirmations"));
    Letter('n');
    ASSERT_TRUE(Shows(" Confirmations ")) << host->ScreenText();
    ASSERT_TRUE(Shows("Quit Quorvane"));
    ScreenModel screen = host->Snapshot();
    int ticked = 0;
    for (int y = 0; y < screen.Rows(); y++) {
        ticked += screen.RowText(y).find("[X]") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(ticked, 5) << host->ScreenText();
    host->PressKey("Esc");
    ASSERT_TRUE(Gone(" Confirmations "));
    SaveSetup("Confirmations=0\r\n");

    Menu();
    Letter('o');
    Letter('n');
    ASSERT_TRUE(Shows("Quit Quorvane"));
    for (int i = 0; i < 3; i++) {
        host->PressKey("Down");
    }
    host->SendText(" ");
    host->PressKey("Enter");
    ASSERT_TRUE(Gone(" Confirmations "));
    SaveSetup("Confirmations=8\r\n");
    host->PressKey("F10");
    EXPECT_EQ(host->WaitExit(), 0) << host->ScreenText();
}

TEST_F(MenusTest, ConfigurationOkKeepsAndEscUndoes) {
    StartHere();
    OpenConfiguration();
    host->SendText("vi");
    host->PressKey("Enter");
    ASSERT_TRUE(Gone(" Configuration "));
    SaveSetup("Viewer=vi\r\n");

    OpenConfiguration();
    ASSERT_TRUE(Shows("vi"));
    host->SendText("less");
    // Lines set to 0 and a check box changed go as well.
    host->PressKey("Alt+n");
    host->SendText("0");
    host->PressKey("Alt+a");
    host->PressKey("Esc");
    ASSERT_TRUE(Gone(" Configuration "));
    host->PressKey("Shift+F9");
    EXPECT_TRUE(IniHas("Viewer=vi\r\n")) << Read("test.ini");
    EXPECT_TRUE(IniHas("Viewer=less", false)) << Read("test.ini");
    EXPECT_TRUE(BottomFrameOn(22));
}

TEST_F(MenusTest, ThePathEditorBuildsTheListLineByLine) {
    StartHere();
    OpenConfiguration();
    EXPECT_EQ(RowOf(host->Snapshot(), " F4=Edit "), -1);
    // F4 elsewhere does nothing.
    host->PressKey("F4");
    host->PressKey("Alt+p");
    ASSERT_TRUE(Shows(" F4=Edit ")) << host->ScreenText();
    host->PressKey("F4");
    ASSERT_TRUE(Shows(" Path Append ")) << host->ScreenText();
    EXPECT_TRUE(Shows("Alt-A=Append"));
    // Nothing to delete, move or edit in an empty list.
    for (const char* key : {"Delete", "F4", "Alt+Up", "Alt+Down"}) {
        host->PressKey(key);
    }
    host->PressKey("Alt+a");
    host->SendText("c:\\bin");
    host->PressKey("Enter");
    host->PressKey("Alt+a");
    host->SendText("d:\\tools");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("d:\\tools"));
    host->PressKey("Enter");
    ASSERT_TRUE(Gone(" Path Append ")) << host->ScreenText();
    EXPECT_TRUE(Shows("c:\\bin;d:\\tools")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone(" Configuration "));
    SaveSetup("PathAppend=c:\\bin;d:\\tools\r\n");

    // Alt+Up moves a line, Delete drops one, Esc keeps the list.
    OpenConfiguration();
    host->PressKey("Alt+p");
    host->PressKey("F4");
    ASSERT_TRUE(Shows(" Path Append "));
    host->PressKey("Down");
    host->PressKey("Alt+Up");
    host->PressKey("Enter");
    ASSERT_TRUE(Gone(" Path Append "));
    EXPECT_TRUE(Shows("d:\\tools;c:\\bin")) << host->ScreenText();
    host->PressKey("F4");
    ASSERT_TRUE(Shows(" Path Append "));
    host->PressKey("Delete");
    host->PressKey("Esc");
    ASSERT_TRUE(Gone(" Path Append "));
    EXPECT_TRUE(Shows("d:\\tools;c:\\bin"));
    host->PressKey("Enter");
    ASSERT_TRUE(Gone(" Configuration "));
    SaveSetup("PathAppend=d:\\tools;c:\\bin\r\n");
}

TEST_F(MenusTest, TheInformationPageDescribesTheOtherPanel) {
    StartHere();
    host->PressKey("Ctrl+l");
    ASSERT_TRUE(Shows(" INFO ")) << host->ScreenText();
    for (const char* text :
         {" total physical memory", " free physical memory",
          " total bytes on drive T:", " bytes free on drive T:", "files use", "bytes in", "Label       : WORK",
          "File System : ", "Serial No   : ", " Dir Info ", "First line of the notes", "Second line"}) {
        EXPECT_TRUE(Shows(text)) << text << "\n" << host->ScreenText();
    }
    ScreenModel screen = host->Snapshot();
    // The page is the right panel's; at 80 columns the labels start at its
    // thirteenth column.
    int row = RowOf(screen, " total physical memory");
    ASSERT_GE(row, 0);
    EXPECT_EQ(Column(screen.RowText(row), " total physical memory"), 53) << screen.RowText(row);
    std::string system = screen.RowText(RowOf(screen, "File System : "));
    EXPECT_NE(system.substr(system.find("File System : ") + 14, 1), " ");
    std::string serial = screen.RowText(RowOf(screen, "Serial No   : "));
    char digit = serial[serial.find("Serial No   : ") + 14];
    EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(digit))) << serial;
    // Five entries: "..", a.txt, b.log, dirinfo and sub.
    long before = PageCount(screen);
    EXPECT_EQ(before, 5) << host->ScreenText();

    Write("work/new.txt", "new");
    host->PressKey("Ctrl+r");
    EXPECT_TRUE(host->WaitFor([&](const ScreenModel& s) { return PageCount(s) == before + 1; }, WaitMs))
        << host->ScreenText();

    host->PressKey("Ctrl+l");
    ASSERT_TRUE(Gone(" INFO ")) << host->ScreenText();
    EXPECT_TRUE(host->WaitFor(
        [](const ScreenModel& s) {
            for (int y = 1; y < 20; y++) {
                if (s.RowText(y).find("new.txt", 40) != std::string::npos) {
                    return true;
                }
            }
            return false;
        },
        WaitMs))
        << host->ScreenText();
}

TEST_F(MenusTest, TheDiskLabelCannotBeChangedHereAndStays) {
    StartHere();
    host->PressKey("Ctrl+l");
    ASSERT_TRUE(Shows("Label       : WORK"));
    // Alt+L on the page: a plain letter goes to the command line.
    host->PressKey("Tab");
    host->PressKey("Alt+l");
    ASSERT_TRUE(Shows(" Change Disk Label ")) << host->ScreenText();
    EXPECT_TRUE(Shows("WORK"));
    host->SendText("OTHER");
    host->PressKey("Enter");
    if (OnWindowsLeg()) {
        // Windows lets a drive's label be changed (wine keeps it in the
        // drive's .windows-label file): the page shows the new one. It is
        // set back, so that the drive keeps the label its session knows.
        ASSERT_TRUE(Shows("Label       : OTHER")) << host->ScreenText();
        EXPECT_FALSE(Shows("Error setting disk label", 0)) << host->ScreenText();
        host->PressKey("Alt+l");
        ASSERT_TRUE(Shows(" Change Disk Label ")) << host->ScreenText();
        ASSERT_TRUE(Shows("OTHER"));
        host->SendText("WORK");
        host->PressKey("Enter");
        ASSERT_TRUE(Gone(" Change Disk Label ")) << host->ScreenText();
    } else {
        // Labels come from the drive map on Linux: the system refuses.
        ASSERT_TRUE(Shows("Error setting disk label: ")) << host->ScreenText();
        host->PressKey("Enter");
        ASSERT_TRUE(Gone("Error setting disk label"));
    }
    EXPECT_TRUE(Shows("Label       : WORK")) << host->ScreenText();

    // The menus' Info item takes the page away from the right panel.
    Menu();
    Letter('r');
    ASSERT_TRUE(Shows("Info        Ctrl-L"));
    Letter('i');
    ASSERT_TRUE(Gone(" INFO ")) << host->ScreenText();
}

}  // namespace
}  // namespace qvtest
