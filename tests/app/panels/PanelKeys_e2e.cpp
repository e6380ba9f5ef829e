// Tagging, the quick search and the drive menu on the real program: two
// temporary folders mapped as drives T: and U: shown in the two panels.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/settings/Colours.h"
#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

const int ShiftAlt = 1;

// T: and U: hold the two panels' folders, V: the test's folder with the data
// folder and the ini file.
class PanelKeysTest : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        for (const char* folder : {"left", "left/src", "right", "right/deep"})
            MakeFolder(folder);
        for (const char* file : {"alpha.txt", "beta.txt", "gamma.cpp", "notes.txt", "Makefile"})
            Write(std::string("left/") + file, std::string(100, 'x'));
        Write("right/other.dat", "1");
        MapDrive('T', "left");
        MapDrive('U', "right", "RIGHTDISK");
        MapDrive('V', "");
        appData = "V:\\appdata";
    }

    ScriptedHost::Options Options(const std::string& iniLines = "") {
        Write("test.ini", "[General Options]\r\n" + iniLines);
        return ProgramTest::Options({"V:\\test.ini", "-l", "T:\\", "-r", "U:\\"});
    }

    // Both panels listed, the left one with its cursor bar.
    static bool WaitForPanels(ScriptedHost& host);

    // The row of the screen that holds the text, -1 when none.
    static int RowOf(const ScreenModel& screen, const std::string& text, int x = 0, int width = -1) {
        for (int y = 0; y < screen.Rows(); y++) {
            if (screen.RowText(y, x, width).find(text) != std::string::npos)
                return y;
        }
        return -1;
    }
};

// The left panel's status row, trimmed.
std::string LeftStatus(ScriptedHost& host) {
    ScreenModel screen = host.Snapshot();
    std::string text = screen.RowText(screen.Rows() - 4, 1, 38);
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

bool WaitForLeftStatus(ScriptedHost& host, const std::string& text) {
    return host.WaitFor([&](const ScreenModel& screen) {
        return screen.RowText(screen.Rows() - 4, 1, 38).find(text) != std::string::npos;
    });
}

// The attribute of the first cell of the left panel's line of that name.
int LeftNameAttribute(ScriptedHost& host, const std::string& name) {
    ScreenModel screen = host.Snapshot();
    for (int y = 1; y < screen.Rows() - 4; y++) {
        if (screen.RowText(y, 1, 12).find(name) == 0)
            return screen.RowAttributes(y, 1, 1)[0];
    }
    return -1;
}

// The name on the left panel's cursor bar (drawn in one of the highlight
// colours); empty when no row shows it.
std::string LeftCursorName(const ScreenModel& screen) {
    const int bars[] = {DefaultColours[ColourHighlight], DefaultColours[ColourHighlightTagged],
                        DefaultColours[ColourDirectoryHigh]};
    for (int y = 1; y < screen.Rows() - 5; y++) {
        const int attribute = screen.RowAttributes(y, 1, 1)[0];
        for (int bar : bars) {
            if (attribute == bar) {
                std::string name = screen.RowText(y, 1, 12);
                name.erase(name.find_last_not_of(' ') + 1);
                return name;
            }
        }
    }
    return std::string();
}

bool WaitForLeftCursor(ScriptedHost& host, const std::string& name) {
    return host.WaitFor([&](const ScreenModel& screen) { return LeftCursorName(screen) == name; });
}

bool PanelKeysTest::WaitForPanels(ScriptedHost& host) {
    return host.WaitForText("alpha.txt") && host.WaitForText("other.dat") &&
           host.WaitFor([](const ScreenModel& screen) { return !LeftCursorName(screen).empty(); });
}

void SendAltLetter(ScriptedHost& host, char letter) {
    host.SendKey(KeyAltLetter(letter), letter, ShiftAlt);
}

TEST_F(PanelKeysTest, InsAndTheGreyKeysTagWithTheStatusLineCounting) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_DOWN);
    host.SendKey(KEY_INSERT);
    EXPECT_TRUE(WaitForLeftStatus(host, "100 bytes in 1 selected file")) << host.Snapshot().Dump();
    EXPECT_EQ(LeftStatus(host).find("files"), std::string::npos);
    host.SendKey(KEY_INSERT);
    EXPECT_TRUE(WaitForLeftStatus(host, "200 bytes in 2 selected files")) << host.Snapshot().Dump();
    // Inverting: the three untagged files, never the directory.
    host.SendKey(KEY_GREY_STAR, '*');
    EXPECT_TRUE(WaitForLeftStatus(host, "300 bytes in 3 selected files")) << host.Snapshot().Dump();
    EXPECT_NE(LeftNameAttribute(host, "gamma.cpp"), LeftNameAttribute(host, "alpha.txt"));
    // Unselecting everything leaves the cursor entry in the status line.
    host.SendKey(KEY_GREY_MINUS, '-');
    ASSERT_TRUE(host.WaitForText("Unselect the files/directories")) << host.Snapshot().Dump();
    host.SendKey(KEY_ENTER);
    EXPECT_TRUE(WaitForLeftStatus(host, "gamma.cpp")) << host.Snapshot().Dump();
    EXPECT_EQ(LeftNameAttribute(host, "gamma.cpp"), LeftNameAttribute(host, "alpha.txt"));
}

TEST_F(PanelKeysTest, SelectingByMaskTagsOnlyTheMatchingFiles) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    const int plain = LeftNameAttribute(host, "alpha.txt");
    host.SendKey(KEY_GREY_PLUS, '+');
    ASSERT_TRUE(host.WaitForText("Select the files")) << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitForText(" Alt-D=Dirs "));
    host.SendText("*.txt");
    host.SendKey(KEY_ENTER);
    ASSERT_TRUE(WaitForLeftStatus(host, "300 bytes in 3 selected files")) << host.Snapshot().Dump();
    for (const char* name : {"alpha.txt", "beta.txt", "notes.txt"})
        EXPECT_NE(LeftNameAttribute(host, name), plain) << name;
    for (const char* name : {"gamma.cpp", "Makefile"})
        EXPECT_EQ(LeftNameAttribute(host, name), plain) << name;
}

// More files than the panel shows: the status line counts all of them as
// soon as a bulk tagging ends, and the rows that lay under the select dialog
// show their new colours once it is gone.
TEST_F(PanelKeysTest, BulkTaggingCountsEveryFileAndTheRowsUnderTheDialogKeepTheirColours) {
    MakeFolder("many");
    char name[32];
    for (int i = 0; i < 400; i++) {
        snprintf(name, sizeof name, "many/f%03d", i);
        Write(name, "x");
    }
    ScriptedHost::Options options = Options();
    options.args = {"V:\\test.ini", "-l", "V:\\many", "-r", "U:\\"};
    ScriptedHost& host = Launch(options);
    ASSERT_TRUE(host.WaitForText("f017")) << host.Snapshot().Dump();
    const int tagged = DefaultColours[ColourTagged];
    // Every digit (size, date, time) of the file rows, the cursor row ("..")
    // apart, in the tagged colour; the select dialog covered rows 6 to 11.
    std::string mismatch;
    auto fileRowsTagged = [&](const ScreenModel& screen) {
        for (int y = 2; y < screen.Rows() - 5; y++) {
            if (screen.RowText(y, 1, 1) != "f") {
                mismatch = "row " + std::to_string(y) + " holds no file";
                return false;
            }
            std::vector<uint8_t> attributes = screen.RowAttributes(y, 0, 40);
            for (int x = 14; x < 39; x++) {
                const char c = screen.RowText(y, x, 1)[0];
                if (c >= '0' && c <= '9' && attributes[x] != tagged) {
                    mismatch = "row " + std::to_string(y) + ", column " + std::to_string(x) + ": attribute " +
                               std::to_string(attributes[x]);
                    return false;
                }
            }
        }
        return true;
    };
    host.SendKey(KEY_GREY_PLUS, '+');
    ASSERT_TRUE(host.WaitForText("Select the files")) << host.Snapshot().Dump();
    host.SendText("*");
    host.SendKey(KEY_ENTER);
    EXPECT_TRUE(WaitForLeftStatus(host, "400 bytes in 400 selected files")) << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitFor([&](const ScreenModel& screen) {
        return RowOf(screen, "Select the files") < 0 && fileRowsTagged(screen);
    })) << mismatch << "\n"
        << host.Snapshot().Dump();
    // Inverting untags all four hundred, tagging all tags them again.
    host.SendKey(KEY_GREY_STAR, '*');
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& screen) {
        return screen.RowText(screen.Rows() - 4, 1, 38).find("selected") == std::string::npos;
    })) << host.Snapshot().Dump();
    host.SendKey(KEY_CTRL_GREY_PLUS);
    EXPECT_TRUE(WaitForLeftStatus(host, "400 bytes in 400 selected files")) << host.Snapshot().Dump();
}

TEST_F(PanelKeysTest, AMaskWithAnErrorIsRefusedAndEscapeTagsNothing) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_GREY_PLUS, '+');
    ASSERT_TRUE(host.WaitForText("Select the files")) << host.Snapshot().Dump();
    host.SendText("(*.txt");
    host.SendKey(KEY_ENTER);
    ASSERT_TRUE(host.WaitForText("Error in search expression")) << host.Snapshot().Dump();
    host.SendKey(KEY_ENTER);
    ASSERT_TRUE(host.WaitForTextGone("Error in search expression")) << host.Snapshot().Dump();
    ASSERT_GE(RowOf(host.Snapshot(), "Select the files"), 0) << host.Snapshot().Dump();
    EXPECT_GE(RowOf(host.Snapshot(), "(*.txt"), 0) << "the field keeps what was typed";
    host.SendKey(KEY_ESC);
    EXPECT_TRUE(WaitForLeftStatus(host, "src")) << host.Snapshot().Dump();
    EXPECT_EQ(LeftStatus(host).find("selected"), std::string::npos);
}

TEST_F(PanelKeysTest, AltLettersMoveTheCursorByTheQuickSearch) {
    ScriptedHost& host = Launch(Options("StickyAlt=off\r\n"));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    ASSERT_EQ(LeftCursorName(host.Snapshot()), "src") << host.Snapshot().Dump();
    SendAltLetter(host, 'g');
    EXPECT_TRUE(WaitForLeftCursor(host, "gamma.cpp")) << host.Snapshot().Dump();
    EXPECT_TRUE(WaitForLeftStatus(host, "Search: g"));
    SendAltLetter(host, 'b');  // "gb" leads nowhere: the cursor stays
    host.WaitQuiet();
    EXPECT_TRUE(WaitForLeftCursor(host, "gamma.cpp")) << host.Snapshot().Dump();
    EXPECT_EQ(LeftStatus(host), "Search: g");
    host.SendKey(KEY_DOWN);  // off the match: the next letter starts afresh
    SendAltLetter(host, 'b');
    EXPECT_TRUE(WaitForLeftCursor(host, "beta.txt")) << host.Snapshot().Dump();
    EXPECT_TRUE(WaitForLeftStatus(host, "Search: b"));
}

TEST_F(PanelKeysTest, AStickySearchShowsItsTextUntilAnotherKeyEndsIt) {
    ScriptedHost& host = Launch(Options("StickyAlt=on\r\n"));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    SendAltLetter(host, 'n');
    ASSERT_TRUE(WaitForLeftStatus(host, "Search: n")) << host.Snapshot().Dump();
    host.SendText("o");
    ASSERT_TRUE(WaitForLeftStatus(host, "Search: no")) << host.Snapshot().Dump();
    host.SendText("x");  // no name begins with "nox"
    host.WaitQuiet();
    EXPECT_EQ(LeftStatus(host), "Search: no");
    EXPECT_EQ(LeftCursorName(host.Snapshot()), "notes.txt");
    host.SendKey(KEY_ESC);
    EXPECT_TRUE(WaitForLeftStatus(host, "notes.txt")) << host.Snapshot().Dump();
    EXPECT_EQ(LeftCursorName(host.Snapshot()), "notes.txt");
}

// A sticky quick search started with Alt held reads its keys itself: the Esc
// that ends it brings the key bar back to the plain labels at once.
TEST_F(PanelKeysTest, TheKeyBarDropsTheAltLabelsWhenEscEndsAQuickSearch) {
    ScriptedHost& host = Launch(Options("StickyAlt=on\r\n"));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    auto barShows = [&](const std::string& label) {
        return host.WaitFor([&](const ScreenModel& s) { return s.RowText(s.Rows() - 1).find(label) != std::string::npos; });
    };
    host.SendKey(KEY_IGNORED, 0, ShiftAlt);  // Alt held
    ASSERT_TRUE(barShows("5DStore")) << host.Snapshot().Dump();
    SendAltLetter(host, 'n');
    ASSERT_TRUE(WaitForLeftStatus(host, "Search: n")) << host.Snapshot().Dump();
    host.SendKey(KEY_ESC);
    EXPECT_TRUE(WaitForLeftStatus(host, "notes.txt")) << host.Snapshot().Dump();
    EXPECT_TRUE(barShows("5Copy")) << host.Snapshot().Dump();
}

// Going up from a folder right below the root lands on the root with the
// cursor on that folder (Ctrl+PgUp, or Enter on ".."); at the root going up
// does nothing.
TEST_F(PanelKeysTest, GoingUpFromAFirstLevelFolderAndFromTheRoot) {
    struct TCase {
        const char* how;
        std::vector<int> keys;
    };
    const TCase cases[] = {
        {"Ctrl+PgUp", {KEY_CTRL_PGUP}},
        {"Enter on ..", {KEY_HOME, KEY_ENTER}},
    };
    auto leftHeader = [](const ScreenModel& s) { return s.RowText(0, 0, 40); };
    for (const TCase& c : cases) {
        ScriptedHost::Options options = Options();
        options.args = {"V:\\test.ini", "-l", "V:\\right", "-r", "U:\\"};
        ScriptedHost& host = Launch(options);
        ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) {
            return leftHeader(s).find(" V:\\right ") != std::string::npos && LeftCursorName(s) == "..";
        })) << c.how << "\n"
            << host.Snapshot().Dump();
        for (int key : c.keys)
            host.SendKey(key, key == KEY_ENTER ? KEY_ENTER : 0);
        // V:\ holds appdata, left, right and test.ini: the cursor is on right.
        EXPECT_TRUE(host.WaitFor([&](const ScreenModel& s) {
            return leftHeader(s).find(" V:\\ ") != std::string::npos && LeftCursorName(s) == "right" &&
                   s.RowText(s.Rows() - 2).find("V:\\>") == 0;
        })) << c.how << "\n"
            << host.Snapshot().Dump();
    }
    // At the root: nothing changes (the typed letter shows the key was taken).
    host->SendKey(KEY_CTRL_PGUP);
    host->SendText("x");
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return s.RowText(s.Rows() - 2).find("V:\\>x") == 0; }))
        << host->Snapshot().Dump();
    ScreenModel screen = host->Snapshot();
    EXPECT_NE(leftHeader(screen).find(" V:\\ "), std::string::npos) << screen.Dump();
    EXPECT_EQ(LeftCursorName(screen), "right") << screen.Dump();
    EXPECT_GE(RowOf(screen, "appdata", 0, 40), 0) << screen.Dump();
}

// The drive menu's selection wraps: Left from the first cell (the network)
// lands on the last drive, Right from the last drive on the first cell, so a
// second Right reaches C.
TEST_F(PanelKeysTest, TheDriveMenuWrapsFromEachEndToTheOther) {
    struct TCase {
        std::vector<int> keys;
        char letter;  // of the left panel after Enter; 0: the menu's last drive
    };
    const TCase cases[] = {
        {{KEY_HOME, KEY_LEFT}, 0},
        {{KEY_END, KEY_RIGHT, KEY_RIGHT}, 'C'},
    };
    for (const TCase& c : cases) {
        ScriptedHost& host = Launch(Options());
        ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
        host.SendKey(KEY_ALT_F1);
        ASSERT_TRUE(host.WaitForText("\\\\  C  T  U  V ")) << host.Snapshot().Dump();
        // The last drive is the menu's last letter: V here, while the Windows
        // build under wine also lists the Z: that wine gives to "/".
        char last = 0;
        ScreenModel menu = host.Snapshot();
        for (int row = 0; row < menu.Rows() && last == 0; ++row) {
            std::string text = menu.RowText(row);
            size_t at = text.find("\\\\  C  T  U  V ");
            // The cells run on from the network's: letters between blanks.
            for (size_t i = at == std::string::npos ? text.size() : at + 2;
                 i + 2 < text.size() && (text[i] == ' ' || (text[i] >= 'A' && text[i] <= 'Z')); ++i) {
                if (text[i] == ' ' && text[i + 1] >= 'A' && text[i + 1] <= 'Z' && text[i + 2] == ' ')
                    last = text[i + 1];
            }
        }
        ASSERT_NE(0, last) << menu.Dump();
        const std::string header = std::string(" ") + (c.letter != 0 ? c.letter : last) + ":\\ ";
        for (int key : c.keys)
            host.SendKey(key);
        host.SendKey(KEY_ENTER, KEY_ENTER);
        EXPECT_TRUE(host.WaitFor([&](const ScreenModel& s) {
            return s.RowText(0, 0, 40).find(header) != std::string::npos && s.RowText(10).find("Choose") == std::string::npos;
        })) << header << "\n"
            << host.Snapshot().Dump();
    }
}

TEST_F(PanelKeysTest, TheDriveMenuSwitchesAPanelToAnotherMappedDrive) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_ALT_F1);
    ASSERT_TRUE(host.WaitForText("Choose left drive:")) << host.Snapshot().Dump();
    // The network first, then every mapped drive, in cells of three.
    EXPECT_TRUE(host.WaitForText("\\\\  C  T  U  V ")) << host.Snapshot().Dump();
    // The line under the cells names the selected drive's volume.
    host.SendKey(KEY_RIGHT);
    EXPECT_TRUE(host.WaitForText("RIGHTDISK")) << host.Snapshot().Dump();
    host.SendKey(KEY_LEFT);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return s.RowText(10).find("RIGHTDISK") == std::string::npos; }))
        << host.Snapshot().Dump();
    host.SendKey(KEY_ESC);
    EXPECT_TRUE(host.WaitForTextGone("Choose left drive:")) << host.Snapshot().Dump();
    EXPECT_GE(RowOf(host.Snapshot(), "alpha.txt", 0, 40), 0);

    host.SendKey(KEY_ALT_F1);
    ASSERT_TRUE(host.WaitForText("Choose left drive:")) << host.Snapshot().Dump();
    host.SendText("u");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.RowText(0, 0, 40).find(" U:\\ ") != std::string::npos &&
               s.RowText(1, 0, 40).find("deep") != std::string::npos;
    })) << host.Snapshot().Dump();
    EXPECT_LT(RowOf(host.Snapshot(), "alpha.txt"), 0);
}

// Right from the last entry goes to the first (the network) and Left from the
// first back to the last: from T: (the left panel's drive) in "\\ C T U V",
// three steps right and one left end on V:.
TEST_F(PanelKeysTest, TheDriveMenuSelectionWrapsAtBothEnds) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_ALT_F1);
    ASSERT_TRUE(host.WaitForText("\\\\  C  T  U  V ")) << host.Snapshot().Dump();
    for (int key : {KEY_RIGHT, KEY_RIGHT, KEY_RIGHT, KEY_LEFT})
        host.SendKey(key);
    host.SendKey(KEY_ENTER, KEY_ENTER);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.RowText(0, 0, 40).find(" V:\\ ") != std::string::npos &&
               s.RowText(1, 0, 40).find("appdata") != std::string::npos;
    })) << host.Snapshot().Dump();
}

TEST_F(PanelKeysTest, ADriveThatCannotBeReadAsksToRetryOrTakeAnother) {
    if (qvtest::OnWindowsLeg())
        GTEST_SKIP() << "wine lists no drive whose folder is missing, so there is no unreadable drive to choose";
    MapDrive('W', "missing");
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_ALT_F2);
    ASSERT_TRUE(host.WaitForText("Choose right drive:")) << host.Snapshot().Dump();
    host.SendText("w");
    ASSERT_TRUE(host.WaitForText("Error reading drive. Press ENTER to retry,")) << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitForText("ESC to abort or a new drive letter: W"));
    host.SendKey(KEY_ENTER);  // still unreadable: asked again
    host.WaitQuiet();
    EXPECT_GE(RowOf(host.Snapshot(), "Error reading drive."), 0);
    host.SendText("t");
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.RowText(1, 40, 40).find("src") != std::string::npos;
    })) << host.Snapshot().Dump();
    EXPECT_LT(RowOf(host.Snapshot(), "Error reading drive."), 0);

    host.SendKey(KEY_ALT_F2);
    ASSERT_TRUE(host.WaitForText("Choose right drive:")) << host.Snapshot().Dump();
    host.SendText("w");
    ASSERT_TRUE(host.WaitForText("Error reading drive. Press ENTER to retry,")) << host.Snapshot().Dump();
    host.SendKey(KEY_ESC);
    EXPECT_TRUE(host.WaitForTextGone("Error reading drive.")) << host.Snapshot().Dump();
    EXPECT_NE(host.Snapshot().RowText(1, 40, 40).find("src"), std::string::npos) << "the panel is left as it was";
}

TEST_F(PanelKeysTest, TheNetworkChooserSaysWhyThereIsNothingToChoose) {
    if (qvtest::OnWindowsLeg())
        GTEST_SKIP() << "wine answers for its network providers, not as a machine without a network";
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_F12);
    ASSERT_TRUE(host.WaitForText("(126)")) << host.Snapshot().Dump();
    host.SendKey(KEY_ENTER);
    EXPECT_TRUE(host.WaitForTextGone("(126)")) << host.Snapshot().Dump();
    EXPECT_GE(RowOf(host.Snapshot(), "alpha.txt", 0, 40), 0);
}

// Sixty files in three brief columns of nineteen rows: a step past the last
// slot scrolls by one row, and a step above the first scrolls back, each
// drawing the new row across all three columns.
TEST_F(PanelKeysTest, BriefColumnsScrollByOneRow) {
    qvtest::RemoveTree(folder->Join(qvtest::W("left")));
    MakeFolder("left");
    for (int i = 0; i < 60; i++)
        Write("left/f" + std::string(i < 10 ? "0" : "") + std::to_string(i), "");
    ScriptedHost& host = Launch(Options("LeftStyle=brief\r\n"));
    ASSERT_TRUE(host.WaitForText("f56")) << host.Snapshot().Dump();
    // The names in the three columns of a row.
    auto row = [](const ScreenModel& s, int y) {
        return s.RowText(y, 1, 3) + s.RowText(y, 14, 3) + s.RowText(y, 27, 3);
    };
    const int rows = host.Snapshot().Rows() - 6;
    ASSERT_EQ(rows * 3, 57) << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitFor([&](const ScreenModel& s) { return row(s, rows) == "f18f37f56"; }))
        << host.Snapshot().Dump();
    ScreenModel screen = host.Snapshot();
    for (int i = 0; i < 57; i++)
        host.SendKey(KEY_DOWN);
    ASSERT_TRUE(WaitForLeftStatus(host, "f57 ")) << host.Snapshot().Dump();
    screen = host.Snapshot();
    EXPECT_EQ(row(screen, 1), "f01f20f39") << screen.Dump();
    EXPECT_EQ(row(screen, rows), "f19f38f57") << screen.Dump();
    for (int i = 0; i < 57; i++)
        host.SendKey(KEY_UP);
    ASSERT_TRUE(WaitForLeftStatus(host, "f00 ")) << host.Snapshot().Dump();
    screen = host.Snapshot();
    EXPECT_EQ(row(screen, 1), "f00f19f38") << screen.Dump();
    EXPECT_EQ(row(screen, rows), "f18f37f56") << screen.Dump();
}

TEST_F(PanelKeysTest, SwappingThePanelsKeepsEachOnesTags) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_DOWN);
    host.SendKey(KEY_INSERT);
    ASSERT_TRUE(WaitForLeftStatus(host, "100 bytes in 1 selected file")) << host.Snapshot().Dump();
    host.SendKey(KEY_CTRL_U, KEY_CTRL_U, SHIFT_CTRL);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.RowText(0, 40, 40).find(" T:\\ ") != std::string::npos &&
               s.RowText(0, 0, 40).find(" U:\\ ") != std::string::npos &&
               s.RowText(s.Rows() - 4, 40, 40).find("100 bytes in 1 selected file") != std::string::npos;
    })) << host.Snapshot().Dump();
    EXPECT_GE(RowOf(host.Snapshot(), "alpha.txt", 40, 40), 0);
    EXPECT_GE(RowOf(host.Snapshot(), "other.dat", 0, 40), 0);
}

TEST_F(PanelKeysTest, APanelSwitchedOffComesBackWithItsEntries) {
    ScriptedHost& host = Launch(Options());
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_CTRL_F1);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.RowText(2, 0, 40).find("alpha.txt") == std::string::npos;
    })) << host.Snapshot().Dump();
    EXPECT_GE(RowOf(host.Snapshot(), "other.dat", 40, 40), 0);
    host.SendKey(KEY_CTRL_F1);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.RowText(2, 0, 40).find("alpha.txt") != std::string::npos;
    })) << host.Snapshot().Dump();
}

}  // namespace
