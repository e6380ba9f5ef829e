#include <gtest/gtest.h>

#include "app/panels/PanelSort.h"
#include "base/strings/Str32.h"
#include "tests/app/panels/PanelTestSupport.h"
#include "tests/support/TempDir.h"

using namespace paneltest;
using qvtest::TempDir;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

Westring ToWestring(const qvtest::WString& text)
{
    return Westring(reinterpret_cast<const WCHAR*>(text.c_str()));
}

void MakeFolder(const qvtest::WString& path, bool hidden = false)
{
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    if (hidden)
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
}

void MakeFile(const qvtest::WString& path, size_t size, bool hidden = false)
{
    ASSERT_TRUE(WriteFileBytes(path, std::string(size, 'x')));
    if (hidden)
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

int IndexOf(const CPanel& panel, const char* name)
{
    Westring wanted(name);
    for (int i = 0; i < panel.entryCount; i++)
        if (Str32Compare(panel.entries[i]->name, wanted.Data()) == 0)
            return i;
    return -1;
}

// A folder with a subfolder, a hidden subfolder, three files and a hidden
// file, and a panel switched on over it.
class PanelRead : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = Config;
        Config.Hidden = 0;
        Config.NaturalSort = 0;
        Config.CaseFilter = Westring("CDFS NETWARE");
        MakeFolder(dir.Join(W("sub")));
        MakeFolder(dir.Join(W(".cache")), true);
        MakeFile(dir.Join(W("b.txt")), 10);
        MakeFile(dir.Join(W("c.txt")), 20);
        MakeFile(dir.Join(W("a.dat")), 300);
        MakeFile(dir.Join(W(".secret")), 4000, true);
        panel.isOn = 1;
        panel.filter = Westring("*");
        panel.linesInView = 20;
        ASSERT_TRUE(SetPanelPath(&panel, ToWestring(dir.Path())));
    }
    void TearDown() override { Config = saved; }

    // A read of a new directory, as the directory change makes it.
    void ReadAsNewDirectory()
    {
        panel.shownPath[0] = 0;
        ReadPanelDirectory(&panel);
        CopyPanelText(panel.shownPath, Westring(panel.path));
    }

    TCONFIG saved;
    TempDir dir;
    CPanel panel;
};

TEST_F(PanelRead, ListsParentFirstThenDirectoriesThenFilesWithoutHiddenOnes)
{
    ReadAsNewDirectory();
    EXPECT_EQ(Names(panel), ".. sub a.dat b.txt c.txt");
    EXPECT_EQ(panel.entries[0]->sortClass, SORTCLASS_PARENT);
    EXPECT_EQ(panel.driveError, 0);
    // Hidden subdirectories still reach the subdirectory names.
    EXPECT_EQ(panel.subdirectoryNames.Count(), 2);
    EXPECT_EQ(panel.cursorRow + panel.topIndex, 0);
    EXPECT_EQ(panel.needsReread, 0);
    EXPECT_EQ(panel.readDone, 1);
}

TEST_F(PanelRead, HiddenSettingShowsHiddenEntriesInTheirOwnClass)
{
    Config.Hidden = 1;
    ReadAsNewDirectory();
    EXPECT_EQ(Names(panel), ".. .cache sub .secret a.dat b.txt c.txt");
    EXPECT_EQ(panel.entries[IndexOf(panel, ".secret")]->sortClass, SORTCLASS_HIDDEN);
    EXPECT_EQ(panel.entries[IndexOf(panel, ".cache")]->sortClass, SORTCLASS_DIRECTORY);
}

TEST_F(PanelRead, FilterHidesFilesButNeverDirectoriesAndABadMaskHidesNothing)
{
    panel.filter = Westring("*.txt");
    ReadAsNewDirectory();
    EXPECT_EQ(Names(panel), ".. sub b.txt c.txt");
    panel.filter = Westring("(*.txt");
    ReadPanelDirectory(&panel);
    EXPECT_EQ(Names(panel), ".. sub a.dat b.txt c.txt");
}

TEST_F(PanelRead, ReReadKeepsTagsByNameAndTheCursorOnItsEntry)
{
    ReadAsNewDirectory();
    entry* tagged = panel.entries[IndexOf(panel, "b.txt")];
    tagged->tagged = 1;
    panel.taggedCount = 1;
    panel.taggedBytes = 10;
    panel.entries[IndexOf(panel, "a.dat")]->processed = 1;
    panel.cursorRow = IndexOf(panel, "c.txt");
    // A new name sorts in before the cursor entry, so its index moves.
    MakeFile(dir.Join(W("B0.txt")), 7);
    ReadPanelDirectory(&panel);
    EXPECT_EQ(Names(panel), ".. sub a.dat b.txt B0.txt c.txt");
    EXPECT_EQ(panel.taggedCount, 1);
    EXPECT_EQ(panel.taggedBytes, 10);
    EXPECT_EQ(panel.entries[IndexOf(panel, "b.txt")]->tagged, 1);
    EXPECT_EQ(panel.entries[IndexOf(panel, "B0.txt")]->tagged, 0);
    EXPECT_EQ(panel.entries[IndexOf(panel, "a.dat")]->processed, 1);
    ASSERT_NE(panel.CursorEntry(), nullptr);
    EXPECT_EQ(Utf8(panel.CursorEntry()->name), "c.txt");

    // Another directory starts without tags, the cursor at the top.
    ASSERT_TRUE(SetPanelPath(&panel, ToWestring(dir.Join(W("sub")))));
    ReadAsNewDirectory();
    EXPECT_EQ(Names(panel), "..");
    EXPECT_EQ(panel.taggedCount, 0);
    EXPECT_EQ(panel.cursorRow + panel.topIndex, 0);
}

TEST_F(PanelRead, ReReadOfAVanishedTaggedEntryDropsItsTag)
{
    ReadAsNewDirectory();
    panel.entries[IndexOf(panel, "c.txt")]->tagged = 1;
    panel.taggedCount = 1;
    panel.taggedBytes = 20;
    ASSERT_TRUE(DeleteFileW(dir.Join(W("c.txt")).c_str()));
    ReadPanelDirectory(&panel);
    EXPECT_EQ(Names(panel), ".. sub a.dat b.txt");
    EXPECT_EQ(panel.taggedCount, 0);
    EXPECT_EQ(panel.taggedBytes, 0);
}

TEST_F(PanelRead, ARootHasNoParentEntry)
{
    ASSERT_TRUE(SetPanelPath(&panel, Westring("S:\\")));
    ReadAsNewDirectory();
    EXPECT_EQ(IndexOf(panel, ".."), -1) << Names(panel);
    EXPECT_EQ(panel.driveError, 0);
}

TEST_F(PanelRead, APanelThatIsOffOrShowsInfoIsOnlyMarked)
{
    panel.isOn = 0;
    ReadPanelDirectory(&panel);
    EXPECT_EQ(panel.needsReread, 1);
    EXPECT_EQ(panel.entryCount, 0);
    panel.isOn = 1;
    panel.panelType = PANEL_INFO;
    panel.needsReread = 0;
    ReadPanelDirectory(&panel);
    EXPECT_EQ(panel.needsReread, 1);
    EXPECT_EQ(panel.entryCount, 0);
}

TEST_F(PanelRead, VolumeFieldsComeFromTheDrive)
{
    ReadAsNewDirectory();
    EXPECT_NE(panel.volumeSerial, 0u);
    EXPECT_NE(panel.fileSystemName[0], 0u);
}

TEST_F(PanelRead, NamesOnACaseFilteredFileSystemAreFolded)
{
    ReadAsNewDirectory();
    Westring fileSystem(panel.fileSystemName);
    ASSERT_FALSE(fileSystem.IsEmpty());
    Config.CaseFilter = Westring("cdfs ") + fileSystem.ToLower();
    MakeFolder(dir.Join(W("MixedDir")));
    MakeFile(dir.Join(W("MixedFile.TXT")), 1);
    ReadPanelDirectory(&panel);
    EXPECT_GE(IndexOf(panel, "MIXEDDIR"), 0) << Names(panel);
    EXPECT_GE(IndexOf(panel, "mixedfile.txt"), 0) << Names(panel);
}

TEST(PanelPath, APathThatDoesNotFitIsRefusedAndTheOldOneKept)
{
    CPanel panel;
    ASSERT_TRUE(CopyPanelText(panel.path, Westring("C:\\old")));
    Westring tooLong = Westring("C:\\") + RepeatChar32('d', CPanel::PathUnits);
    EXPECT_FALSE(CopyPanelText(panel.path, tooLong));
    EXPECT_EQ(Utf8(panel.path), "C:\\old");
    Westring fits = Westring("C:\\") + RepeatChar32('d', CPanel::PathUnits - 4);
    EXPECT_TRUE(CopyPanelText(panel.path, fits));
    EXPECT_EQ(Str32Length(panel.path), CPanel::PathUnits - 1);
}

TEST(PanelEntries, TheArrayDoublesAsItFills)
{
    CPanel panel;
    EXPECT_EQ(panel.entryCapacity, 4096);
    std::vector<TEntrySpec> many(5000, TEntrySpec{"f", 0, 1, 0});
    Fill(panel, many);
    EXPECT_EQ(panel.entryCount, 5000);
    EXPECT_EQ(panel.entryCapacity, 8192);
}

}  // namespace
