// F7, F8 and Shift+F8 through the real program: a new directory and the
// cursor on it, names that exist already, the delete questions of files,
// tagged sets and non-empty directories, and a typed name.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/fileops/PanelStepsTest.h"

namespace {

using qvhost::ScreenModel;

class DeleteMakeDirectoryTest : public qvtest::PanelStepsTest {
protected:
    bool IsDirectory(const std::string& name) const {
        struct stat st;
        return stat(PathOf(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
};

TEST_F(DeleteMakeDirectoryTest, F7MakesTheDirectoryAndRefusesNamesThatExist) {
    Write("work/afile.txt", "x");
    MakeFolder("work/adir");
    Start();
    host->SendKey(KEY_F7);
    ASSERT_TRUE(Shows("Create the directory")) << host->ScreenText();
    host->SendText("new");
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Eventually([&] { return IsDirectory("work/new"); })) << host->ScreenText();
    EXPECT_TRUE(host->WaitFor([](const ScreenModel& s) { return LeftCursorName(s) == "new"; })) << host->ScreenText();

    struct Case {
        const char* name;
        const char* message;
    } cases[] = {{"adir", "Directory already exists"}, {"afile.txt", "File already exists named"}};
    for (const Case& c : cases) {
        host->SendKey(KEY_F7);
        ASSERT_TRUE(Shows("Create the directory")) << host->ScreenText();
        host->SendText(c.name);
        host->SendKey(KEY_ENTER);
        ASSERT_TRUE(Shows(c.message)) << c.name << "\n" << host->ScreenText();
        EXPECT_TRUE(Shows("T:\\work\\" + std::string(c.name))) << host->ScreenText();
        host->SendKey(KEY_ENTER);
        Settle(c.message);
    }
    EXPECT_TRUE(IsDirectory("work/adir"));
    EXPECT_EQ("x", Read("work/afile.txt"));
}

TEST_F(DeleteMakeDirectoryTest, F7UpperCasesNamesOnCaseFilterFileSystems) {
    // Every name the layers give a file system: the test's folder is on one.
    Start(
        "CaseFilter=ext4 tmpfs btrfs xfs overlay zfs f2fs nfs cifs fuse FAT exFAT NTFS udf v9fs ramfs bcachefs "
        "unknown\r\n");
    host->SendKey(KEY_F7);
    ASSERT_TRUE(Shows("Create the directory")) << host->ScreenText();
    host->SendText("Low");
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Eventually([&] { return IsDirectory("work/LOW"); })) << host->ScreenText();
    EXPECT_FALSE(Exists("work/Low"));
}

TEST_F(DeleteMakeDirectoryTest, F8DeletesAFileWithItsDescription) {
    Write("work/gone.txt", "x");
    Write("work/keep.txt", "y");
    Write("work/descript.ion", "gone.txt its line\r\nkeep.txt stays\r\n");
    Start();
    GoTo("gone.txt");
    host->SendKey(KEY_F8);
    ASSERT_TRUE(Shows("Do you wish to delete")) << host->ScreenText();
    EXPECT_TRUE(Shows("gone.txt")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Eventually([&] { return !Exists("work/gone.txt"); })) << host->ScreenText();
    Settle("Do you wish to delete");
    EXPECT_EQ("y", Read("work/keep.txt"));
    EXPECT_EQ("keep.txt stays\r\n", Read("work/descript.ion"));
}

TEST_F(DeleteMakeDirectoryTest, ANonEmptyDirectoryGoesOnlyAfterYes) {
    MakeFolder("work/tree");
    MakeFolder("work/tree/sub");
    Write("work/tree/sub/f.txt", "x");
    Write("work/tree/g.txt", "y");
    Start();
    for (const char* typed : {"no", "yes"}) {
        GoTo("tree");
        host->SendKey(KEY_F8);
        Press("Do you wish to delete", KEY_ENTER);
        ASSERT_TRUE(Shows("Delete tree?")) << host->ScreenText();
        EXPECT_TRUE(Shows("Type \"YES\"")) << host->ScreenText();
        host->SendText(typed);
        host->SendKey(KEY_ENTER);
        Settle("Delete tree?");
        if (std::string(typed) == "no") {
            EXPECT_EQ("x", Read("work/tree/sub/f.txt"));
            EXPECT_EQ("y", Read("work/tree/g.txt"));
        }
    }
    EXPECT_TRUE(Eventually([&] { return !Exists("work/tree"); })) << host->ScreenText();
}

// A tree holding links to a folder outside it, at its top and deeper down:
// the links go with the tree, the folder they lead to and its files stay (a
// tree walk never follows a link).
TEST_F(DeleteMakeDirectoryTest, DeletingATreeTakesItsLinksAndNeverWhatTheyLeadTo) {
    if (qvtest::OnWindowsLeg()) {
        GTEST_SKIP() << "wine 8 makes no symbolic link (CreateSymbolicLinkW answers success and makes none) and "
                        "does not show a Linux link to a directory as a link";
    }
    MakeFolder("work/outside");
    MakeFolder("work/outside/inner");
    Write("work/outside/keep.txt", "keep");
    Write("work/outside/inner/deep.txt", "deep");
    MakeFolder("work/tree");
    MakeFolder("work/tree/sub");
    Write("work/tree/sub/f.txt", "x");
    ASSERT_EQ(0, symlink(PathOf("work/outside").c_str(), PathOf("work/tree/top").c_str()));
    ASSERT_EQ(0, symlink("../../outside", PathOf("work/tree/sub/down").c_str()));
    Start();
    GoTo("tree");
    host->SendKey(KEY_F8);
    Press("Do you wish to delete", KEY_ENTER);
    ASSERT_TRUE(Shows("Delete tree?")) << host->ScreenText();
    host->SendText("yes");
    host->SendKey(KEY_ENTER);
    ASSERT_TRUE(Eventually([&] { return !Exists("work/tree"); })) << host->ScreenText();
    Settle("Delete tree?");
    struct stat st;
    EXPECT_NE(0, lstat(PathOf("work/tree").c_str(), &st));
    EXPECT_EQ("keep", Read("work/outside/keep.txt"));
    EXPECT_EQ("deep", Read("work/outside/inner/deep.txt"));
}

TEST_F(DeleteMakeDirectoryTest, TaggedFilesAskTwiceAndAllPassesEveryReadOnlyFile) {
    for (const char* name : {"ra.txt", "rb.txt", "rc.txt", "stay.txt"}) {
        Write(std::string("work/") + name, name);
    }
    chmod(PathOf("work/ra.txt").c_str(), 0444);
    chmod(PathOf("work/rb.txt").c_str(), 0444);
    Start();
    for (const char* name : {"ra.txt", "rb.txt", "rc.txt"}) {
        Tag(name);
    }
    host->SendKey(KEY_F8);
    ASSERT_TRUE(Shows("You have selected 3 files")) << host->ScreenText();
    EXPECT_TRUE(Shows("Delete?")) << host->ScreenText();
    host->SendKey(KEY_ENTER);
    Press("You are deleting 3 selected files from", KEY_ENTER);
    Press("File is Read Only, Delete anyway?", 'a', 'a');
    ASSERT_TRUE(Eventually([&] { return !Exists("work/ra.txt") && !Exists("work/rb.txt") && !Exists("work/rc.txt"); }))
        << host->ScreenText();
    Settle("Read Only");
    EXPECT_EQ("stay.txt", Read("work/stay.txt"));
}

TEST_F(DeleteMakeDirectoryTest, ShiftF8DeletesTheTypedName) {
    Write("work/cur.txt", "c");
    Write("work/other.txt", "o");
    Start();
    GoTo("cur.txt");
    host->SendKey(KEY_SHIFT_F8);
    ASSERT_TRUE(Shows("Delete the file:")) << host->ScreenText();
    EXPECT_TRUE(Shows("cur.txt")) << host->ScreenText();
    // A name that is not there: the message, then the dialog again.
    host->SendText("missing.txt");
    host->SendKey(KEY_ENTER);
    Press("File not found", KEY_ENTER);
    ASSERT_TRUE(Shows("Delete the file:")) << host->ScreenText();
    ASSERT_TRUE(Gone("File not found")) << host->ScreenText();
    // A drive's root is never offered for deletion.
    host->SendText("T:\\");
    host->SendKey(KEY_ENTER);
    Press("Invalid Path", KEY_ENTER);
    ASSERT_TRUE(Gone("Invalid Path")) << host->ScreenText();
    ASSERT_TRUE(Shows("Delete the file:")) << host->ScreenText();
    host->SendText("T:\\work\\other.txt");
    host->SendKey(KEY_ENTER);
    Press("Do you wish to delete", KEY_ENTER);
    ASSERT_TRUE(Eventually([&] { return !Exists("work/other.txt"); })) << host->ScreenText();
    Settle("Do you wish to delete");
    EXPECT_EQ("c", Read("work/cur.txt"));
}

}  // namespace
