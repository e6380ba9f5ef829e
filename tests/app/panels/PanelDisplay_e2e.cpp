// The panels on the real program: the directory lists in each display mode
// with their exact columns, entering directories and coming back, and the
// messages of directories and drives that cannot be read. Temporary folders
// are mapped as drives; every time stamp is fixed so the columns are exact.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <string>
#include <vector>

#include "console/KeyCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;
using qvhost::ScriptedHost;

// 13:05 UTC on 2 January 2024.
const time_t FixedTime = 1704200700;

// T: and U: are the two panels' folders, V: the test's folder (with the data
// folder and the ini file), W: a folder that does not exist.
class PanelDisplayTest : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        for (const char* folder : {"left", "left/work", "left/work/src", "left/work/docs", "right"})
            MakeFolder(folder);
        Write("left/work/x2.txt", std::string(2, 'x'));
        Write("left/work/x10.txt", std::string(10, 'x'));
        Write("left/work/a.dat", std::string(1234567, 'x'));
        Write("right/other.dat", "1");
        // Last, so that nothing written afterwards changes a folder's time.
        for (const char* path : {"left/work/src", "left/work/docs", "left/work/x2.txt", "left/work/x10.txt",
                                 "left/work/a.dat", "left/work", "left", "right/other.dat"})
            Touch(path);
        MapDrive('T', "left");
        MapDrive('U', "right");
        MapDrive('V', "");
        MapDrive('W', "no-such-folder");
        appData = "V:\\appdata";
    }

    void Touch(const std::string& path) const {
        struct utimbuf times = {FixedTime, FixedTime};
        ASSERT_EQ(utime(PathOf(path).c_str(), &times), 0) << path;
    }

    ScriptedHost::Options Options(const std::string& iniLines, const std::string& right = "U:\\") {
        Write("test.ini", "[General Options]\r\n" + iniLines);
        return ProgramTest::Options({"V:\\test.ini", "-l", "T:\\work", "-r", right});
    }
};

// The 38 cells inside the frame of the left (x 1) or right (x 41) panel.
std::string PanelRow(const ScreenModel& screen, int side, int y) {
    return screen.RowText(y, side == 0 ? 1 : 41, 38);
}

// The rows of the entries of a panel, from the first below the frame.
std::string EntryRow(const ScreenModel& screen, int side, int line) {
    return PanelRow(screen, side, 1 + line);
}

std::string Status(const ScreenModel& screen, int side) {
    return PanelRow(screen, side, screen.Rows() - 4);
}

std::string Padded(const std::string& text, size_t width) {
    return text + std::string(width - text.size(), ' ');
}

bool WaitForPanels(ScriptedHost& host) {
    return host.WaitForText("x10.txt") && host.WaitForText("other.dat");
}

TEST_F(PanelDisplayTest, FullStyleListsParentThenDirectoriesThenFilesInExactColumns) {
    ScriptedHost& host = Launch(Options("LeftStyle=full\r\nRightStyle=full\r\nTimeMode=24\r\n"));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    const char* rows[] = {
        "..          │ UP-DIR│  1/2/2024│ 13:05", "docs        │ SUBDIR│  1/2/2024│ 13:05",
        "src         │ SUBDIR│  1/2/2024│ 13:05", "a.dat       │1234567│  1/2/2024│ 13:05",
        "x10.txt     │     10│  1/2/2024│ 13:05", "x2.txt      │      2│  1/2/2024│ 13:05",
        "            │       │          │      ",
    };
    // Everything checked below is drawn: the last entry rows, the status row and the frame.
    host.WaitFor([&](const ScreenModel& s) {
        return EntryRow(s, 0, 6) == rows[6] && EntryRow(s, 1, 0).rfind("other.dat", 0) == 0 &&
               Status(s, 0) == Padded("..", 38) && s.RowText(s.Rows() - 5, 0, 40).find("┴") != std::string::npos;
    });
    ScreenModel screen = host.Snapshot();
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(EntryRow(screen, 0, i), rows[i]) << screen.Dump();
    // A drive root has no "..".
    EXPECT_EQ(EntryRow(screen, 1, 0), "other.dat   │      1│  1/2/2024│ 13:05") << screen.Dump();
    // The status row names the cursor entry; the separator row shows the columns.
    EXPECT_EQ(Status(screen, 0), Padded("..", 38));
    EXPECT_EQ(screen.RowText(screen.Rows() - 5, 0, 40), "╟────────────┴───────┴──────────┴──────╢");
    EXPECT_EQ(screen.RowText(screen.Rows() - 3, 0, 40), "╚══════════════════════════════════════╝");
}

TEST_F(PanelDisplayTest, NaturalSortPutsX2BeforeX10) {
    ScriptedHost& host = Launch(Options("NaturalSort=on\r\n"));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.WaitFor([](const ScreenModel& s) {
        return EntryRow(s, 0, 4).substr(0, 12) == "x2.txt      " && EntryRow(s, 0, 5).substr(0, 12) == "x10.txt     ";
    });
    ScreenModel screen = host.Snapshot();
    EXPECT_EQ(EntryRow(screen, 0, 4).substr(0, 12), "x2.txt      ") << screen.Dump();
    EXPECT_EQ(EntryRow(screen, 0, 5).substr(0, 12), "x10.txt     ") << screen.Dump();
}

TEST_F(PanelDisplayTest, BriefAndWideStyles) {
    ScriptedHost& host = Launch(Options("LeftStyle=brief\r\nRightStyle=wide\r\nTimeMode=24\r\n", "T:\\work"));
    ASSERT_TRUE(host.WaitForText("x10.txt")) << host.Snapshot().Dump();
    // Both panels drawn, with the left one's status row and frame.
    host.WaitFor([](const ScreenModel& s) {
        return EntryRow(s, 1, 3).find("a.dat") != std::string::npos && Status(s, 0).rfind("..", 0) == 0 &&
               s.RowText(s.Rows() - 3, 0, 40).find("╧") != std::string::npos;
    });
    ScreenModel screen = host.Snapshot();
    // Brief: three name columns of 12 cells, filled top to bottom.
    EXPECT_EQ(EntryRow(screen, 0, 1), "docs        │            │            ") << screen.Dump();
    EXPECT_EQ(EntryRow(screen, 0, 5), "x2.txt      │            │            ") << screen.Dump();
    // Its status row shows the cursor entry as a full-style line, with the
    // full columns meeting the brief ones on the separator row.
    EXPECT_EQ(Status(screen, 0), "..          │ UP-DIR│  1/2/2024│ 13:05") << screen.Dump();
    EXPECT_EQ(screen.RowText(screen.Rows() - 5, 0, 40), "╟────────────┼───────┬────┴─────┬──────╢");
    EXPECT_EQ(screen.RowText(screen.Rows() - 3, 0, 40), "╚════════════╧═══════╧══════════╧══════╝");
    // Wide: size (8) and name (29).
    EXPECT_EQ(EntryRow(screen, 1, 0), "►UP-DIR◄│" + Padded("..", 29)) << screen.Dump();
    EXPECT_EQ(EntryRow(screen, 1, 3), " 1234567│" + Padded("a.dat", 29)) << screen.Dump();
}

TEST_F(PanelDisplayTest, BriefwideStyleSharesTheWidthBetweenTwoColumns) {
    ScriptedHost& host = Launch(Options("LeftStyle=briefwide\r\n"));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.WaitFor([](const ScreenModel& s) { return EntryRow(s, 0, 3).rfind("a.dat", 0) == 0; });
    ScreenModel screen = host.Snapshot();
    EXPECT_EQ(EntryRow(screen, 0, 3), Padded("a.dat", 19) + "│" + Padded("", 18)) << screen.Dump();
}

TEST_F(PanelDisplayTest, EnterGoesIntoADirectoryAndDotDotComesBackOntoIt) {
    ScriptedHost& host = Launch(Options(""));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_DOWN);
    host.SendKey(KEY_DOWN);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return Status(s, 0) == Padded("src", 38); }))
        << host.Snapshot().Dump();
    host.SendKey(KEY_ENTER, KEY_ENTER);
    ASSERT_TRUE(host.WaitForText("T:\\work\\src")) << host.Snapshot().Dump();
    host.WaitFor([](const ScreenModel& s) {
        return Status(s, 0) == Padded("..", 38) && EntryRow(s, 0, 1) == "            │       │          │      ";
    });
    ScreenModel inside = host.Snapshot();
    EXPECT_EQ(EntryRow(inside, 0, 0).substr(0, 12), "..          ") << inside.Dump();
    EXPECT_EQ(EntryRow(inside, 0, 1), "            │       │          │      ") << inside.Dump();
    EXPECT_EQ(Status(inside, 0), Padded("..", 38));
    host.SendKey(KEY_ENTER, KEY_ENTER);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return Status(s, 0) == Padded("src", 38); }))
        << host.Snapshot().Dump();
    EXPECT_EQ(EntryRow(host.Snapshot(), 0, 0).substr(0, 12), "..          ");
}

TEST_F(PanelDisplayTest, ADirectoryThatCannotBeReadShowsTheSystemMessage) {
    ScriptedHost& host = Launch(Options(""));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_DOWN);
    host.SendKey(KEY_DOWN);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return Status(s, 0) == Padded("src", 38); }));
    ASSERT_EQ(rmdir(PathOf("left/work/src").c_str()), 0);
    host.SendKey(KEY_ENTER, KEY_ENTER);
    ASSERT_TRUE(host.WaitForText(SystemMessage(3, "The system cannot find the path specified.")))
        << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitForText("T:\\work\\src"));
    host.SendKey(KEY_ENTER, KEY_ENTER);
    // Back in the parent, which no longer lists the folder.
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return EntryRow(s, 0, 2).substr(0, 12) == "a.dat       "; }))
        << host.Snapshot().Dump();
}

TEST_F(PanelDisplayTest, ADriveThatIsNotReadyIsEmptyWithItsStatus) {
    if (qvtest::OnWindowsLeg())
        GTEST_SKIP() << "wine has no drive whose folder is missing, so no drive that is not ready";
    ScriptedHost& host = Launch(Options("", "W:\\"));
    ASSERT_TRUE(host.WaitForText("x10.txt")) << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return Status(s, 1) == Padded(" No disk in drive", 38); }))
        << host.Snapshot().Dump();
}

TEST_F(PanelDisplayTest, TheNetworkRootWithoutANetworkReportsTheErrorAndStaysEmpty) {
    if (qvtest::OnWindowsLeg())
        GTEST_SKIP() << "wine answers for its network providers, not as a machine without a network";
    ScriptedHost& host = Launch(Options("", "\\\\"));
    ASSERT_TRUE(host.WaitForText("x10.txt")) << host.Snapshot().Dump();
    ASSERT_TRUE(host.WaitForText("[ OK ]")) << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitForText("The specified module could not be found.")) << host.Snapshot().Dump();
    host.SendKey(KEY_ENTER, KEY_ENTER);
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) { return Status(s, 1) == Padded(" Error reading drive", 38); }))
        << host.Snapshot().Dump();
}

// Three nested folders of 200 characters under T:\work: the innermost one's
// full path is longer than any path a panel keeps.
std::string LongName(char c) {
    return std::string(200, c);
}

TEST_F(PanelDisplayTest, ATitleLongerThanThePanelIsCutToTheFrame) {
    const std::string a = "/left/work/" + LongName('a'), b = a + "/" + LongName('b');
    ASSERT_EQ(mkdir((root + a).c_str(), 0700), 0);
    ASSERT_EQ(mkdir((root + b).c_str(), 0700), 0);
    ScriptedHost::Options options = Options("");
    options.args[2] = "T:\\work\\" + LongName('a') + "\\" + LongName('b');
    options.args[4] = options.args[2];
    ScriptedHost host(options);
    ASSERT_TRUE(host.WaitForText("bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb")) << host.Snapshot().Dump();
    host.WaitQuiet();
    ScreenModel screen = host.Snapshot();
    const std::string top = screen.RowText(0);
    // Both panels' corners stay; the title sits between them.
    EXPECT_EQ(screen.RowText(0, 0, 1), "╔") << screen.Dump();
    EXPECT_EQ(screen.RowText(0, 39, 1), "╗") << screen.Dump();
    EXPECT_EQ(screen.RowText(0, 40, 1), "╔") << screen.Dump();
    EXPECT_EQ(screen.RowText(0, 79, 1), "╗") << screen.Dump();
    EXPECT_NE(screen.RowText(0, 1, 38).find("bbbbbbbbbbbb"), std::string::npos) << screen.Dump();
}

TEST_F(PanelDisplayTest, EnterOnAFolderWhosePathIsTooLongSaysSo) {
    // The folder entered lies below T:\work\aaa...\bbb... (409 characters);
    // its own name's length decides whether its full path still fits in the
    // 511 characters a panel keeps.
    const std::string a = "/left/work/" + LongName('a'), b = a + "/" + LongName('b');
    ASSERT_EQ(mkdir((root + a).c_str(), 0700), 0);
    ASSERT_EQ(mkdir((root + b).c_str(), 0700), 0);
    const struct {
        size_t length;
        bool fits;
    } cases[] = {{60, true}, {101, true}, {102, false}, {200, false}, {250, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string name = std::string(c.length, 'c');
        ASSERT_EQ(mkdir((root + b + "/" + name).c_str(), 0700), 0);
        ScriptedHost::Options options = Options("");
        options.args[2] = "T:\\work\\" + LongName('a') + "\\" + LongName('b');
        ScriptedHost host(options);
        ASSERT_TRUE(host.WaitForText("ccccccccccc►")) << host.Snapshot().Dump();
        host.SendKey(KEY_DOWN);
        ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return Status(s, 0).rfind("cccccccc", 0) == 0; }))
            << host.Snapshot().Dump();
        host.SendKey(KEY_ENTER, KEY_ENTER);
        if (c.fits) {
            EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
                return EntryRow(s, 0, 0).rfind("..", 0) == 0 && EntryRow(s, 0, 1).rfind("   ", 0) == 0;
            })) << host.Snapshot().Dump();
        } else {
            EXPECT_TRUE(host.WaitForText(SystemMessage(206, "The filename or extension is too long.")))
                << host.Snapshot().Dump();
        }
        host.CloseInput();
        host.WaitExit();
        ASSERT_EQ(rmdir((root + b + "/" + name).c_str()), 0);
    }
}

TEST_F(PanelDisplayTest, AStartFolderThatDoesNotExistIsReported) {
    ScriptedHost::Options options = Options("");
    options.args[2] = "T:\\work\\no-such-folder";
    ScriptedHost host(options);
    EXPECT_TRUE(host.WaitForText(SystemMessage(3, "The system cannot find the path specified.")))
        << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitForText("no-such-folder")) << host.Snapshot().Dump();
}

// The attribute of a panel's entry line (the cursor bar differs from the rest).
uint8_t EntryAttribute(ScriptedHost& host, int side, int line) {
    return host.RowAttributes(1 + line)[side == 0 ? 1 : 41];
}

TEST_F(PanelDisplayTest, AClickedPanelTakesTheCursorBarFromTheOther) {
    ScriptedHost host(Options("", "T:\\work"));
    ASSERT_TRUE(host.WaitForText("x10.txt")) << host.Snapshot().Dump();
    host.WaitQuiet();
    const uint8_t bar = EntryAttribute(host, 0, 0), plain = EntryAttribute(host, 0, 1);
    ASSERT_NE(bar, plain);
    ASSERT_EQ(EntryAttribute(host, 1, 0), plain);
    host.Click(45, 3);
    EXPECT_TRUE(host.WaitFor([&](const ScreenModel& s) { return Status(s, 1) == Padded("src", 38); }))
        << host.Snapshot().Dump();
    host.WaitQuiet();
    EXPECT_EQ(EntryAttribute(host, 1, 2), bar);
    EXPECT_EQ(EntryAttribute(host, 0, 0), plain) << "the left panel's bar stays drawn";
}

// The panel rows that a resize must bring back at once, without a key.
void ExpectCompletePanels(ScriptedHost& host, uint8_t bar, int columns, int rows) {
    // The key bar comes last in a pass of the main loop; what came before it
    // must be complete by then.
    ASSERT_TRUE(host.WaitFor([&](const ScreenModel& s) {
        return s.Columns() == columns && s.Rows() == rows && s.RowText(rows - 1).find("10Quit") != std::string::npos;
    })) << host.Snapshot().Dump();
    host.WaitQuiet();
    ScreenModel screen = host.Snapshot();
    const int half = columns / 2;
    EXPECT_EQ(screen.RowText(rows - 5, 0, 1), "╟") << screen.Dump();
    EXPECT_EQ(screen.RowText(rows - 5, half - 1, 1), "╢") << screen.Dump();
    EXPECT_EQ(screen.RowText(rows - 4, 1, 2), "..") << screen.Dump();
    EXPECT_EQ(screen.RowText(rows - 4, half + 1, 9), "other.dat") << screen.Dump();
    EXPECT_EQ(screen.RowAttributes(1)[1], bar) << screen.Dump();
    EXPECT_NE(screen.RowText(rows - 1).find("10Quit"), std::string::npos) << screen.Dump();
    EXPECT_NE(screen.RowText(rows - 2).find("T:\\work>"), std::string::npos) << screen.Dump();
}

TEST_F(PanelDisplayTest, TheFirstRedrawAfterAResizeIsComplete) {
    ScriptedHost host(Options(""));
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.WaitQuiet();
    const uint8_t bar = EntryAttribute(host, 0, 0);
    const int sizes[][2] = {{100, 30}, {90, 26}, {120, 40}, {80, 25}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]));
        host.SendResize(size[0], size[1]);
        ExpectCompletePanels(host, bar, size[0], size[1]);
    }
}

TEST_F(PanelDisplayTest, AScreenBelowTheMinimumKeepsEveryDimensionThatIsLargeEnough) {
    ScriptedHost::Options options = Options("");
    options.columns = 100;
    options.rows = 20;
    ScriptedHost host(options);
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.WaitQuiet();
    const uint8_t bar = EntryAttribute(host, 0, 0);
    ExpectCompletePanels(host, bar, 100, 25);
    host.SendResize(120, 40);
    ExpectCompletePanels(host, bar, 120, 40);
    host.SendResize(100, 20);
    ExpectCompletePanels(host, bar, 100, 25);
    host.SendResize(60, 30);
    ExpectCompletePanels(host, bar, 80, 30);
}

TEST_F(PanelDisplayTest, AHostThatKeepsASmallScreenStillGetsALayoutOfItsWidth) {
    ScriptedHost::Options options = Options("");
    options.columns = 120;
    options.rows = 40;
    options.sizeFixed = true;
    ScriptedHost host(options);
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendResize(100, 20);
    host.SendResize(100, 21);  // the last size wins
    // The panels meet in the middle of 100 columns and end at its edge: no
    // 120-column layout is left.
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return s.RowText(0, 49, 2) == "╗╔" && s.RowText(0, 99, 1) == "╗";
    })) << host.Snapshot().Dump();
}

// The program as a user without special rights: the superuser may search
// any folder, so a test running as root runs the program as "nobody".
void RunWithoutPrivileges(ScriptedHost::Options& options) {
    if (getuid() != 0)
        return;
    const char* binary = std::getenv("QV_BINARY_DIR");
    ASSERT_NE(binary, nullptr);
    std::vector<std::string> args = {"--reuid=65534", "--regid=65534", "--clear-groups",
                                     std::string(binary) + "/bin/quorvane"};
    args.insert(args.end(), options.args.begin(), options.args.end());
    options.args = args;
    options.program = "/usr/bin/setpriv";
}

TEST_F(PanelDisplayTest, AFolderThatCanBeListedButNotSearchedIsReportedAsUnreadable) {
    if (getuid() == 0 && access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "running as root without setpriv: every folder can be searched";
    if (getuid() == 0 && qvtest::OnWindowsLeg())
        GTEST_SKIP() << "wine runs only as the owner of its prefix (root here), who may search every folder";
    // Everything on the way stays open to the user the program runs as; the
    // folder "src" may be read (its names) but not searched (their details).
    for (const char* folder : {"", "/left", "/left/work", "/right"})
        ASSERT_EQ(chmod((root + folder).c_str(), 0755), 0) << folder;
    ASSERT_EQ(chmod((root + "/appdata").c_str(), 0777), 0);
    Write("/left/work/src/inside.txt", "x");
    Touch("/left/work/src");
    ASSERT_EQ(chmod((root + "/left/work/src").c_str(), 0604), 0);
    ScriptedHost::Options options = Options("");
    RunWithoutPrivileges(options);
    ScriptedHost host(options);
    ASSERT_TRUE(WaitForPanels(host)) << host.Snapshot().Dump();
    host.SendKey(KEY_DOWN);
    host.SendKey(KEY_DOWN);
    ASSERT_TRUE(host.WaitFor([](const ScreenModel& s) { return Status(s, 0) == Padded("src", 38); }))
        << host.Snapshot().Dump();
    host.SendKey(KEY_ENTER, KEY_ENTER);
    EXPECT_TRUE(host.WaitForText("Access is denied.")) << host.Snapshot().Dump();
    EXPECT_EQ(host.Snapshot().Dump().find("1/1/1970"), std::string::npos) << host.Snapshot().Dump();
    host.SendKey(KEY_ENTER, KEY_ENTER);
    // Back where it was, the folder still listed.
    EXPECT_TRUE(host.WaitFor([](const ScreenModel& s) {
        return EntryRow(s, 0, 2).substr(0, 12) == "src         " &&
               s.Dump().find("Access is denied.") == std::string::npos;
    })) << host.Snapshot().Dump();
    EXPECT_TRUE(host.WaitForText("T:\\work>")) << host.Snapshot().Dump();
    chmod((root + "/left/work/src").c_str(), 0700);
}

}  // namespace
