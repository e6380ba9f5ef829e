#include "base/io/DirScanner.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/base/os/OsTestSupport.h"
#include "tests/platform/RunningUnderWine.h"

using qvtest::PathIn;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

std::string NameOf(const entry* item) {
    std::string name;
    for (const char32_t* c = item->name; *c; c++)
        name += char(*c);
    return name;
}

// A folder with two files, a hidden file and two subfolders.
class DirScannerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileBytes(dir.Join(W("a.txt")), "12345"));
        ASSERT_TRUE(WriteFileBytes(dir.Join(W("b.dat")), std::string(3000, 'x')));
        // Hidden by its leading dot here, by its attribute on Windows.
        ASSERT_TRUE(WriteFileBytes(dir.Join(W(".hidden.txt")), "h"));
        SetFileAttributesW(dir.Join(W(".hidden.txt")).c_str(), FILE_ATTRIBUTE_HIDDEN);
        ASSERT_TRUE(CreateDirectoryW(dir.Join(W("sub1")).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(dir.Join(W("sub2")).c_str(), nullptr));
    }

    std::set<std::string> List(const char* pattern, DWORD mask) {
        std::set<std::string> names;
        CDirScanner scanner(Base());
        entry* item = nullptr;
        for (DWORD error = scanner.FindFirst(Westring(pattern), mask, &item); error == 0;
             error = scanner.FindNext(&item))
            names.insert(NameOf(item));
        return names;
    }

    Westring Base() { return qvtest::ToWestring(dir.Path()); }

    qvtest::TempDir dir;
};

TEST_F(DirScannerTest, AttributeMasksChooseWhatIsDelivered) {
    struct {
        DWORD mask;
        std::set<std::string> expected;
    } cases[] = {
        {0x37, {".", "..", "a.txt", "b.dat", ".hidden.txt", "sub1", "sub2"}},
        {0x27, {"a.txt", "b.dat", ".hidden.txt"}},
        {0x35, {".", "..", "a.txt", "b.dat", "sub1", "sub2"}},
        {0x25, {"a.txt", "b.dat"}},
        {0x20037, {".", "..", "sub1", "sub2"}},
        {0x20027, {}},  // directories only, but directories are not asked for
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, List("*", c.mask)) << std::hex << c.mask;
    EXPECT_EQ((std::set<std::string>{"a.txt", ".hidden.txt"}), List("*.txt", 0x37));
}

TEST_F(DirScannerTest, AcceptsAttributesFollowsTheMaskRules) {
    struct {
        DWORD mask;
        DWORD attributes;
        bool accepted;
    } cases[] = {
        {0x37, FILE_ATTRIBUTE_DIRECTORY, true},     {0x27, FILE_ATTRIBUTE_DIRECTORY, false},
        {0x27, FILE_ATTRIBUTE_ARCHIVE, true},       {0x35, FILE_ATTRIBUTE_HIDDEN, false},
        {0x20037, FILE_ATTRIBUTE_ARCHIVE, false},   {0x20037, FILE_ATTRIBUTE_DIRECTORY, true},
        {0x20027, FILE_ATTRIBUTE_DIRECTORY, false}, {0x20035, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.accepted, CDirScanner::AcceptsAttributes(c.mask, c.attributes))
            << std::hex << c.mask << " " << c.attributes;
}

TEST_F(DirScannerTest, NothingAcceptedOrNothingMatchedIsAnError) {
    CDirScanner scanner(Base());
    EXPECT_EQ(DWORD(ERROR_NO_MORE_FILES), scanner.FindFirst(Westring(".hidden*"), 0x35));
    EXPECT_EQ(0, scanner.Found());
    EXPECT_EQ(DWORD(ERROR_NO_MORE_FILES), scanner.LastError());

    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), scanner.FindFirst(Westring("nothing*"), 0x37));
    EXPECT_EQ(0, scanner.Found());
    EXPECT_NE(0u, scanner.FindNext());

    CDirScanner missing(PathIn(dir, "no-such-dir"));
    EXPECT_NE(0u, missing.FindFirst(Westring("*"), 0x37));
}

TEST_F(DirScannerTest, EntryHeadIsFilledFromTheFindRecord) {
    CDirScanner scanner(Base());
    entry* item = nullptr;
    ASSERT_EQ(0u, scanner.FindFirst(Westring("b.dat"), 0x37, &item));
    EXPECT_EQ(1, scanner.Found());
    EXPECT_EQ(scanner.Record(), item);
    EXPECT_EQ(3000u, item->size);
    EXPECT_EQ(0, item->attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(-1, item->matchOffset);
    EXPECT_EQ(0, item->tagged + item->processed + item->sizeFromTree);

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(dir.Join(W("b.dat")).c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(TTimestamp::FromFileTime(data.ftLastWriteTime), item->time);

    ASSERT_EQ(0u, scanner.FindFirst(Westring("sub1"), 0x37, &item));
    EXPECT_EQ(0u, item->size);
    EXPECT_NE(0, item->attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(DirScannerTest, NamesBeyondTheBasicPlaneBecomeOneCodePoint) {
    std::string name = "smile-\xF0\x9F\x98\x80.txt";  // U+1F600
    ASSERT_TRUE(WriteFileBytes(dir.Join(W(name)), "s"));
    CDirScanner scanner(Base());
    entry* item = nullptr;
    ASSERT_EQ(0u, scanner.FindFirst(Westring("smile*"), 0x37, &item));
    EXPECT_EQ(0, Str32Compare(item->name, Westring(name.c_str()).Data()));
    EXPECT_EQ(char32_t(0x1F600), item->name[6]);
}

TEST_F(DirScannerTest, SizesAbove4GiBCombineBothHalves) {
    const int64_t size = (int64_t(5) << 30) + 7;
    qvtest::WString path = dir.Join(W("big.bin"));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER at;
    at.QuadPart = size;
    bool sized = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    if (!sized)
        GTEST_SKIP() << "the file system cannot hold a sparse 5 GiB file";

    CDirScanner scanner(Base());
    entry* item = nullptr;
    ASSERT_EQ(0u, scanner.FindFirst(Westring("big.bin"), 0x27, &item));
    EXPECT_EQ(uint64_t(size), item->size);
}

TEST_F(DirScannerTest, SeparateRecordsAreDistinctBlocksThatOutliveTheScan) {
    std::set<entry*> records;
    std::set<std::string> names;
    {
        CDirScanner scanner(Base());
        entry* item = nullptr;
        for (DWORD error = scanner.FindFirst(Westring("*"), 0x10037, &item); error == 0;
             error = scanner.FindNext(&item)) {
            EXPECT_NE(scanner.Record(), item);
            records.insert(item);
        }
    }
    EXPECT_EQ(7u, records.size());
    for (entry* record : records) {
        names.insert(NameOf(record));
        entry::Free(record);
    }
    EXPECT_EQ((std::set<std::string>{".", "..", "a.txt", "b.dat", ".hidden.txt", "sub1", "sub2"}), names);

    // Without the bit every call hands out the scanner's own record.
    CDirScanner scanner(Base());
    entry* first = nullptr;
    entry* second = nullptr;
    ASSERT_EQ(0u, scanner.FindFirst(Westring("*"), 0x37, &first));
    ASSERT_EQ(0u, scanner.FindNext(&second));
    EXPECT_EQ(first, second);
}

TEST_F(DirScannerTest, SecondFindFirstReplacesTheRunningSearch) {
    CDirScanner scanner(Base());
    ASSERT_EQ(0u, scanner.FindFirst(Westring("*"), 0x37));
    ASSERT_EQ(0u, scanner.FindNext());
    entry* item = nullptr;
    ASSERT_EQ(0u, scanner.FindFirst(Westring("*.dat"), 0x37, &item));
    EXPECT_EQ("b.dat", NameOf(item));
    EXPECT_EQ(DWORD(ERROR_NO_MORE_FILES), scanner.FindNext(&item));
    EXPECT_TRUE(scanner.IsOpen());
    scanner.Close();
    EXPECT_FALSE(scanner.IsOpen());
    scanner.Close();
}

TEST_F(DirScannerTest, ExistsFillsTheRecordAndLeavesNoSearchOpen) {
    CDirScanner scanner(Base());
    EXPECT_EQ(0u, scanner.Exists(Westring("a.txt"), 0x37));
    EXPECT_FALSE(scanner.IsOpen());
    EXPECT_EQ(5u, scanner.Record()->size);
    EXPECT_EQ("a.txt", NameOf(scanner.Record()));

    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), scanner.Exists(Westring("zzz"), 0x37));
    EXPECT_FALSE(scanner.IsOpen());

    // A full path under an empty base directory.
    CDirScanner anywhere{Westring()};
    EXPECT_EQ(0u, anywhere.Exists(PathIn(dir, "b.dat"), 0x37));
    EXPECT_EQ(3000u, anywhere.Record()->size);
}

// Whole-tree walks ask to pass by the roots of the file systems the kernel
// makes up (proc, sysfs, devtmpfs...); a panel listing still shows them, and
// an ordinary mount such as a tmpfs is walked like any folder.
TEST(DirScannerVirtualRootsTest, WalksPassByTheKernelsOwnFileSystemsOnly) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "wine does not flag the roots of Linux's virtual file systems";
    }
    auto list = [](DWORD mask) {
        std::set<std::string> names;
        CDirScanner scanner(Westring("C:\\"));
        entry* item = nullptr;
        for (DWORD error = scanner.FindFirst(Westring("*"), mask, &item); error == 0; error = scanner.FindNext(&item))
            names.insert(NameOf(item));
        return names;
    };
    const DWORD all = CDirScanner::ScanEverything;
    std::set<std::string> shown = list(all);
    std::set<std::string> walked = list(all | CDirScanner::ScanNoVirtualRoots);
    ASSERT_FALSE(shown.empty());
    if (GetFileAttributesW(W("C:\\proc\\self").c_str()) == INVALID_FILE_ATTRIBUTES) {
        // No virtual file systems here (Windows): the walk sees what a panel sees.
        EXPECT_EQ(shown, walked);
        return;
    }
    EXPECT_EQ(1u, shown.count("proc"));
    EXPECT_EQ(0u, walked.count("proc"));
    if (GetFileAttributesW(W("C:\\sys\\kernel").c_str()) != INVALID_FILE_ATTRIBUTES) {
        EXPECT_EQ(0u, walked.count("sys"));
    }
    // Everything else, mount roots of real file systems among them, stays;
    // /dev is devtmpfs on a machine and a plain tmpfs in many containers.
    for (const std::string& name : shown) {
        if (name != "proc" && name != "sys" && name != "dev") {
            EXPECT_EQ(1u, walked.count(name)) << name;
        }
    }
}

}  // namespace
