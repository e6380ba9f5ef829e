// Ctrl+A, Ctrl+C and the Files menu's date command through the real program:
// attribute bits reaching the file system, case changes down a tree that
// holds a link back up, and last-write times from a typed date.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "tests/fileops/PanelStepsTest.h"

namespace {

using qvhost::ScreenModel;

class AttributesCaseDateTest : public qvtest::PanelStepsTest {
protected:
    void AltLetter(char letter) {
        host->SendKey(KeyAltLetter(letter), letter, ShiftAlt);
        host->WaitQuiet();
    }

    // A command key as the main loop reads it, without a modifier left
    // showing in the key bar.
    void Command(int code) { host->SendKey(code, code < 32 ? code : 0, 0); }

    mode_t Mode(const std::string& name) const {
        struct stat st;
        return lstat(PathOf(name).c_str(), &st) == 0 ? st.st_mode : 0;
    }

    time_t ModifyTime(const std::string& name) const {
        struct stat st;
        return stat(PathOf(name).c_str(), &st) == 0 ? st.st_mtime : 0;
    }

    // The bits the program keeps in the extended attribute; -1 without one.
    long KeptBits(const std::string& name) const {
        char buffer[32];
        ssize_t n = lgetxattr(PathOf(name).c_str(), "user.quorvane.attrib", buffer, sizeof buffer - 1);
        if (n <= 0) {
            return -1;
        }
        buffer[n] = 0;
        return strtol(buffer, nullptr, 10);
    }

    bool KeepsUserAttributes(const std::string& name) const {
        return lsetxattr(PathOf(name).c_str(), "user.qvprobe", "1", 1, 0) == 0;
    }

    void CompressionIsRefused(const std::string& name) {
        Command(KEY_CTRL_A);
        ASSERT_TRUE(Shows(" File  Attributes ")) << host->ScreenText();
        AltLetter('c');
        ASSERT_TRUE(Shows("[X]  Compressed")) << host->ScreenText();
        host->PressKey("Enter");
        ASSERT_TRUE(Shows(SystemMessage(1, "Incorrect function."))) << host->ScreenText();
        EXPECT_TRUE(Shows(name)) << host->ScreenText();
        host->PressKey("Enter");
        Settle("Incorrect function");
    }

    // The bits the Linux layer keeps, where the file system keeps user
    // extended attributes (wine keeps its own elsewhere).
    bool ChecksKeptBits(const std::string& name) const { return !qvtest::OnWindowsLeg() && KeepsUserAttributes(name); }

    void FilesMenu(char letter, const std::string& item) {
        host->PressKey("F9");
        ASSERT_TRUE(Shows("    Left    Files    Commands    Options    Right")) << host->ScreenText();
        host->SendText("f");
        ASSERT_TRUE(Shows(item)) << host->ScreenText();
        host->SendText(std::string(1, letter));
    }
};

TEST_F(AttributesCaseDateTest, CtrlAWritesReadOnlyAndHiddenAndReportsCompression) {
    Write("work/ro.txt", "x");
    chmod(PathOf("work/ro.txt").c_str(), 0444);
    Start("StickyAlt=off\r\n");
    GoTo("ro.txt");
    Command(KEY_CTRL_A);
    ASSERT_TRUE(Shows(" File  Attributes ")) << host->ScreenText();
    ASSERT_TRUE(Shows("[X]  Read Only")) << host->ScreenText();
    AltLetter('r');  // Read Only off
    host->PressKey("Enter");
    Settle(" File  Attributes ");
    ASSERT_TRUE(Eventually([&] { return (Mode("work/ro.txt") & S_IWUSR) != 0; })) << host->ScreenText();

    // Compression is a Windows file-system feature: the system's answer
    // shows. What wine's file systems answer is wine's own.
    if (!qvtest::OnWindowsLeg()) {
        CompressionIsRefused("ro.txt");
    }

    Command(KEY_CTRL_A);
    ASSERT_TRUE(Shows(" File  Attributes ")) << host->ScreenText();
    AltLetter('h');  // Hidden on
    ASSERT_TRUE(Shows("[X]  Hidden")) << host->ScreenText();
    host->PressKey("Enter");
    Settle(" File  Attributes ");
    if (ChecksKeptBits("work/ro.txt")) {
        EXPECT_TRUE(Eventually([&] { return (KeptBits("work/ro.txt") & 2) == 2; })) << KeptBits("work/ro.txt");
    }
}

TEST_F(AttributesCaseDateTest, TaggedAttributesLeaveMiddleBoxesAlone) {
    Write("work/one.txt", "1");
    Write("work/two.txt", "2");
    chmod(PathOf("work/two.txt").c_str(), 0444);
    Start("StickyAlt=off\r\n");
    Tag("one.txt");
    Tag("two.txt");
    Command(KEY_CTRL_A);
    ASSERT_TRUE(Shows(" File  Attributes ")) << host->ScreenText();
    // Archive set for both; Read Only stays in the middle: each keeps its own.
    AltLetter('a');
    ASSERT_TRUE(Shows("[X]  Archive")) << host->ScreenText();
    host->PressKey("Enter");
    Settle(" File  Attributes ");
    if (ChecksKeptBits("work/one.txt")) {
        EXPECT_TRUE(Eventually([&] { return (KeptBits("work/two.txt") & 0x20) == 0x20; })) << host->ScreenText();
        EXPECT_EQ(0x20, KeptBits("work/one.txt") & 0x20);
    }
    EXPECT_NE(0u, Mode("work/one.txt") & S_IWUSR);
    EXPECT_EQ(0u, Mode("work/two.txt") & S_IWUSR);
    chmod(PathOf("work/two.txt").c_str(), 0644);
}

TEST_F(AttributesCaseDateTest, CtrlCRenamesTaggedEntriesAndWalksTreesButNotLinks) {
    if (qvtest::OnWindowsLeg()) {
        GTEST_SKIP()
            << "wine's MoveFileW answers success to a rename that changes only the case, and leaves the name as it was";
    }
    Write("work/alpha.txt", "a");
    Write("work/beta.Txt", "b");
    MakeFolder("work/sub");
    MakeFolder("work/sub/deeper");
    Write("work/sub/inner.txt", "i");
    Write("work/sub/deeper/x.txt", "x");
    // Wine shows a POSIX link as what it points to, so only the Linux layer
    // can be asked not to walk through it.
    bool withLink = !qvtest::OnWindowsLeg();
    if (withLink) {
        ASSERT_EQ(0, symlink("..", PathOf("work/sub/up").c_str()));
    }
    Start("StickyAlt=off\r\n");
    Tag("alpha.txt");
    Tag("beta.Txt");
    Tag("sub");
    Command(KEY_CTRL_C);
    ASSERT_TRUE(Shows("Change case of")) << host->ScreenText();
    ASSERT_TRUE(Shows("3 files")) << host->ScreenText();
    AltLetter('u');  // name upper
    AltLetter('e');  // extension unchanged
    AltLetter('r');  // into directories
    host->PressKey("Enter");
    ASSERT_TRUE(Eventually([&] {
        return Exists("work/SUB/DEEPER/X.txt") && Exists("work/ALPHA.txt") && Exists("work/BETA.Txt");
    })) << host->ScreenText();
    Settle("Change case of");
    EXPECT_EQ("a", Read("work/ALPHA.txt"));
    EXPECT_EQ("b", Read("work/BETA.Txt"));
    EXPECT_EQ("i", Read("work/SUB/INNER.txt"));
    if (withLink) {
        // The link is renamed itself and still points where it did.
        char target[16] = {0};
        EXPECT_EQ(2, readlink(PathOf("work/SUB/UP").c_str(), target, sizeof target - 1));
        EXPECT_STREQ("..", target);
    }
    EXPECT_FALSE(Exists("work/alpha.txt"));
}

TEST_F(AttributesCaseDateTest, CtrlCWithChangeFilesOffRenamesOnlyDirectories) {
    if (qvtest::OnWindowsLeg()) {
        GTEST_SKIP()
            << "wine's MoveFileW answers success to a rename that changes only the case, and leaves the name as it was";
    }
    Write("work/gamma.txt", "g");
    MakeFolder("work/dir2");
    Write("work/dir2/in2.txt", "n");
    Start("StickyAlt=off\r\n");
    Tag("gamma.txt");
    Tag("dir2");
    Command(KEY_CTRL_C);
    ASSERT_TRUE(Shows("2 files")) << host->ScreenText();
    AltLetter('u');  // name upper
    AltLetter('r');  // into directories
    AltLetter('f');  // files off
    host->PressKey("Enter");
    // The panels are read again once every entry was done.
    ASSERT_TRUE(Shows("DIR2")) << host->ScreenText();
    Settle("Change case of");
    EXPECT_EQ("g", Read("work/gamma.txt"));
    EXPECT_EQ("n", Read("work/DIR2/in2.txt"));
}

TEST_F(AttributesCaseDateTest, CtrlCNeverRenamesOntoANameThatDiffersOnlyInCase) {
    if (qvtest::OnWindowsLeg()) {
        GTEST_SKIP() << "wine finds names without regard to case, so it cannot keep x.txt and X.TXT apart";
    }
    Write("work/x.txt", "lower");
    Write("work/X.TXT", "upper");
    Start("StickyAlt=off\r\n");
    // Both tagged from the top: the quick search cannot tell them apart.
    host->SendKey(KEY_HOME);
    host->SendKey(KEY_DOWN);
    host->SendKey(KEY_INSERT);
    host->SendKey(KEY_INSERT);
    ASSERT_TRUE(host->WaitFor([](const ScreenModel& s) { return LeftTagged(s, "x.txt") && LeftTagged(s, "X.TXT"); }))
        << host->ScreenText();
    Command(KEY_CTRL_C);
    ASSERT_TRUE(Shows("2 files")) << host->ScreenText();
    AltLetter('u');
    AltLetter('p');
    host->PressKey("Enter");
    // x.txt cannot become X.TXT: the system's answer, and Skip.
    ASSERT_TRUE(Shows("(183)")) << host->ScreenText();
    host->SendKey('s', 's', 0);
    Settle("(183)");
    EXPECT_EQ("lower", Read("work/x.txt"));
    EXPECT_EQ("upper", Read("work/X.TXT"));
}

TEST_F(AttributesCaseDateTest, DateTimeSetsEveryTaggedFileAndRefusesInvalidDates) {
    Write("work/da.txt", "1");
    Write("work/db.txt", "2");
    Write("work/dc.txt", "3");
    Start("StickyAlt=off\r\n");
    Tag("da.txt");
    Tag("db.txt");
    FilesMenu('t', "File Date/Time");
    ASSERT_TRUE(Shows("Change date of")) << host->ScreenText();
    ASSERT_TRUE(Shows("2 files")) << host->ScreenText();
    // Month, day, year in the US order; February 29 of 2023 does not exist.
    AltLetter('m');
    host->SendText("02");
    AltLetter('d');
    host->SendText("29");
    AltLetter('y');
    host->SendText("2023");
    AltLetter('h');
    host->SendText("10");
    AltLetter('i');
    host->SendText("30");
    AltLetter('s');
    host->SendText("15");
    AltLetter('p');
    host->PressKey("Enter");
    ASSERT_TRUE(Shows("Invalid date")) << host->ScreenText();
    host->PressKey("Enter");
    ASSERT_TRUE(Gone("Invalid date")) << host->ScreenText();
    ASSERT_TRUE(Shows("Change date of")) << host->ScreenText();
    AltLetter('d');
    host->PressKey("Backspace");
    host->SendText("8");
    host->PressKey("Enter");
    Settle("Change date of");
    struct tm when = {};
    when.tm_year = 2023 - 1900;
    when.tm_mon = 1;
    when.tm_mday = 28;
    when.tm_hour = 22;
    when.tm_min = 30;
    when.tm_sec = 15;
    time_t expected = timegm(&when);  // the program runs with TZ=UTC
    ASSERT_TRUE(Eventually([&] { return ModifyTime("work/db.txt") == expected; })) << host->ScreenText();
    EXPECT_EQ(expected, ModifyTime("work/da.txt"));
    EXPECT_NE(expected, ModifyTime("work/dc.txt"));
}

TEST_F(AttributesCaseDateTest, DateOfOneFileStartsFromItsTimeOnTheTwelveHourClock) {
    Write("work/one.txt", "1");
    struct tm when = {};
    when.tm_year = 2020 - 1900;
    when.tm_mon = 6;
    when.tm_mday = 4;
    when.tm_hour = 15;
    when.tm_min = 5;
    when.tm_sec = 9;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = timegm(&when);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ASSERT_EQ(0, utimensat(AT_FDCWD, PathOf("work/one.txt").c_str(), times, 0));
    Start("StickyAlt=off\r\n");
    GoTo("one.txt");
    FilesMenu('t', "File Date/Time");
    ASSERT_TRUE(Shows("Change date of")) << host->ScreenText();
    EXPECT_TRUE(Shows("one.txt")) << host->ScreenText();
    ASSERT_TRUE(Shows("2020")) << host->ScreenText();
    // 15:05 is 3 PM: the PM button is the one set.
    EXPECT_TRUE(Shows("(\u2022) PM")) << host->ScreenText();
    EXPECT_TRUE(Shows("( ) AM")) << host->ScreenText();
    // One minute later: the hour comes back from 3 PM as 15 and the seconds stay.
    AltLetter('i');
    host->SendText("6");
    host->PressKey("Enter");
    Settle("Change date of");
    time_t expected = times[1].tv_sec + 60;
    EXPECT_TRUE(Eventually([&] { return ModifyTime("work/one.txt") == expected; })) << ModifyTime("work/one.txt");
}

}  // namespace
