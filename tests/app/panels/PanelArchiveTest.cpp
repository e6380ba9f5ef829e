// The archive as a directory tree: sort order, listing, finding members,
// totals and the subtree scan, over a table a test reader fills.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/panels/PanelArchive.h"
#include "base/strings/Str32.h"
#include "tests/support/TempDir.h"
#include "ui/ConsoleControl.h"

namespace {

struct TMember {
    const char* directory;
    const char* name;
    uint64_t size;
    uint16_t attributes;
};

std::vector<TMember> Members;
bool AbortWhileReading = false;

DWORD ReadTestMembers(CArchive& archive) {
    for (const TMember& m : Members) {
        TArchiveEntry* item = NewArchiveEntry(&archive);
        item->directory = StoreArchiveName(&archive, m.directory);
        item->name = StoreArchiveName(&archive, m.name);
        item->unpackedSize = m.size;
        item->packedSize = m.size / 2;
        item->attributes = m.attributes;
        item->time = TTimestamp(1000 + uint32_t(m.size), 0);
        NormalizeArchiveEntryPath(&archive, item);
        archive.entries.Add(item);
    }
    if (AbortWhileReading)
        UserAbortState = UserAbortRequested;
    return 0;
}

const TArchiveHandler TestHandlers[1] = {{ReadTestMembers, 0}};

std::string U8(const char32_t* text) {
    Estring out;
    Westring(text).ToUtf8(out);
    return std::string(out.Data());
}

class PanelArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ArchiveHandlers = TestHandlers;
        ArchiveHandlerCount = 1;
        AbortWhileReading = false;
        path = dir.Join(qvtest::W("a.zip"));
        ASSERT_TRUE(qvtest::WriteFileBytes(path, "x"));
    }
    void TearDown() override {
        ArchiveHandlers = nullptr;
        ArchiveHandlerCount = 0;
        Members.clear();
    }
    CArchive* Open(std::vector<TMember> members) {
        Members = std::move(members);
        return new CArchive(Westring(path.c_str()), nullptr);
    }
    // "name" or "name/" for directories, as find-first/find-next give them.
    static std::vector<std::string> List(CArchive* archive, const char32_t* directory) {
        std::vector<std::string> names;
        entry* item = nullptr;
        for (DWORD r = ArchiveFindFirst(archive, Westring(directory), &item); r == 0;
             r = ArchiveFindNext(archive, &item)) {
            names.push_back(U8(item->name) + ((item->attributes & FILE_ATTRIBUTE_DIRECTORY) ? "/" : ""));
            entry::Free(item);
        }
        return names;
    }

    qvtest::TempDir dir;
    qvtest::WString path;
};

TEST_F(PanelArchiveTest, DirectoriesComeFromMemberPathsAndAreListedOnce) {
    CArchive* archive = Open({{"a", "x", 1, 0},
                              {"a b", "y", 2, 0},
                              {"", "a.txt", 3, 0},
                              {"a", "z", 4, 0},
                              {"a\\deep", "w", 5, 0},
                              {"x\\y", "z.txt", 6, 0},
                              {"dir", "", 0, 0x10}});
    ASSERT_EQ(0, archive->status);
    // The directory's own files come first, then its subdirectories in
    // table order; the panel sorts them.
    EXPECT_EQ((std::vector<std::string>{"../", "a.txt", "a/", "a b/", "dir/", "x/"}), List(archive, U""));
    EXPECT_EQ((std::vector<std::string>{"../", "x", "z", "deep/"}), List(archive, U"a"));
    // A directory known only from deeper paths can be entered, level by level.
    EXPECT_EQ((std::vector<std::string>{"../", "y/"}), List(archive, U"x"));
    EXPECT_EQ((std::vector<std::string>{"../", "z.txt"}), List(archive, U"x\\y"));
    // A directory member adds no file record of its own.
    EXPECT_EQ((std::vector<std::string>{"../"}), List(archive, U"dir"));
    // A directory that is not there is not found.
    EXPECT_NE(0u, ArchiveFindFirst(archive, Westring(U"nothing"), nullptr));
    EXPECT_NE(0u, ArchiveFindFirst(archive, Westring(U"a.t"), nullptr));
    delete archive;
}

TEST_F(PanelArchiveTest, EmptyArchiveListsOnlyTheParent) {
    CArchive* archive = Open({});
    ASSERT_EQ(0, archive->status);
    EXPECT_EQ((std::vector<std::string>{"../"}), List(archive, U""));
    delete archive;
}

TEST_F(PanelArchiveTest, SortPutsASubtreeRightAfterItsDirectory) {
    CArchive* archive = Open({{"a.b", "4", 0, 0},
                              {"a b", "3", 0, 0},
                              {"a\\b", "2", 0, 0},
                              {"a", "1", 0, 0},
                              {"a", "B", 0, 0},
                              {"a", "b", 0, 0}});
    std::vector<std::string> order;
    for (int i = 0; i < archive->entries.Count(); i++)
        order.push_back(U8(archive->entries.At(i)->directory) + "|" + U8(archive->entries.At(i)->name));
    EXPECT_EQ((std::vector<std::string>{"a|1", "a|B", "a|b", "a\\b|2", "a b|3", "a.b|4"}), order);
    delete archive;
}

TEST_F(PanelArchiveTest, FindEntryPrefersTheExactSpelling) {
    CArchive* archive = Open({{"d", "Read.me", 1, 0}, {"d", "read.me", 2, 0}, {"d", "x", 3, 0}});
    for (const char32_t* name : {U"Read.me", U"read.me"}) {
        TArchiveEntry* found = ArchiveFindEntry(archive, Westring(U"d"), Westring(name));
        ASSERT_NE(nullptr, found);
        EXPECT_EQ(0, Str32Compare(found->name, name));
    }
    EXPECT_NE(nullptr, ArchiveFindEntry(archive, Westring(U"d\\READ.ME")));
    EXPECT_EQ(nullptr, ArchiveFindEntry(archive, Westring(U"zz"), Westring(U"zz")));
    EXPECT_EQ(nullptr, ArchiveFindEntry(archive, Westring(U"d"), Westring(U"y")));
    delete archive;
}

TEST_F(PanelArchiveTest, DottedPathsListUnderTheirDirectory) {
    CArchive* archive = Open({{".\\docs", "a.txt", 1, 0}, {".", "top.txt", 2, 0}, {"docs", "b.txt", 3, 0}});
    EXPECT_EQ((std::vector<std::string>{"../", "top.txt", "docs/"}), List(archive, U""));
    entry* item = nullptr;
    ASSERT_EQ(0u, ArchiveFindFirst(archive, Westring(U"docs"), &item));
    entry::Free(item);
    ASSERT_EQ(0u, ArchiveFindNext(archive, &item));
    EXPECT_EQ("a.txt", U8(item->name));
    EXPECT_EQ(1, archive->findDotted);
    entry::Free(item);
    ASSERT_EQ(0u, ArchiveFindNext(archive, &item));
    EXPECT_EQ("b.txt", U8(item->name));
    EXPECT_EQ(0, archive->findDotted);
    entry::Free(item);
    delete archive;
}

TEST_F(PanelArchiveTest, RecordsCarryTheMemberAndTheOwnRecordIsBounded) {
    std::string longName(300, 'n');
    CArchive* archive = Open({{"", longName.c_str(), 7, 0x20}});
    entry* item = nullptr;
    ASSERT_EQ(0u, ArchiveFindFirst(archive, Westring(), &item));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, item->attributes);
    entry::Free(item);
    ASSERT_EQ(0u, ArchiveFindNext(archive, &item));
    EXPECT_EQ(longName, U8(item->name));
    EXPECT_EQ(7u, item->size);
    EXPECT_EQ(0x20, item->attributes);
    EXPECT_EQ(1007u, item->time.seconds);
    EXPECT_EQ(-1, item->matchOffset);
    entry::Free(item);

    // Into the archive's own record the name is cut to what it holds.
    archive->allocateRecords = 0;
    ASSERT_EQ(0u, ArchiveFindFirst(archive, Westring(), &item));
    EXPECT_EQ(archive->OwnRecord(), item);
    ASSERT_EQ(0u, ArchiveFindNext(archive, &item));
    EXPECT_EQ(ArchiveFindRecordNameUnits - 1, Str32Length(archive->FindRecordName()));
    EXPECT_NE(0u, ArchiveFindNext(archive, &item));
    delete archive;
}

TEST_F(PanelArchiveTest, TotalsLeaveDirectoriesOut) {
    CArchive* archive = Open({{"a", "x", 10, 0}, {"a", "", 99, 0x10}, {"", "y", 30, 0}});
    int64_t unpacked = 0;
    int64_t packed = 0;
    GetArchiveTotals(archive, unpacked, packed);
    EXPECT_EQ(40, unpacked);
    EXPECT_EQ(5 + 15, packed);
    EXPECT_EQ("ZIP", std::string(GetArchiveTypeName(archive).Data()));
    delete archive;
}

TEST_F(PanelArchiveTest, SubtreeScanCountsFilesAndFolders) {
    CArchive* archive = Open({{"a", "x", 10, 0}, {"a\\b", "y", 20, 0}, {"a\\b\\c", "z", 40, 0}, {"", "t", 1, 0}});
    ArchiveFindFirst(archive, Westring(), nullptr);
    TArchiveScanCounters counters = {};
    EXPECT_EQ(70, ScanArchiveSubtree(archive, Westring(U"a"), nullptr, nullptr, counters));
    EXPECT_EQ(3, counters.files);
    EXPECT_EQ(2, counters.directories);
    EXPECT_EQ(70, counters.bytes);
    EXPECT_EQ(1, archive->allocateRecords);
    EXPECT_TRUE(archive->currentDirectory.IsEmpty());
    delete archive;
}

TEST_F(PanelArchiveTest, CtrlCWhileReadingLeavesTheFileClosed) {
    AbortWhileReading = true;
    CArchive* archive = Open({{"", "x", 1, 0}});
    EXPECT_NE(0, archive->status);
    EXPECT_EQ(0, archive->entries.Count());
    EXPECT_EQ(UserAbortIdle, UserAbortState.load());
    delete archive;
}

TEST_F(PanelArchiveTest, NoReaderOrNoFileMeansNoArchive) {
    ArchiveHandlerCount = 0;
    CArchive* archive = Open({{"", "x", 1, 0}});
    EXPECT_NE(0, archive->status);
    EXPECT_NE(0u, ArchiveFindFirst(archive, Westring(), nullptr));
    delete archive;
    ArchiveHandlerCount = 1;
    archive = new CArchive(Westring(dir.Join(qvtest::W("missing.zip")).c_str()), nullptr);
    EXPECT_NE(0, archive->status);
    delete archive;
}

TEST_F(PanelArchiveTest, NestedDisplayPathUsesTheParentsDirectory) {
    CArchive* outer = Open({{"sub", "b.zip", 1, 0}});
    ArchiveFindFirst(outer, Westring(U"sub"), nullptr);
    CArchive* inner = new CArchive(Westring(path.c_str()), outer);
    EXPECT_EQ(0, inner->status);
    Westring expected = outer->filePath + U"\\sub\\a.zip";
    EXPECT_TRUE(GetArchiveDisplayPath(inner).EqualsExact(expected));
    delete inner;  // and its parent with it
}

}  // namespace
