// File Find through the real program: the search by masks and content, the
// result rows and the summary, going to a found file, stopping a search,
// reopening on the previous results, and the replace over found files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "console/KeyCodes.h"
#include "tests/fileops/PanelStepsTest.h"
#include "tests/support/ProgramTest.h"

namespace {

using qvhost::ScreenModel;

class FileFindTest : public qvtest::PanelStepsTest {
protected:
    // The attribute of column 4 on every row, for a failure's message.
    static std::string Attributes(const ScreenModel& screen) {
        std::string text;
        for (int y = 0; y < screen.Rows(); y++)
            text += std::to_string(screen.RowAttributes(y, 4, 1)[0]) + " ";
        return text;
    }

    // Alt-F7, the masks, Tab, the text (when given), Enter.
    void Find(const std::string& masks, const std::string& text, int key = KEY_ALT_F7) {
        host->SendKey(key);
        ASSERT_TRUE(Shows(" File Find ")) << host->ScreenText();
        ASSERT_TRUE(Shows("File(s) to find:")) << host->ScreenText();
        host->SendText(masks);
        host->SendKey(KEY_TAB);
        host->SendText(text);
        host->SendKey(KEY_ENTER);
    }

    // The screen row that holds the text and whether it is the list's
    // cursor row (drawn in another attribute than a plain row).
    static std::string RowWith(const ScreenModel& screen, const std::string& text) {
        int row = RowOf(screen, text);
        return row < 0 ? std::string() : screen.RowText(row, 0, screen.Columns());
    }
};

TEST_F(FileFindTest, FindsByMaskAndTextAndGoesToTheFile) {
    MakeFolder("work/sub");
    MakeFolder("work/sub/deeper");
    Write("work/one.txt", "no match in here\n");
    Write("work/sub/two.txt", "a needle in the hay\n");
    Write("work/sub/deeper/three.txt", "NEEDLE\n");
    Write("work/sub/four.dat", "needle\n");
    // 5 November 2003, 13:46:40 UTC (the fixture's zone): a day and month
    // that cannot be taken for each other, and an afternoon, so the 12-hour
    // clock shows its "p".
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = 1068040000;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ASSERT_EQ(0, utimensat(AT_FDCWD, PathOf("work/sub/two.txt").c_str(), times, 0));
    Start("FFRootSearch=0\r\n");
    Find("*.txt", "needle");
    ASSERT_TRUE(Shows("Search Complete:")) << host->ScreenText();
    ASSERT_TRUE(Shows("2 matches use")) << host->ScreenText();
    ScreenModel screen = host->Snapshot();
    std::string two = RowWith(screen, "T:\\work\\sub\\two.txt");
    // Size, date and time of the file, then its path. The order of day and
    // month is the locale's: month first here; wine's prefix may have its own.
    const bool monthFirst = two.find(" 20  11/5/2003  1:46p  T:\\work\\sub\\two.txt") != std::string::npos;
    const bool dayFirst = two.find(" 20   5/11/2003  1:46p  T:\\work\\sub\\two.txt") != std::string::npos;
    EXPECT_TRUE(monthFirst || (qvtest::OnWindowsLeg() && dayFirst)) << two;
    EXPECT_NE(RowWith(screen, "T:\\work\\sub\\deeper\\three.txt"), "");
    EXPECT_EQ(RowOf(screen, "one.txt"), -1);
    EXPECT_EQ(RowOf(screen, "four.dat"), -1);
    // Directories come first in path order: sub before sub\deeper; the cursor
    // followed the results to the last one. Up, then Enter: GoTo.
    host->SendKey(KEY_UP);
    host->WaitQuiet();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
    ASSERT_TRUE(PromptIs("T:\\work\\sub")) << host->ScreenText();
}

// GoTo on a file two folders away from the panel's: the panel lists that
// folder with its cursor on the file, and a re-read keeps both.
TEST_F(FileFindTest, GoToListsTheFoundFilesFolderWithTheCursorOnIt) {
    MakeFolder("work/near");
    MakeFolder("work/far");
    MakeFolder("work/far/away");
    Write("work/near/nearby.txt", "x");
    Write("work/far/away/aaa.dat", "x");
    Write("work/far/away/bbb.dat", "x");
    Write("work/far/away/target.log", "x");
    Write("work/far/away/zzz.dat", "x");
    Start("FFRootSearch=0\r\n");
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return LeftCursorName(s) == ".."; })) << host->ScreenText();
    Find("*.log", "");
    ASSERT_TRUE(Shows("1 match uses")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
    ASSERT_TRUE(PromptIs("T:\\work\\far\\away")) << host->ScreenText();
    // The left panel (the active one) holds zzz and no longer near.
    auto leftShows = [](const ScreenModel& s, const std::string& name) {
        for (int y = 1; y < s.Rows() - 2; y++)
            if (s.RowText(y, 1, s.Columns() / 2 - 2).find(name) != std::string::npos)
                return true;
        return false;
    };
    auto landed = [&](const ScreenModel& s) {
        return LeftCursorName(s).rfind("target", 0) == 0 && leftShows(s, "zzz") && !leftShows(s, "near");
    };
    EXPECT_TRUE(host->WaitFor(landed)) << host->ScreenText();
    host->SendKey(KEY_CTRL_R);
    host->WaitQuiet();
    EXPECT_TRUE(host->WaitFor(landed)) << host->ScreenText();
}

TEST_F(FileFindTest, ReopensOnTheResultsWithTheCursorWhereItWas) {
    MakeFolder("work/sub");
    Write("work/sub/a.txt", "x");
    Write("work/sub/b.txt", "x");
    Start("FFRootSearch=0\r\n");
    Find("*.txt", "");
    ASSERT_TRUE(Shows("2 matches use")) << host->ScreenText();
    // The cursor followed the results to the second row.
    ScreenModel found = host->Snapshot();
    const int first = std::min(RowOf(found, "sub\\a.txt"), RowOf(found, "sub\\b.txt"));
    ASSERT_GE(first, 0) << host->ScreenText();
    auto attribute = [](const ScreenModel& s, int row) { return s.RowAttributes(row, 4, 1)[0]; };
    // The row after the two is blank, in the list's plain attribute.
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) {
        return attribute(s, first) == attribute(s, first + 2) && attribute(s, first + 1) != attribute(s, first + 2);
    })) << host->ScreenText()
        << Attributes(host->Snapshot());
    found = host->Snapshot();
    const uint8_t cursorAttribute = attribute(found, first + 1);
    host->SendKey(KEY_UP);
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) { return attribute(s, first) == cursorAttribute; }))
        << host->ScreenText() << Attributes(host->Snapshot());
    host->SendKey(KEY_ESC);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
    host->SendKey(KEY_ALT_SHIFT_F7);
    ASSERT_TRUE(Shows("Search Complete:")) << host->ScreenText();
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) {
        return attribute(s, first) == cursorAttribute && attribute(s, first + 1) != cursorAttribute;
    })) << host->ScreenText()
        << Attributes(host->Snapshot());
    EXPECT_EQ(host->Snapshot().RowText(first), found.RowText(first));
    // Alt-F7 itself opens on an empty list.
    host->SendKey(KEY_ESC);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
    host->SendKey(KEY_ALT_F7);
    ASSERT_TRUE(Shows(" File Find ")) << host->ScreenText();
    EXPECT_TRUE(Gone("sub\\a.txt")) << host->ScreenText();
}

TEST_F(FileFindTest, EscStopsASearchAndASecondEscClosesTheWindow) {
    // Enough directories that the walk is still going when Esc comes.
    for (int i = 0; i < 60; i++) {
        std::string outer = "work/d" + std::to_string(i);
        MakeFolder(outer);
        for (int j = 0; j < 100; j++)
            MakeFolder(outer + "/e" + std::to_string(j));
    }
    Start("FFRootSearch=0\r\n");
    // Esc right behind the Enter that starts the search: the window reads it
    // as soon as the walk has begun, long before the walk could end.
    Find("*.none", "");
    host->SendKey(KEY_ESC);
    ASSERT_TRUE(Shows("Search Stopped:")) << host->ScreenText();
    EXPECT_TRUE(Shows(" File Find ")) << host->ScreenText();
    host->SendKey(KEY_ESC);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
}

TEST_F(FileFindTest, NamesDifferingOnlyInCaseAreBothSearched) {
    if (qvtest::OnWindowsLeg())
        GTEST_SKIP() << "the Windows file system keeps one of two names differing only in case";
    MakeFolder("work/Src");
    MakeFolder("work/src");
    Write("work/Src/m.c", "needle");
    Write("work/src/m.c", "needle");
    Start("FFRootSearch=0\r\n");
    Find("*.c", "needle");
    ASSERT_TRUE(Shows("2 matches use")) << host->ScreenText();
    EXPECT_TRUE(Shows("T:\\work\\Src\\m.c")) << host->ScreenText();
    EXPECT_TRUE(Shows("T:\\work\\src\\m.c")) << host->ScreenText();
}

TEST_F(FileFindTest, FollowedLinksNeverWalkATreeTwice) {
    if (qvtest::OnWindowsLeg())
        GTEST_SKIP() << "wine 8 makes no symbolic link (CreateSymbolicLinkW answers success and makes none) and "
                        "shows a Linux one as a reparse point it cannot follow";
    MakeFolder("work/a");
    MakeFolder("work/b");
    Write("work/a/one.txt", "x");
    Write("work/b/two.txt", "x");
    // A link back to an ancestor, and a second road into b.
    ASSERT_EQ(symlink("..", PathOf("work/a/up").c_str()), 0);
    ASSERT_EQ(symlink("../b", PathOf("work/a/tob").c_str()), 0);
    Start("FFRootSearch=0\r\nFFFollowLinks=1\r\n");
    Find("*.txt", "");
    ASSERT_TRUE(Shows("Search Complete:")) << host->ScreenText();
    EXPECT_TRUE(Shows("2 matches use")) << host->ScreenText();
    EXPECT_EQ(RowOf(host->Snapshot(), "up\\"), -1) << host->ScreenText();
}

TEST_F(FileFindTest, AFileThatCannotBeOpenedIsListedAsSuch) {
    if (qvtest::OnWindowsLeg())
        GTEST_SKIP() << "wine 8 does not show a Linux symbolic link to nothing, and runs as root here, who opens "
                        "every file";
    Write("work/open.txt", "needle");
    // A link whose target is gone cannot be opened by anyone, root included.
    ASSERT_EQ(symlink("nowhere", PathOf("work/gone.txt").c_str()), 0);
    const bool permissions = geteuid() != 0;
    if (permissions) {
        Write("work/locked.txt", "needle");
        chmod(PathOf("work/locked.txt").c_str(), 0);
    }
    Start("FFRootSearch=0\r\n");
    Find("*.txt", "needle");
    ASSERT_TRUE(Shows("Search Complete:")) << host->ScreenText();
    EXPECT_TRUE(Shows("Error opening               T:\\work\\gone.txt")) << host->ScreenText();
    if (permissions) {
        EXPECT_TRUE(Shows("Error opening               T:\\work\\locked.txt")) << host->ScreenText();
    }
    EXPECT_TRUE(Shows("T:\\work\\open.txt")) << host->ScreenText();
    if (permissions)
        chmod(PathOf("work/locked.txt").c_str(), 0644);
}

TEST_F(FileFindTest, CopiesAndMovesTheFoundFilesToTheOtherPanel) {
    MakeFolder("right");
    MapDrive('U', "right");
    MakeFolder("work/a");
    MakeFolder("work/b");
    Write("work/a/x.txt", "x");
    Write("work/b/y.txt", "yy");
    Launch(Options({Ini("FFRootSearch=0\r\n"), "-l", "T:\\work", "-r", "U:\\"}));
    ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    Find("*.txt", "");
    ASSERT_TRUE(Shows("2 matches use")) << host->ScreenText();
    host->SendKey(KEY_F5);
    ASSERT_TRUE(Shows("Copy 2 files to")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Eventually([&] { return Exists("right/x.txt") && Exists("right/y.txt"); })) << host->ScreenText();
    EXPECT_EQ(Read("right/y.txt"), "yy");
    EXPECT_TRUE(Exists("work/a/x.txt"));

    // A move takes the files away, and them off the list.
    ASSERT_TRUE(Gone("Copy 2 files to")) << host->ScreenText();
    ASSERT_EQ(unlink(PathOf("right/x.txt").c_str()), 0);
    ASSERT_EQ(unlink(PathOf("right/y.txt").c_str()), 0);
    host->SendKey(KEY_F6);
    ASSERT_TRUE(Shows("Move 2 files to")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Shows("0 matches use")) << host->ScreenText();
    EXPECT_TRUE(Exists("right/x.txt") && Exists("right/y.txt"));
    EXPECT_FALSE(Exists("work/a/x.txt") || Exists("work/b/y.txt"));
}

TEST_F(FileFindTest, ViewsRemovesAndDeletesFoundFiles) {
    MakeFolder("work/sub");
    Write("work/sub/one.txt", "first line\na needle in the hay\n");
    Write("work/two.txt", "needle two\n");
    Start("FFRootSearch=0\r\n");
    Find("*.txt", "needle");
    ASSERT_TRUE(Shows("2 matches use")) << host->ScreenText();
    // The cursor is on the last found file; F3 views it, Esc comes back.
    ScreenModel found = host->Snapshot();
    const bool twoLast = RowOf(found, "work\\two.txt") > RowOf(found, "sub\\one.txt");
    host->SendKey(KEY_F3);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
    EXPECT_TRUE(Shows(twoLast ? "needle two" : "a needle in the hay")) << host->ScreenText();
    host->SendKey(KEY_ESC);
    ASSERT_TRUE(Shows(" File Find ")) << host->ScreenText();
    // Del takes the entry off the list and leaves the file.
    host->SendKey(KEY_DELETE);
    ASSERT_TRUE(Shows("1 match uses")) << host->ScreenText();
    EXPECT_TRUE(Exists(twoLast ? "work/two.txt" : "work/sub/one.txt"));
    // F8 deletes the file after the question.
    host->SendKey(KEY_F8);
    ASSERT_TRUE(Shows("Do you wish to delete")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Shows("0 matches use")) << host->ScreenText();
    EXPECT_FALSE(Exists(twoLast ? "work/sub/one.txt" : "work/two.txt"));
}

// Found files as they come, fewer and more than the list has rows (8 on a
// 25-row screen): every row holds another file and the cursor follows to the
// last one; Del on the top entry moves every row after it up, and the
// removed file is listed nowhere.
TEST_F(FileFindTest, TheListKeepsUpWithTheResultsAndARemoval) {
    for (int i = 10; i < 22; i++)
        Write("work/f" + std::to_string(i) + ".txt", "x");
    Start("FFRootSearch=0\r\n");
    // The found names row by row, and the row of the cursor bar.
    auto listed = [](const ScreenModel& s, int& cursorRow) {
        std::vector<std::string> names;
        std::vector<int> rows;
        for (int y = 0; y < s.Rows(); y++) {
            std::string row = s.RowText(y, 0, s.Columns());
            size_t at = row.find("T:\\work\\f");
            if (at != std::string::npos) {
                names.push_back(row.substr(at + 9, 3));
                rows.push_back(y);
            }
        }
        // The cursor bar is the one row in an attribute of its own.
        cursorRow = -1;
        for (size_t i = 0; i < rows.size(); i++) {
            int same = 0;
            for (int y : rows)
                same += s.RowAttributes(y, 4, 1)[0] == s.RowAttributes(rows[i], 4, 1)[0];
            if (same == 1)
                cursorRow = static_cast<int>(i);
        }
        return names;
    };
    auto distinct = [](std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return std::unique(names.begin(), names.end()) == names.end();
    };
    // Fewer than the rows: the list shows them all, even those that came
    // between two of its refreshes.
    int cursor = -1;
    Find("f1[0-4].txt", "");
    ASSERT_TRUE(Shows("5 matches use")) << host->ScreenText();
    EXPECT_TRUE(host->WaitFor([&](const ScreenModel& s) {
        std::vector<std::string> names = listed(s, cursor);
        return names.size() == 5 && distinct(names) && cursor == 4;
    })) << host->ScreenText();
    host->SendKey(KEY_ESC);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
    Find("*.txt", "");
    ASSERT_TRUE(Shows("12 matches use")) << host->ScreenText();
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) {
        std::vector<std::string> names = listed(s, cursor);
        return names.size() == 8 && distinct(names) && cursor == 7;
    })) << host->ScreenText();
    host->SendKey(KEY_HOME);
    std::vector<std::string> top;
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) {
        top = listed(s, cursor);
        return top.size() == 8 && cursor == 0;
    })) << host->ScreenText();
    host->SendKey(KEY_DELETE);
    ASSERT_TRUE(Shows("11 matches use")) << host->ScreenText();
    std::vector<std::string> after;
    EXPECT_TRUE(host->WaitFor([&](const ScreenModel& s) {
        after = listed(s, cursor);
        return after.size() == 8 && distinct(after) && std::find(after.begin(), after.end(), top[0]) == after.end() &&
               std::equal(top.begin() + 1, top.end(), after.begin());
    })) << host->ScreenText();
}

class FileReplaceTest : public FileFindTest {
protected:
    // Ctrl-R over the found files with the replacement; answers both boxes.
    void Replace(const std::string& replacement) {
        host->SendKey(KEY_CTRL_R);
        ASSERT_TRUE(Shows("Replace with:")) << host->ScreenText();
        host->SendText(replacement);
        host->SendKey(KEY_ENTER);
        ASSERT_TRUE(Shows("Are you sure you want to replace")) << host->ScreenText();
        host->SendKey(KEY_ENTER);
    }

    int Temporaries() const {
        int n = 0;
        for (const char* name : {"a.txt", "ro.txt", "u.txt", "none.txt"})
            n += Exists(std::string("work/") + name + ".qv@@@.tmp") ? 1 : 0;
        return n;
    }
};

TEST_F(FileReplaceTest, ReplacesInEveryFoundFileKeepingPermissions) {
    Write("work/a.txt", "cat, cat and dog\n");
    Write("work/none.txt", "no felines\n");
    Write("work/u.txt", "caf\xC3\xA9 cat\n");
    chmod(PathOf("work/a.txt").c_str(), 0640);
    Start("FFRootSearch=0\r\n");
    Find("*.txt", "cat");
    ASSERT_TRUE(Shows("2 matches use")) << host->ScreenText();
    Replace("lion");
    ASSERT_TRUE(Shows("Replaced 3 occurances in 2 files")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    EXPECT_EQ(Read("work/a.txt"), "lion, lion and dog\n");
    EXPECT_EQ(Read("work/u.txt"), "caf\xC3\xA9 lion\n");
    EXPECT_EQ(Read("work/none.txt"), "no felines\n");
    if (!qvtest::OnWindowsLeg()) {
        struct stat info;
        ASSERT_EQ(stat(PathOf("work/a.txt").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
    }
    EXPECT_EQ(Temporaries(), 0);

    // A letter beyond ASCII, spelt in UTF-8 in the file, with a replacement
    // of another length in bytes than the text.
    host->SendKey(KEY_ESC);
    ASSERT_TRUE(Gone(" File Find ")) << host->ScreenText();
    host->SendKey(KEY_ALT_F7);
    ASSERT_TRUE(Shows(" File Find ")) << host->ScreenText();
    host->SendKey(KEY_TAB);
    host->SendKey(KEY_END);
    for (int i = 0; i < 3; i++)
        host->SendKey(KEY_BACKSPACE);
    host->SendText("\xC3\xA9");
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Shows("1 match uses")) << host->ScreenText();
    Replace("\xC3\xA8!");
    ASSERT_TRUE(Shows("Replaced 1 occurances in 1 files")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    EXPECT_EQ(Read("work/u.txt"), "caf\xC3\xA8! lion\n");
    EXPECT_EQ(Temporaries(), 0);
}

TEST_F(FileReplaceTest, AReadOnlyFileIsReportedAndKept) {
    Write("work/a.txt", "cat\n");
    Write("work/ro.txt", "cat\n");
    chmod(PathOf("work/ro.txt").c_str(), 0444);
    Start("FFRootSearch=0\r\n");
    Find("*.txt", "cat");
    ASSERT_TRUE(Shows("2 matches use")) << host->ScreenText();
    // Sorted by name, a.txt comes first: the replace stops at the file that
    // fails, after it.
    host->SendKey(KEY_CTRL_F3);
    ASSERT_TRUE(host->WaitFor([&](const ScreenModel& s) {
        int a = RowOf(s, "work\\a.txt");
        return a >= 0 && a < RowOf(s, "work\\ro.txt");
    })) << host->ScreenText();
    Replace("dog");
    ASSERT_TRUE(Shows("ro.txt")) << host->ScreenText();
    ASSERT_TRUE(Shows("Access Denied")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Shows("Replaced 1 occurances in 1 files")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    EXPECT_EQ(Read("work/a.txt"), "dog\n");
    EXPECT_EQ(Read("work/ro.txt"), "cat\n");
    EXPECT_EQ(Temporaries(), 0);
    chmod(PathOf("work/ro.txt").c_str(), 0644);
}

}  // namespace
