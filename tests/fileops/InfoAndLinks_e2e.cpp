// Ctrl+I and Ctrl+Shift+F5 through the real program: the information rows
// and the dialog's width on a long path; links to the cursor entry and to
// tagged entries (relative, and to a directory), and a destination that is
// no directory.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/fileops/PanelStepsTest.h"

namespace {

using qvhost::ScreenModel;

class InfoAndLinksTest : public qvtest::PanelStepsTest {
protected:
    // T:\work on the left, U: (the folder "right") on the right.
    void StartPair() {
        MakeFolder("right");
        MapDrive('U', "right");
        Launch(Options({Ini("StickyAlt=off\r\n"), "-l", "T:\\work", "-r", "U:\\"}));
        ASSERT_TRUE(host->Started());
        ASSERT_TRUE(KeyBarShown()) << host->ScreenText();
    }

    // Wine makes its own kind of link; what these tests read back is the
    // Linux layer's POSIX link.
    static bool SkipOnWine() { return qvtest::OnWindowsLeg(); }

    void Command(int code) { host->SendKey(code, code < 32 ? code : 0, 0); }

    std::string LinkText(const std::string& name) const {
        char target[512] = {0};
        ssize_t n = readlink(PathOf(name).c_str(), target, sizeof target - 1);
        return n < 0 ? std::string() : std::string(target, static_cast<size_t>(n));
    }

    bool SameFile(const std::string& a, const std::string& b) const {
        struct stat sa;
        struct stat sb;
        return stat(PathOf(a).c_str(), &sa) == 0 && stat(PathOf(b).c_str(), &sb) == 0 && sa.st_ino == sb.st_ino &&
               sa.st_dev == sb.st_dev;
    }

    // Characters (not bytes) before a byte offset of a screen row.
    static int Column(const std::string& row, size_t offset) {
        int column = 0;
        for (size_t i = 0; i < offset && i < row.size(); i++) {
            if ((static_cast<unsigned char>(row[i]) & 0xC0) != 0x80) {
                column++;
            }
        }
        return column;
    }
};

TEST_F(InfoAndLinksTest, CtrlIShowsTheRowsWithinTheScreen) {
    Write("work/info.txt", std::string(1234, 'i'));
    std::string longName = "n" + std::string(120, 'x') + ".txt";
    Write("work/" + longName, "x");
    Start("StickyAlt=off\r\n");
    GoTo("info.txt");
    Command(KEY_CTRL_I);
    ASSERT_TRUE(Shows(" File Information ")) << host->ScreenText();
    EXPECT_TRUE(Shows("T:\\work\\info.txt")) << host->ScreenText();
    EXPECT_TRUE(Shows("1,234")) << host->ScreenText();
    EXPECT_TRUE(Shows("Size")) << host->ScreenText();
    host->PressKey("Enter");
    Settle(" File Information ");

    // The long name sorts right after info.txt.
    host->SendKey(KEY_DOWN);
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return LeftCursorName(s).rfind("nxx", 0) == 0; }))
        << host->ScreenText();
    Command(KEY_CTRL_I);
    ASSERT_TRUE(Shows(" File Information ")) << host->ScreenText();
    ScreenModel screen = host->Snapshot();
    int row = RowOf(screen, " File Information ");
    ASSERT_GE(row, 0);
    std::string text = screen.RowText(row);
    size_t left = text.find("\u2554");
    size_t right = text.find("\u2557", left);
    ASSERT_NE(std::string::npos, left) << text;
    ASSERT_NE(std::string::npos, right) << text;
    EXPECT_EQ(77, Column(text, right) - Column(text, left) + 1) << text;
    EXPECT_TRUE(Shows("...")) << host->ScreenText();
    host->PressKey("Esc");
    Settle(" File Information ");
}

TEST_F(InfoAndLinksTest, OneLinkToTheCursorFileInTheOtherPanel) {
    if (SkipOnWine()) {
        GTEST_SKIP() << "wine 8's CreateSymbolicLinkW answers success and makes no link";
    }
    Write("work/a.txt", "a");
    StartPair();
    GoTo("a.txt");
    host->SendKey(KEY_CTRL_SHIFT_F5);
    ASSERT_TRUE(Shows("Make symbolic link to \"a.txt\" as")) << host->ScreenText();
    EXPECT_TRUE(Shows("U:\\a.txt")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Eventually([&] { return SameFile("right/a.txt", "work/a.txt"); })) << host->ScreenText();
    Settle("Make symbolic link");
    EXPECT_EQ(PathOf("work/a.txt"), LinkText("right/a.txt"));
}

TEST_F(InfoAndLinksTest, TaggedEntriesGetRelativeLinksAndLoseTheirTags) {
    if (SkipOnWine()) {
        GTEST_SKIP() << "wine 8's CreateSymbolicLinkW answers success and makes no link";
    }
    Write("work/a.txt", "a");
    Write("work/b.txt", "b");
    MakeFolder("work/dir");
    Write("work/dir/in.txt", "in");
    MakeFolder("links");
    StartPair();
    Tag("a.txt");
    Tag("b.txt");
    Tag("dir");
    host->SendKey(KEY_CTRL_SHIFT_F5);
    ASSERT_TRUE(Shows("Make symbolic links to 3 files in")) << host->ScreenText();
    // A field naming no directory keeps the dialog.
    host->SendText("T:\\nowhere");
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("Destination must be a valid directory")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("Destination must be a valid directory")) << host->ScreenText();
    ASSERT_TRUE(Shows("Make symbolic links to 3 files in")) << host->ScreenText();
    // The links go beside the files, on the same drive, relative.
    for (int i = 0; i < 10; i++) {
        host->PressKey("Backspace");
    }
    host->SendText("T:\\links\\");
    host->SendKey(KeyAltLetter('r'), 'r', ShiftAlt);
    ASSERT_TRUE(Shows("[X]  Relative Link")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Eventually([&] { return SameFile("links/b.txt", "work/b.txt"); })) << host->ScreenText();
    Settle("Make symbolic link");
    EXPECT_EQ("../work/a.txt", LinkText("links/a.txt"));
    EXPECT_EQ("../work/b.txt", LinkText("links/b.txt"));
    EXPECT_EQ("../work/dir", LinkText("links/dir"));
    EXPECT_EQ("in", Read("links/dir/in.txt"));
    for (const char* name : {"a.txt", "b.txt", "dir"}) {
        EXPECT_TRUE(host->WaitFor([&](const ScreenModel& s) { return !LeftTagged(s, name); })) << name;
    }
}

}  // namespace
