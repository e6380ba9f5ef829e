// Browsing archives in a panel: Ctrl+PgDn enters an archive made by Debian's
// archivers, Enter goes into its folders, a damaged one is reported and stays
// a file.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/archive/ArchiveTestSupport.h"
#include "tests/support/ProgramTest.h"

namespace {

class ArchiveBrowsingTest : public qvtest::ProgramTest {
protected:
    // The tree a/x, "a b/y", a.txt in Root()/src.
    void MakeTree() {
        MakeFolder("src");
        MakeFolder("src/a");
        MakeFolder("src/a b");
        Write("src/a/x", "xx");
        Write("src/a b/y", "yyy");
        Write("src/a.txt", "text\n");
    }
    bool Run(const std::string& command) {
        return std::system(("cd '" + Root() + "/src' && (" + command + ") >/dev/null 2>&1").c_str()) == 0;
    }
    // Starts on T:\work, which holds only the archive, and enters it.
    void EnterOnlyFile() {
        Start();
        host->PressKey("Down");
        ASSERT_TRUE(host->WaitQuiet());
        host->PressKey("Ctrl+PgDn");
    }
    // True once a row of the left panel's list names exactly that entry in
    // its name column (between the frame and the first column bar).
    bool ListsName(const std::string& name) {
        return host->WaitFor(
            [&](const qvhost::ScreenModel& screen) {
                const std::string frame = "\u2551";
                for (int y = 1; y < screen.Rows(); y++) {
                    const std::string row = screen.RowText(y);
                    const size_t bar = row.find("\u2502");
                    if (row.compare(0, frame.size(), frame) != 0 || bar == std::string::npos)
                        continue;
                    std::string cell = row.substr(frame.size(), bar - frame.size());
                    cell.erase(cell.find_last_not_of(' ') + 1);
                    if (cell == name)
                        return true;
                }
                return false;
            },
            WaitMs);
    }
    // True once the row that holds the label holds the figure too, written
    // with or without a thousands separator.
    bool RowShows(const std::string& label, const std::string& figure, const std::string& grouped = "") {
        return host->WaitFor(
            [&](const qvhost::ScreenModel& screen) {
                int row = RowOf(screen, label);
                const std::string text = row < 0 ? std::string() : screen.RowText(row);
                return row >= 0 && (text.find(figure) != std::string::npos ||
                                    (!grouped.empty() && text.find(grouped) != std::string::npos));
            },
            WaitMs);
    }
};

TEST_F(ArchiveBrowsingTest, EveryArchiverListsTheSameTree) {
    struct Case {
        const char* file;
        const char* tool;
        const char* command;
    } cases[] = {
        {"x.zip", "zip", "zip -r ../work/x.zip a 'a b' a.txt"},
        {"x.tar.gz", "gzip", "tar czf ../work/x.tar.gz a 'a b' a.txt"},
        {"x.tar.bz2", "bzip2", "tar cjf ../work/x.tar.bz2 a 'a b' a.txt"},
        {"x.tar.xz", "xz", "tar cJf ../work/x.tar.xz a 'a b' a.txt"},
        {"x.7z", "7z", "7z a ../work/x.7z a 'a b' a.txt"},
        {"x.arj", "arj", "arj a -r ../work/x.arj '*'"},
    };
    MakeTree();
    for (const Case& c : cases) {
        if (!qvtest::ToolFolder::Has(c.tool)) {
            std::printf("skipped %s: no %s here\n", c.file, c.tool);
            continue;
        }
        std::system(("rm -rf '" + Root() + "/work'").c_str());
        MakeFolder("work");
        ASSERT_TRUE(Run(c.command)) << c.command;
        EnterOnlyFile();
        ASSERT_TRUE(Shows(std::string("T:\\work\\") + c.file)) << c.file << host->ScreenText();
        for (const char* name : {"..", "a", "a b", "a.txt"})
            EXPECT_TRUE(ListsName(name)) << c.file << ": " << name << "\n" << host->ScreenText();
        host->PressKey("Down");
        ASSERT_TRUE(host->WaitQuiet());
        host->PressKey("Enter");
        EXPECT_TRUE(Shows(std::string("T:\\work\\") + c.file + "\\a")) << c.file << host->ScreenText();
        EXPECT_TRUE(ListsName("x")) << c.file << host->ScreenText();
    }
}

TEST_F(ArchiveBrowsingTest, AGzippedTextListsItsOneFile) {
    if (!qvtest::ToolFolder::Has("gzip"))
        GTEST_SKIP() << "needs Debian's gzip, which this system lacks";
    MakeFolder("src");
    Write("src/notes.txt", "notes\n");
    ASSERT_TRUE(Run("gzip -c notes.txt > ../work/notes.txt.gz"));
    EnterOnlyFile();
    ASSERT_TRUE(Shows("T:\\work\\notes.txt.gz")) << host->ScreenText();
    EXPECT_TRUE(Shows("notes.txt ")) << host->ScreenText();
}

TEST_F(ArchiveBrowsingTest, ABzip2FileListsItsOneFileOfUnknownSizeAndTime) {
    if (!qvtest::ToolFolder::Has("bzip2"))
        GTEST_SKIP() << "needs Debian's bzip2, which this system lacks";
    MakeFolder("src");
    Write("src/data", "data\n");
    ASSERT_TRUE(Run("bzip2 -c data > ../work/data.bz2"));
    EnterOnlyFile();
    ASSERT_TRUE(Shows("T:\\work\\data.bz2")) << host->ScreenText();
    EXPECT_TRUE(Shows("data ")) << host->ScreenText();
    host->PressKey("Down");
    EXPECT_TRUE(host->WaitQuiet());
    EXPECT_TRUE(Shows("data ")) << host->ScreenText();
}

TEST_F(ArchiveBrowsingTest, AnEndRecordPointingPastTheEndIsReportedAndTheFileStays) {
    qvtest::ZipBuilder zip;
    zip.Add("a.txt", 1, 1);
    Write("work/bad.zip", zip.Bytes(100000));
    EnterOnlyFile();
    ASSERT_TRUE(Shows("ZIP corrupt, nonsense header read")) << host->ScreenText();
    EXPECT_TRUE(Shows("T:\\work\\bad.zip")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("ZIP corrupt")) << host->ScreenText();
    EXPECT_TRUE(PromptIs("T:\\work")) << host->ScreenText();
    EXPECT_TRUE(Shows("bad.zip")) << host->ScreenText();
}

TEST_F(ArchiveBrowsingTest, TextBeginningWithHAIsNotEntered) {
    Write("work/ha.txt", "HA, this is text \n with lines\n");
    EnterOnlyFile();
    ASSERT_TRUE(host->WaitQuiet());
    EXPECT_TRUE(PromptIs("T:\\work")) << host->ScreenText();
    EXPECT_EQ(std::string::npos, host->ScreenText().find("T:\\work\\ha.txt")) << host->ScreenText();
}

TEST_F(ArchiveBrowsingTest, HostileMemberPathsStayInside) {
    qvtest::ZipBuilder zip;
    zip.Add("../evil.txt", 1, 1);
    zip.Add("/abs.txt", 2, 2);
    Write("work/evil.zip", zip.Bytes());
    EnterOnlyFile();
    ASSERT_TRUE(Shows("T:\\work\\evil.zip")) << host->ScreenText();
    EXPECT_TRUE(Shows("abs.txt")) << host->ScreenText();
    std::string screen = host->ScreenText();
    EXPECT_EQ(std::string::npos, screen.find("evil.txt")) << screen;
}

}  // namespace

namespace {

TEST_F(ArchiveBrowsingTest, CtrlRReadsTheChangedArchiveAgain) {
    qvtest::ZipBuilder before;
    before.Add("first.txt", 1, 1);
    Write("work/r.zip", before.Bytes());
    EnterOnlyFile();
    ASSERT_TRUE(Shows("first.txt")) << host->ScreenText();
    qvtest::ZipBuilder after;
    after.Add("first.txt", 1, 1);
    after.Add("second.txt", 2, 2);
    Write("work/r.zip", after.Bytes());
    host->PressKey("Ctrl+R");
    EXPECT_TRUE(Shows("second.txt")) << host->ScreenText();
    EXPECT_TRUE(Shows("T:\\work\\r.zip")) << host->ScreenText();
}

// Ctrl-Q on a folder of an archive counts the members below it, and Ctrl-L
// describes the archive in the other panel.
TEST_F(ArchiveBrowsingTest, SizesAndTheInformationPageOfAnArchive) {
    qvtest::ZipBuilder zip;
    zip.Add("dir/one", 100, 1000);
    zip.Add("dir/sub/two", 50, 2345);
    zip.Add("top.txt", 5, 7);
    Write("work/r.zip", zip.Bytes());
    EnterOnlyFile();
    ASSERT_TRUE(Shows("top.txt")) << host->ScreenText();
    EXPECT_TRUE(ListsName("..")) << host->ScreenText();
    EXPECT_TRUE(ListsName("dir")) << host->ScreenText();
    EXPECT_TRUE(ListsName("top.txt")) << host->ScreenText();
    // "..", dir, top.txt: down to dir.
    ASSERT_TRUE(host->PressKey("Down"));
    ASSERT_TRUE(host->PressKey("Ctrl+Q"));
    ASSERT_TRUE(host->WaitFor([&](const qvhost::ScreenModel& screen) {
        int row = RowOf(screen, "dir ");
        std::string line = row < 0 ? std::string() : screen.RowText(row, 0, 40);
        return (line.find("3,345") != std::string::npos || line.find("3345") != std::string::npos) &&
               line.find("SUBDIR") == std::string::npos;
    })) << host->ScreenText();
    ASSERT_TRUE(host->PressKey("Ctrl+L"));
    ASSERT_TRUE(Shows("r.zip")) << host->ScreenText();
    EXPECT_TRUE(Shows("ZIP")) << host->ScreenText();
    EXPECT_TRUE(Shows("total uncompressed")) << host->ScreenText();
    EXPECT_TRUE(Shows("3,352") || Shows("3352")) << host->ScreenText();
    // The totals row by row: the packed sizes add up to 155.
    EXPECT_TRUE(RowShows(" total uncompressed", "3352", "3,352")) << host->ScreenText();
    EXPECT_TRUE(RowShows(" total compressed", "155")) << host->ScreenText();
    EXPECT_TRUE(Shows("Type    : ZIP")) << host->ScreenText();
}

}  // namespace
