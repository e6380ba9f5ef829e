#include <gtest/gtest.h>

#include "app/panels/DirectoryPrefetch.h"
#include "app/panels/DirectorySource.h"
#include "base/io/DirScanner.h"
#include "app/panels/PanelSort.h"
#include "ui/ConsoleControl.h"
#include "base/strings/Str32.h"
#include "tests/app/panels/PanelTestSupport.h"
#include "tests/support/TempDir.h"

using namespace paneltest;
using qvtest::TempDir;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

Westring ToWestring(const qvtest::WString& text) {
    return Westring(reinterpret_cast<const WCHAR*>(text.c_str()));
}

void MakeFolder(const qvtest::WString& path, bool hidden = false) {
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    if (hidden)
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
}

void MakeFile(const qvtest::WString& path, size_t size, bool hidden = false) {
    ASSERT_TRUE(WriteFileBytes(path, std::string(size, 'x')));
    if (hidden)
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

int IndexOf(const CPanel& panel, const char* name) {
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
    void SetUp() override {
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
    void ReadAsNewDirectory() {
        panel.shownPath[0] = 0;
        ReadPanelDirectory(&panel);
        CopyPanelText(panel.shownPath, Westring(panel.path));
    }

    TCONFIG saved;
    TempDir dir;
    CPanel panel;
};

TEST_F(PanelRead, ListsParentFirstThenDirectoriesThenFilesWithoutHiddenOnes) {
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

TEST_F(PanelRead, HiddenSettingShowsHiddenEntriesInTheirOwnClass) {
    Config.Hidden = 1;
    ReadAsNewDirectory();
    EXPECT_EQ(Names(panel), ".. .cache sub .secret a.dat b.txt c.txt");
    EXPECT_EQ(panel.entries[IndexOf(panel, ".secret")]->sortClass, SORTCLASS_HIDDEN);
    EXPECT_EQ(panel.entries[IndexOf(panel, ".cache")]->sortClass, SORTCLASS_DIRECTORY);
}

TEST_F(PanelRead, FilterHidesFilesButNeverDirectoriesAndABadMaskHidesNothing) {
    panel.filter = Westring("*.txt");
    ReadAsNewDirectory();
    EXPECT_EQ(Names(panel), ".. sub b.txt c.txt");
    panel.filter = Westring("(*.txt");
    ReadPanelDirectory(&panel);
    EXPECT_EQ(Names(panel), ".. sub a.dat b.txt c.txt");
}

TEST_F(PanelRead, ReReadKeepsTagsByNameAndTheCursorOnItsEntry) {
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

TEST_F(PanelRead, ReReadOfAVanishedTaggedEntryDropsItsTag) {
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

TEST_F(PanelRead, ARootHasNoParentEntry) {
    ASSERT_TRUE(SetPanelPath(&panel, Westring("S:\\")));
    ReadAsNewDirectory();
    EXPECT_EQ(IndexOf(panel, ".."), -1) << Names(panel);
    EXPECT_EQ(panel.driveError, 0);
}

TEST_F(PanelRead, APanelThatIsOffOrShowsInfoIsOnlyMarked) {
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

TEST_F(PanelRead, VolumeFieldsComeFromTheDrive) {
    ReadAsNewDirectory();
    EXPECT_NE(panel.volumeSerial, 0u);
    EXPECT_NE(panel.fileSystemName[0], 0u);
}

TEST_F(PanelRead, NamesOnACaseFilteredFileSystemAreFolded) {
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

// A source added at start-up serves the directories it knows; the panel
// applies its own rules to what it delivers (hidden entries, the mask, the
// ".." it adds), and every other directory still comes from the disk.
class CListSource : public IDirectorySource {
public:
    DWORD First(entry** item) override {
        next = 0;
        return Next(item);
    }
    DWORD Next(entry** item) override {
        static const TEntrySpec listed[] = {{"found.txt", 0, 7, 10},
                                            {"gone.log", 0, 1, 20},
                                            {".hidden", FILE_ATTRIBUTE_HIDDEN, 2, 30},
                                            {"Folder", FILE_ATTRIBUTE_DIRECTORY, 0, 40}};
        if (next >= 4)
            return ERROR_NO_MORE_FILES;
        *item = Make(listed[next++]);
        (*item)->sortClass = 0;  // the panel decides
        return 0;
    }

private:
    int next = 0;
};

IDirectorySource* OpenListSource(CPanel* panel, DWORD& error) {
    error = 0;
    if (Str32Compare(panel->path, U"\\\\found\\results") == 0)
        return new CListSource;
    if (Str32Compare(panel->path, U"\\\\found\\broken") == 0)
        error = ERROR_ACCESS_DENIED;
    return nullptr;
}

TEST_F(PanelRead, AnAddedSourceServesItsDirectoriesUnderThePanelRules) {
    AddDirectorySource(OpenListSource);
    CPanel listed;
    listed.isOn = 1;
    listed.filter = Westring("*.txt");
    ASSERT_TRUE(SetPanelPath(&listed, Westring(U"\\\\found\\results")));
    ReadPanelDirectory(&listed);
    EXPECT_EQ(Names(listed), ".. Folder found.txt");
    EXPECT_EQ(listed.subdirectoryNames.Count(), 1);

    DWORD error = 0;
    ASSERT_TRUE(SetPanelPath(&listed, Westring(U"\\\\found\\broken")));
    EXPECT_EQ(OpenDirectorySource(&listed, error), nullptr);
    EXPECT_EQ(error, DWORD(ERROR_ACCESS_DENIED));

    ReadAsNewDirectory();
    EXPECT_EQ(Names(panel), ".. sub a.dat b.txt c.txt");
}

// At start-up the second panel on the same directory takes the first one's
// listing: the same entries, in its own sort order, with ties (names that
// differ only in case) in the order a read of its own would give them.
TEST_F(PanelRead, TheSecondStartupPanelOnTheSameDirectoryTakesTheListing) {
    MakeFile(dir.Join(W("B.TXT")), 1);
    CPanel other;
    other.isOn = 1;
    other.filter = Westring("*");
    other.sortMode = SORT_SIZE;
    ASSERT_TRUE(SetPanelPath(&other, Westring(panel.path)));
    CPanel alone;
    alone.isOn = 1;
    alone.filter = Westring("*");
    alone.sortMode = SORT_SIZE;
    ASSERT_TRUE(SetPanelPath(&alone, Westring(panel.path)));
    ReadPanelDirectory(&alone);

    BeginStartupReads();
    ReadPanelDirectory(&panel);
    // Taken, not read: a file made now does not show in the second panel.
    MakeFile(dir.Join(W("late.txt")), 5);
    ReadPanelDirectory(&other);
    // A panel with the first one's sort mode takes the sorted listing as it is.
    CPanel same;
    same.isOn = 1;
    same.filter = Westring("*");
    same.sortMode = panel.sortMode;
    ASSERT_TRUE(SetPanelPath(&same, Westring(panel.path)));
    ReadPanelDirectory(&same);
    EndStartupReads();
    EXPECT_EQ(Names(other), Names(alone));
    EXPECT_EQ(other.subdirectoryNames.Count(), panel.subdirectoryNames.Count());
    EXPECT_EQ(Names(same), Names(panel));
    EXPECT_EQ(IndexOf(same, "late.txt"), -1);
    // A Windows file system keeps one of two names that differ only in case.
    const bool bothSpellings = Names(alone).find("B.TXT") != std::string::npos;
    EXPECT_EQ(Names(panel), bothSpellings ? ".. sub a.dat b.txt B.TXT c.txt" : ".. sub a.dat b.txt c.txt");

    // Outside the start-up every read is its own.
    ReadPanelDirectory(&other);
    EXPECT_GE(IndexOf(other, "late.txt"), 0);
    // A different filter reads for itself.
    BeginStartupReads();
    ReadPanelDirectory(&panel);
    alone.filter = Westring("*.dat");
    ReadPanelDirectory(&alone);
    EndStartupReads();
    EXPECT_EQ(Names(alone), ".. sub a.dat");
}

// A listing during which the user presses Ctrl-C: the handler's request
// arrives after the second entry.
class CInterruptedSource : public CListSource {
public:
    DWORD Next(entry** item) override {
        if (++delivered == 3)
            ConsoleCtrlHandler(CTRL_C_EVENT);
        return CListSource::Next(item);
    }

private:
    int delivered = 0;
};

IDirectorySource* OpenInterruptedSource(CPanel* panel, DWORD& error) {
    error = 0;
    return Str32Compare(panel->path, U"\\\\found\\slow") == 0 ? new CInterruptedSource : nullptr;
}

// Ctrl-C during a start-up read stops it and the reads after it; each panel
// keeps what it has.
TEST_F(PanelRead, AnAbortedStartupReadStopsTheReadsAfterIt) {
    AddDirectorySource(OpenInterruptedSource);
    CPanel slow;
    slow.isOn = 1;
    slow.filter = Westring("*");
    ASSERT_TRUE(SetPanelPath(&slow, Westring(U"\\\\found\\slow")));
    BeginStartupReads();
    ReadPanelDirectory(&slow);
    ReadPanelDirectory(&panel);
    EndStartupReads();
    EXPECT_EQ(Names(slow), ".. found.txt gone.log");
    EXPECT_EQ(Names(panel), "..");
    EXPECT_EQ(UserAbortState, UserAbortIdle);
    ReadPanelDirectory(&panel);
    EXPECT_EQ(Names(panel), ".. sub a.dat b.txt c.txt");
}

TEST(PanelPath, APathThatDoesNotFitIsRefusedAndTheOldOneKept) {
    CPanel panel;
    ASSERT_TRUE(CopyPanelText(panel.path, Westring("C:\\old")));
    Westring tooLong = Westring("C:\\") + RepeatChar32('d', CPanel::PathUnits);
    EXPECT_FALSE(CopyPanelText(panel.path, tooLong));
    EXPECT_EQ(Utf8(panel.path), "C:\\old");
    Westring fits = Westring("C:\\") + RepeatChar32('d', CPanel::PathUnits - 4);
    EXPECT_TRUE(CopyPanelText(panel.path, fits));
    EXPECT_EQ(Str32Length(panel.path), CPanel::PathUnits - 1);
}

TEST(PanelEntries, TheArrayDoublesAsItFills) {
    CPanel panel;
    EXPECT_EQ(panel.entryCapacity, 4096);
    std::vector<TEntrySpec> many(5000, TEntrySpec{"f", 0, 1, 0});
    Fill(panel, many);
    EXPECT_EQ(panel.entryCount, 5000);
    EXPECT_EQ(panel.entryCapacity, 8192);
}

}  // namespace

// At start-up the second panel's directory, another than the first one's, is
// read ahead while the first is read: what it shows is what a read of its own
// gives, for any filter, and a listing nobody takes is simply dropped.
TEST_F(PanelRead, TheSecondStartupPanelOnAnotherDirectoryIsReadAheadWithTheSameResult) {
    TempDir other;
    // More than one batch of the reading thread, and names on both sides of
    // every filter below.
    for (int i = 0; i < 1500; i++) {
        std::string name = "f" + std::to_string(i) + (i % 3 ? ".txt" : ".log");
        MakeFile(other.Join(W(name.c_str())), size_t(i % 7));
    }
    MakeFolder(other.Join(W("inner")));
    MakeFile(other.Join(W(".hidden")), 1, true);
    for (const char* filter : {"*", "*.log", "f1*"}) {
        SCOPED_TRACE(filter);
        CPanel alone;
        alone.isOn = 1;
        alone.filter = Westring(filter);
        ASSERT_TRUE(SetPanelPath(&alone, ToWestring(other.Path())));
        ReadPanelDirectory(&alone);

        CPanel second;
        second.isOn = 1;
        second.filter = Westring(filter);
        ASSERT_TRUE(SetPanelPath(&second, ToWestring(other.Path())));
        BeginStartupReads(&panel, &second);
        ReadPanelDirectory(&panel);
        ReadPanelDirectory(&second);
        EndStartupReads();
        EXPECT_EQ(Names(second), Names(alone));
        EXPECT_EQ(second.entryCount, alone.entryCount);
        EXPECT_EQ(second.subdirectoryNames.Count(), alone.subdirectoryNames.Count());
    }
    EXPECT_EQ(Names(panel), ".. sub a.dat b.txt c.txt");

    // A missing directory gives the error the search itself gives.
    Westring gone = ToWestring(other.Join(W("gone")));
    CDirScanner scanner(gone);
    DWORD expected = scanner.FindFirst(Westring(U"*"), CDirScanner::ScanEverything | CDirScanner::ScanSeparateRecords);
    ASSERT_NE(expected, 0u);
    CPrefetchedListing missing(gone);
    entry* item = nullptr;
    EXPECT_EQ(missing.First(&item), expected);
    EXPECT_EQ(item, nullptr);

    // Read ahead and never taken (the second panel is not read): freed at the
    // end of the start-up, which the leak checker of the test build sees.
    CPanel untaken;
    untaken.isOn = 1;
    ASSERT_TRUE(SetPanelPath(&untaken, ToWestring(other.Path())));
    BeginStartupReads(&panel, &untaken);
    ReadPanelDirectory(&panel);
    EndStartupReads();
}
