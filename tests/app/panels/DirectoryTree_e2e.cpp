// The directory trees on the real program: the tree chooser with its scan,
// the tree data file, the tree kept in line with what the panels read, the
// directory sizes and a panel's tree view. T: is the test's folder with
// work\a\b, work\a\c and work\d; both panels start on T:\work.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/settings/Colours.h"
#include "console/KeyCodes.h"
#include "console/MenuCodes.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;

class DirectoryTreeTest : public qvtest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        for (const char* folder : {"work/a", "work/a/b", "work/a/c", "work/d"})
            MakeFolder(folder);
    }

    // Where the tree data file of T: lies with "TreeDir" empty: the Linux
    // build keeps it in the per-user data folder, the Windows build at the
    // drive's root (T: is the test's folder).
    static std::string TreeFile() { return qvtest::OnWindowsLeg() ? "qv2tree.dat" : "appdata/Quorvane/qv2treeT.dat"; }

    // The bytes of a tree data file. Wine replaces a file by moving the old
    // one out of the way before the new one takes its name, so a read may
    // find no file for a moment: it reads again until a header is there.
    std::string Saved(const std::string& name) const {
        std::string bytes;
        Eventually([&] {
            bytes = Read(name);
            return bytes.size() >= 4;
        });
        return bytes;
    }

    // The records of the file after its 4-byte header.
    std::string Records(const std::string& name) const {
        std::string bytes = Saved(name);
        return bytes.size() >= 4 ? bytes.substr(4) : std::string();
    }

    // The chooser with a fresh scan of the drive.
    void OpenScannedChooser() {
        host->WatchText("Scanning directories");
        ASSERT_TRUE(host->PressKey("Alt+F10"));
        ASSERT_TRUE(Shows(" Directory Tree ")) << host->ScreenText();
        ASSERT_TRUE(Shows("Search:"));
        ASSERT_TRUE(host->PressKey("Ctrl+R"));
        ASSERT_TRUE(host->WaitForSeen("Scanning directories")) << host->ScreenText();
        ASSERT_TRUE(Shows("\u2514\u2500d")) << host->ScreenText();
    }

    // The attribute of the first cell of the row that holds the text.
    int AttributeOfRowWith(const std::string& text, int x) {
        ScreenModel screen = host->Snapshot();
        int row = RowOf(screen, text);
        return row < 0 ? -1 : screen.RowAttributes(row, x, 1)[0];
    }
};

TEST_F(DirectoryTreeTest, ChooserScansSearchesAndSendsThePanelThere) {
    Start();
    OpenScannedChooser();
    // The branch lines: a's two children, then d as work's last child.
    ASSERT_TRUE(Shows("\u251C\u2500a"));
    ASSERT_TRUE(Shows("\u251C\u2500b"));
    ASSERT_TRUE(Shows("\u2514\u2500c"));
    ASSERT_TRUE(host->PressKey("c"));
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& screen) {
        int row = RowOf(screen, "\u2514\u2500c");
        return row >= 0 && screen.RowAttributes(row, 1, 1)[0] == DefaultColours[ColourCommandLine];
    })) << host->ScreenText();
    ASSERT_TRUE(Shows("Search: c"));
    ASSERT_TRUE(host->PressKey("Enter"));
    ASSERT_TRUE(PromptIs("T:\\work\\a\\c")) << host->ScreenText();

    // The scan was saved: the serial, then one record per directory in
    // pre-order, the root first.
    std::string records = Records(TreeFile());
    EXPECT_EQ(records.compare(0, 4, "0T:\n"), 0) << records;
    EXPECT_NE(records.find("1work\n2a\n3b\n3c\n2d\n"), std::string::npos) << records;
}

TEST_F(DirectoryTreeTest, TheTreeFileBeginsWithTheSerialTheInformationPageShows) {
    Start();
    OpenScannedChooser();
    ASSERT_TRUE(host->PressKey("Esc"));
    ASSERT_TRUE(Gone(" Directory Tree "));
    // The header: the drive's serial, least significant byte first.
    const std::string bytes = Saved(TreeFile());
    ASSERT_GE(bytes.size(), 4u);
    uint32_t serial = 0;
    for (int i = 3; i >= 0; i--)
        serial = serial << 8 | static_cast<unsigned char>(bytes[i]);
    ASSERT_NE(serial, 0u) << "the page shows no serial for 0";
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", serial);

    // Both panels are on T:; the page describes the other one.
    ASSERT_TRUE(host->PressKey("Ctrl+L"));
    ASSERT_TRUE(Shows(" INFO ")) << host->ScreenText();
    const std::string label = "Serial No   : ";
    ASSERT_TRUE(Shows(label)) << host->ScreenText();
    ScreenModel screen = host->Snapshot();
    const std::string row = screen.RowText(RowOf(screen, label));
    const size_t at = row.find(label) + label.size();
    // The whole number, not only its beginning.
    const size_t stop = row.find_first_not_of("0123456789ABCDEF", at);
    EXPECT_EQ(row.substr(at, stop == std::string::npos ? std::string::npos : stop - at), hex) << row;
}

TEST_F(DirectoryTreeTest, TheFileOfAnotherDiskIsReplacedAndTheNextRunReadsItsOwn) {
    if (!Exists("appdata"))
        MakeFolder("appdata");
    if (!Exists("appdata/Quorvane"))
        MakeFolder("appdata/Quorvane");
    const std::string foreign = std::string("\x01\x02\x03\x04", 4) + "0T:\n1bogus\n";
    Write(TreeFile(), foreign);
    Start();
    ASSERT_TRUE(host->PressKey("Alt+F10"));
    ASSERT_TRUE(Shows(" Directory Tree "));
    EXPECT_FALSE(Shows("bogus", 300));  // another disk's tree is not this one
    ASSERT_TRUE(host->PressKey("Ctrl+R"));
    ASSERT_TRUE(Shows("\u2514\u2500d"));
    ASSERT_TRUE(host->PressKey("Esc"));
    std::string bytes = Saved(TreeFile());
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_NE(bytes.substr(0, 4), foreign.substr(0, 4));
    EXPECT_EQ(bytes.find("bogus"), std::string::npos);

    // A new run reads the tree from the file: no scan needed to show it.
    Start();
    ASSERT_TRUE(host->PressKey("Alt+F10"));
    ASSERT_TRUE(Shows("\u2514\u2500d")) << host->ScreenText();
    EXPECT_EQ(Saved(TreeFile()), bytes);
}

TEST_F(DirectoryTreeTest, AFailedSaveIsReportedAndKeepsTheOldFile) {
    MakeFolder("trees");
    const std::string old = std::string("\x09\x09\x09\x09", 4) + "0T:\n1old\n";
    Write("trees/qv2treeT.dat", old);
    // A folder that refuses new files; the superuser writes anywhere, so a
    // folder in the temporary file's place refuses it too.
    if (geteuid() == 0)
        MakeFolder("trees/qv2treeT.dat!!!");
    ASSERT_EQ(chmod(PathOf("trees").c_str(), 0555), 0);
    Start("TreeDir=T:\\trees\r\n");
    ASSERT_TRUE(host->PressKey("Alt+F10"));
    ASSERT_TRUE(Shows("Error writing tree data file:")) << host->ScreenText();
    ASSERT_TRUE(host->PressKey("Enter"));
    ASSERT_TRUE(Shows(" Directory Tree "));
    ASSERT_TRUE(host->PressKey("Ctrl+R"));
    ASSERT_TRUE(Shows("\u2514\u2500d"));
    // Shown once per run: the second failure of the scan's save is silent.
    EXPECT_FALSE(Shows("Error writing tree data file:", 300));
    ASSERT_TRUE(host->PressKey("Esc"));
    chmod(PathOf("trees").c_str(), 0755);
    EXPECT_EQ(Read("trees/qv2treeT.dat"), old);
}

TEST_F(DirectoryTreeTest, ADirectoryRemovedOutsideLeavesTheTreeOnTheNextRead) {
    Start();
    OpenScannedChooser();
    ASSERT_TRUE(host->PressKey("Esc"));
    ASSERT_TRUE(Gone(" Directory Tree "));
    ASSERT_NE(Records(TreeFile()).find("2d\n"), std::string::npos);
    ASSERT_EQ(rmdir(PathOf("work/d").c_str()), 0);
    ASSERT_TRUE(host->PressKey("Ctrl+R"));
    EXPECT_TRUE(Eventually([&] { return Records(TreeFile()).find("2d\n") == std::string::npos; }))
        << Records(TreeFile());
    EXPECT_NE(Records(TreeFile()).find("2a\n3b\n3c\n"), std::string::npos) << Records(TreeFile());
}

TEST_F(DirectoryTreeTest, DirectorySizesShowTheTotalAndKeepItInThePanel) {
    MakeFolder("work/sizes");
    Write("work/sizes/one", std::string(100, 'x'));
    Write("work/sizes/two", std::string(200, 'y'));
    Start("SizeCountPause=on\r\n");
    ASSERT_TRUE(Shows("sizes"));
    // "..", a, d, sizes: the cursor goes down to sizes.
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(host->PressKey("Down"));
    ASSERT_TRUE(host->PressKey("Ctrl+Q"));
    ASSERT_TRUE(Shows(" Reading Directories ")) << host->ScreenText();
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& screen) {
        int row = RowOf(screen, "Total Size:");
        return row >= 0 && screen.RowText(row).find("300") != std::string::npos;
    })) << host->ScreenText();
    ASSERT_TRUE(host->PressKey("Enter"));
    ASSERT_TRUE(Gone(" Reading Directories "));
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& screen) {
        int row = RowOf(screen, "sizes");
        std::string line = row < 0 ? std::string() : screen.RowText(row, 0, 40);
        return line.find("300") != std::string::npos && line.find("SUBDIR") == std::string::npos;
    })) << host->ScreenText();
}

// With "Retain Dir Count" on, a re-read keeps showing the size the directory
// sizes found (the tree remembers it); with it off the directory is SUBDIR
// again.
TEST_F(DirectoryTreeTest, ARereadShowsTheRetainedSizeOnlyWithRetainDirCount) {
    MakeFolder("work/sizes");
    Write("work/sizes/one", std::string(100, 'x'));
    Write("work/sizes/two", std::string(200, 'y'));
    struct TCase {
        const char* retain;
        const char* afterReread;  // in the row of sizes
        const char* notThere;
    };
    const TCase cases[] = {
        {"on", "300", "SUBDIR"},
        {"off", "SUBDIR", "300"},
    };
    for (const TCase& c : cases) {
        Start(std::string("SizeCountPause=on\r\nRetainCount=") + c.retain + "\r\n");
        ASSERT_TRUE(Shows("sizes"));
        // A scan of the drive: the tree knows the folders, not their sizes.
        host->WatchText("Scanning directories");
        ASSERT_TRUE(host->PressKey("Alt+F10"));
        ASSERT_TRUE(Shows(" Directory Tree ")) << host->ScreenText();
        ASSERT_TRUE(host->PressKey("Ctrl+R"));
        ASSERT_TRUE(host->WaitForSeen("Scanning directories")) << host->ScreenText();
        ASSERT_TRUE(Shows("\u2514\u2500sizes")) << host->ScreenText();
        ASSERT_TRUE(host->PressKey("Esc"));
        ASSERT_TRUE(Gone(" Directory Tree "));
        // "..", a, d, sizes: the cursor goes down to sizes.
        for (int i = 0; i < 3; i++)
            ASSERT_TRUE(host->PressKey("Down"));
        ASSERT_TRUE(host->PressKey("Ctrl+Q"));
        ASSERT_TRUE(host->WaitFor([&](const ScreenModel& screen) {
            int row = RowOf(screen, "Total Size:");
            return row >= 0 && screen.RowText(row).find("300") != std::string::npos;
        })) << c.retain << "\n"
            << host->ScreenText();
        ASSERT_TRUE(host->PressKey("Enter"));
        ASSERT_TRUE(Gone(" Reading Directories "));
        // A file made now shows once the re-read is done.
        Write("work/zz-after", "");
        ASSERT_TRUE(host->PressKey("Ctrl+R"));
        ASSERT_TRUE(Shows("zz-after")) << c.retain << "\n" << host->ScreenText();
        ScreenModel screen = host->Snapshot();
        int row = RowOf(screen, "sizes");
        ASSERT_GE(row, 0) << screen.Dump();
        std::string line = screen.RowText(row, 0, 40);
        EXPECT_NE(line.find(c.afterReread), std::string::npos) << c.retain << ": " << line;
        EXPECT_EQ(line.find(c.notThere), std::string::npos) << c.retain << ": " << line;
        host->CloseInput();
        EXPECT_EQ(host->WaitExit(), 0);
        std::remove(PathOf("work/zz-after").c_str());
    }
}

TEST_F(DirectoryTreeTest, TreeViewShowsTheOtherDriveAndSendsThatPanel) {
    MapDrive('U', "other");
    MakeFolder("other");
    MakeFolder("other/x");
    MakeFolder("other/x/y");
    MakeFolder("other/z");
    Launch(Options({"-l", "T:\\work", "-r", "U:\\"}));
    ASSERT_TRUE(KeyBarShown());
    host->SendKey(MENU_LEFT_TREE);
    ASSERT_TRUE(Shows(" TREE ")) << host->ScreenText();
    // The right panel's drive: its root and the directories it read.
    ASSERT_TRUE(Shows("\u2514\u2500z")) << host->ScreenText();
    // Ctrl+R in the tree view scans the drive.
    ASSERT_TRUE(host->PressKey("Ctrl+R"));
    ASSERT_TRUE(Shows("\u2514\u2500y")) << host->ScreenText();
    // The cursor from the root to y, then Enter: the right panel goes there.
    ASSERT_TRUE(host->PressKey("Home"));
    ASSERT_TRUE(host->PressKey("Down"));
    ASSERT_TRUE(host->PressKey("Down"));
    ASSERT_TRUE(host->PressKey("Enter"));
    ASSERT_TRUE(Shows("U:\\x\\y")) << host->ScreenText();
    // Grey '-' on x folds y away; x shows "+".
    ASSERT_TRUE(host->PressKey("Up"));
    host->SendKey(KEY_GREY_MINUS, '-');
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& screen) {
        return RowOf(screen, "\u2500y") < 0 && RowOf(screen, "\u251C+x") >= 0;
    })) << host->ScreenText();
}

// Esc while the chooser rescans leaves the drive without a tree: the chooser
// closes, and the next one scans again.
TEST_F(DirectoryTreeTest, EscDuringARescanClosesTheChooserAndTheNextOneScansAgain) {
    // Enough folders that the scan is still running when Esc arrives.
    MakeFolder("work/many");
    for (int i = 0; i < 10000; i++)
        MakeFolder("work/many/f" + std::to_string(i));
    Start();
    ASSERT_TRUE(host->PressKey("Alt+F10"));
    ASSERT_TRUE(Shows(" Directory Tree ")) << host->ScreenText();
    host->WatchText("Scanning directories");
    ASSERT_TRUE(host->PressKey("Ctrl+R"));
    ASSERT_TRUE(host->WaitForSeen("Scanning directories")) << host->ScreenText();
    host->SendKey(KEY_ESC);
    ASSERT_TRUE(Gone("Scanning directories")) << host->ScreenText();
    ASSERT_TRUE(Gone(" Directory Tree ")) << host->ScreenText();
    // No tree is left: the next chooser scans the drive before it opens.
    host->WatchText("Scanning directories");
    ASSERT_TRUE(host->PressKey("Alt+F10"));
    ASSERT_TRUE(host->WaitForSeen("Scanning directories", 60000)) << host->ScreenText();
    ASSERT_TRUE(Shows(" Directory Tree ", 60000)) << host->ScreenText();
    ASSERT_TRUE(Shows("many")) << host->ScreenText();
}

// The menus' Re-Read and Filter rebuild a tree view from the disk, as Ctrl-R
// there does: a folder made outside appears.
TEST_F(DirectoryTreeTest, TheMenusReReadAndFilterRescanATreeView) {
    MapDrive('U', "other");
    MakeFolder("other");
    MakeFolder("other/x");
    Launch(Options({"-l", "T:\\work", "-r", "U:\\"}));
    ASSERT_TRUE(KeyBarShown());
    host->SendKey(MENU_LEFT_TREE);
    ASSERT_TRUE(Shows("\u2514\u2500x")) << host->ScreenText();
    MakeFolder("other/x/made");
    host->SendKey(MENU_LEFT_REREAD);
    ASSERT_TRUE(Shows("\u2514\u2500made")) << host->ScreenText();
    MakeFolder("other/x/later");
    host->SendKey(MENU_LEFT_FILTER);
    ASSERT_TRUE(Shows("Filter for left panel")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Shows("\u251C\u2500later")) << host->ScreenText();
}

}  // namespace
