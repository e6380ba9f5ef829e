// FindFirstFileW/FindNextFileW: DOS wildcard rules, case, "." and "..", errors.
#include "platform/win32.h"
#include "tests/platform/RunningUnderWine.h"
#include "tests/support/TempDir.h"
#include "tests/platform/PosixPathOf.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

using qvtest::TempDir;
using qvtest::U8;
using qvtest::W;
using qvtest::WString;

// The names a search delivers, in UTF-8; the last error after the search is
// left in *error (ERROR_NO_MORE_FILES after a full walk).
std::set<std::string> Names(const WString& pattern, DWORD* error = nullptr) {
    std::set<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        if (error) {
            *error = GetLastError();
        }
        return names;
    }
    do {
        names.insert(U8(data.cFileName));
    } while (FindNextFileW(find, &data));
    if (error) {
        *error = GetLastError();
    }
    FindClose(find);
    return names;
}

class FindTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.Path().empty());
        for (const char* name : {"README", "a.txt", "B.TXT", "archive.tar.gz", "ab", "abc", "note.md"}) {
            ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W(name)), name));
        }
        ASSERT_TRUE(CreateDirectoryW(dir.Join(W("sub")).c_str(), nullptr));
    }
    WString Pattern(const char* pattern) const { return dir.Join(W(pattern)); }

    TempDir dir;
};

struct WildcardCase {
    const char* pattern;
    std::set<std::string> expected;  // without "." and ".."
};

TEST_F(FindTest, DosWildcardRules) {
    const WildcardCase cases[] = {
        {"*", {"README", "a.txt", "B.TXT", "archive.tar.gz", "ab", "abc", "note.md", "sub"}},
        // "*.*" matches names without a dot as well.
        {"*.*", {"README", "a.txt", "B.TXT", "archive.tar.gz", "ab", "abc", "note.md", "sub"}},
        // Case is ignored.
        {"*.txt", {"a.txt", "B.TXT"}},
        {"readme", {"README"}},
        {"*.GZ", {"archive.tar.gz"}},
        // "name.*" matches the name with or without an extension.
        {"readme.*", {"README"}},
        // "?" matches one character.
        {"a?", {"ab"}},
        {"?.txt", {"a.txt", "B.TXT"}},
        {"*.t?t", {"a.txt", "B.TXT"}},
        {"?.???", {"a.txt", "B.TXT"}},
        {"a?c", {"abc"}},
        {"n*.md", {"note.md"}},
        {"*tar*", {"archive.tar.gz"}},
    };
    for (const WildcardCase& c : cases) {
        std::set<std::string> names = Names(Pattern(c.pattern));
        names.erase(".");
        names.erase("..");
        EXPECT_EQ(names, c.expected) << "pattern " << c.pattern;
    }
}

// "?" never matches a dot: it matches nothing there, as at the end, so five
// of them take the names of up to five characters without one.
TEST_F(FindTest, QuestionMarksStopAtADotAndAtTheEnd) {
    if (qvtest::RunningUnderWine()) {
        GTEST_SKIP() << "wine matches each ? with exactly one character, a dot included";
    }
    std::set<std::string> names = Names(Pattern("?????"));
    names.erase(".");
    names.erase("..");
    EXPECT_EQ(names, (std::set<std::string>{"ab", "abc", "sub"}));
}

TEST_F(FindTest, DotEntriesBelowTheRootComeFirst) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Pattern("*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::string first = U8(data.cFileName);
    ASSERT_TRUE(FindNextFileW(find, &data));
    std::string second = U8(data.cFileName);
    FindClose(find);
    EXPECT_EQ(first, ".");
    EXPECT_EQ(second, "..");
}

TEST_F(FindTest, DriveRootHasNoDotEntries) {
    WString root = dir.Path().substr(0, 3);  // X:\ of the temporary folder
    ASSERT_EQ(root[1], W32TEXT(':'));
    std::set<std::string> names = Names(root + W("*"));
    EXPECT_FALSE(names.empty());
    EXPECT_EQ(names.count("."), 0u);
    EXPECT_EQ(names.count(".."), 0u);
}

TEST_F(FindTest, ErrorsTellNothingMatchedFromMissingDirectory) {
    DWORD error = 0;
    EXPECT_TRUE(Names(Pattern("*.nomatch"), &error).empty());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(Names(Pattern("missing\\*"), &error).empty());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    Names(Pattern("*"), &error);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NO_MORE_FILES));
}

TEST_F(FindTest, RecordDescribesTheItem) {
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("sized.bin")), std::string(1234, 'x')));
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Pattern("SIZED.BIN").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(U8(data.cFileName), "sized.bin");  // the name as it is on disk
    EXPECT_EQ(data.nFileSizeLow, 1234u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(FindNextFileW(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    FindClose(find);

    find = FindFirstFileW(Pattern("sub").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FindClose(find);
}

TEST_F(FindTest, HiddenAndReadOnlyShowInTheRecord) {
    WString file = dir.Join(W("secret.txt"));
    ASSERT_TRUE(qvtest::WriteFileBytes(file, "x"));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(file.c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY, 0u);
}

// What a search says of one entry.
struct FoundRecord {
    DWORD attributes = 0;
    ULONGLONG size = 0;
    ULONGLONG written = 0;
    ULONGLONG created = 0;
    DWORD reparseTag = 0;
    int seen = 0;
};

ULONGLONG Ticks(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::map<std::string, FoundRecord> Records(const WString& pattern) {
    std::map<std::string, FoundRecord> records;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return records;
    }
    do {
        FoundRecord& record = records[U8(data.cFileName)];
        record.attributes = data.dwFileAttributes;
        record.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        record.written = Ticks(data.ftLastWriteTime);
        record.created = Ticks(data.ftCreationTime);
        record.reparseTag = data.dwReserved0;
        record.seen++;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return records;
}

// The bits SetFileAttributesW keeps for a file come back from a search as
// from GetFileAttributesW, whatever the mix.
TEST_F(FindTest, StoredAttributeBitsShowInTheRecord) {
    struct Case {
        const char* name;
        DWORD set;
    };
    const Case cases[] = {
        {"hsa.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE},
        {"system.dat", FILE_ATTRIBUTE_SYSTEM},
        {"archive.dat", FILE_ATTRIBUTE_ARCHIVE},
        {"hidden.dat", FILE_ATTRIBUTE_HIDDEN},
        {"ro-archive.dat", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
        {"normal.dat", FILE_ATTRIBUTE_NORMAL},
    };
    // wine keeps the archive bit of every file it writes whatever is set
    // afterwards; the record still has to agree with the single query below.
    const DWORD archive = qvtest::RunningUnderWine() ? 0 : FILE_ATTRIBUTE_ARCHIVE;
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | archive | FILE_ATTRIBUTE_READONLY;
    for (const Case& c : cases) {
        WString file = dir.Join(W(c.name));
        ASSERT_TRUE(qvtest::WriteFileBytes(file, c.name));
        ASSERT_TRUE(SetFileAttributesW(file.c_str(), c.set)) << c.name;
    }
    std::map<std::string, FoundRecord> records = Records(Pattern("*.dat"));
    for (const Case& c : cases) {
        ASSERT_EQ(records.count(c.name), 1u) << c.name;
        DWORD expected = c.set == FILE_ATTRIBUTE_NORMAL ? 0 : c.set & kept;
        EXPECT_EQ(records[c.name].attributes & kept, expected) << c.name;
        EXPECT_EQ(records[c.name].attributes, GetFileAttributesW(dir.Join(W(c.name)).c_str())) << c.name;
        EXPECT_EQ(records[c.name].size, std::string(c.name).size()) << c.name;
    }
    for (const Case& c : cases) {
        SetFileAttributesW(dir.Join(W(c.name)).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A directory large enough to be examined in blocks on several threads:
// every entry comes exactly once, and its record is the one a query of the
// single file gives (attributes, size, times).
TEST_F(FindTest, LargeDirectoryRecordsMatchSingleQueries) {
    const int files = 4500;  // three blocks
    for (int i = 0; i < files; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "f%05d.bin", i);
        WString file = dir.Join(W(name));
        ASSERT_TRUE(qvtest::WriteFileBytes(file, std::string(size_t(i % 97), 'x')));
        if (i % 7 == 0) {
            ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
        }
    }
    std::map<std::string, FoundRecord> records = Records(Pattern("*"));
    EXPECT_EQ(records.size(), size_t(files) + 10);  // the files of SetUp, "." and ".."
    for (int i = 0; i < files; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "f%05d.bin", i);
        auto found = records.find(name);
        ASSERT_NE(found, records.end()) << name;
        const FoundRecord& record = found->second;
        EXPECT_EQ(record.seen, 1) << name;
        WIN32_FILE_ATTRIBUTE_DATA single;
        ASSERT_TRUE(GetFileAttributesExW(dir.Join(W(name)).c_str(), GetFileExInfoStandard, &single));
        EXPECT_EQ(record.attributes, single.dwFileAttributes) << name;
        EXPECT_EQ(record.size, ULONGLONG(i % 97)) << name;
        EXPECT_EQ(record.written, Ticks(single.ftLastWriteTime)) << name;
        EXPECT_EQ(record.created, Ticks(single.ftCreationTime)) << name;
        if (i % 7 == 0) {
            EXPECT_EQ(record.attributes & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE),
                      DWORD(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE))
                << name;
        }
    }
}

// The names of a search in the order it delivers them.
std::vector<std::string> NamesInOrder(const WString& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.push_back(U8(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

// A directory far larger than the first read of names is listed while its
// names are still being read: "." and ".." lead, every other name comes once,
// a pattern takes exactly its names, and a search closed after a few records
// (the rest still being read and examined) ends at once and can be repeated.
TEST_F(FindTest, ALargeDirectoryIsListedWhileItIsRead) {
    const int files = 9000;
    for (int i = 0; i < files; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "n%05d.%s", i, i % 3 == 0 ? "log" : "dat");
        ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W(name)), ""));
    }
    std::vector<std::string> all = NamesInOrder(Pattern("*"));
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0], ".");
    EXPECT_EQ(all[1], "..");
    std::set<std::string> distinct(all.begin(), all.end());
    EXPECT_EQ(distinct.size(), all.size());
    EXPECT_EQ(all.size(), size_t(files) + 10);  // the files of SetUp, "." and ".."

    std::vector<std::string> logs = NamesInOrder(Pattern("n*.LOG"));
    EXPECT_EQ(logs.size(), size_t((files + 2) / 3));
    EXPECT_EQ(std::set<std::string>(logs.begin(), logs.end()).size(), logs.size());
    for (const std::string& name : logs) {
        EXPECT_EQ(name.substr(name.size() - 4), ".log") << name;
    }

    for (int round = 0; round < 3; round++) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(Pattern("*").c_str(), &data);
        ASSERT_NE(find, INVALID_HANDLE_VALUE);
        for (int i = 0; i < 5 * round; i++) {
            ASSERT_TRUE(FindNextFileW(find, &data));
        }
        EXPECT_TRUE(FindClose(find));
    }
}

// A link is listed as itself: the reparse point with the link's tag, a
// directory when it points at one, no size of its own.
TEST_F(FindTest, LinksAreListedAsReparsePoints) {
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(W("target.txt")), "twelve bytes"));
    if (!CreateSymbolicLinkW(dir.Join(W("file-link")).c_str(), dir.Join(W("target.txt")).c_str(), 0)) {
        GTEST_SKIP() << "this system does not let the test create symbolic links (error " << GetLastError() << ")";
    }
    ASSERT_TRUE(
        CreateSymbolicLinkW(dir.Join(W("dir-link")).c_str(), dir.Join(W("sub")).c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    std::map<std::string, FoundRecord> records = Records(Pattern("*-link"));
    if (records.size() != 2 || GetFileAttributesW(dir.Join(W("file-link")).c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this system makes symbolic links it cannot examine (wine 8)";
    }
    const FoundRecord& file = records["file-link"];
    EXPECT_NE(file.attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_EQ(file.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(file.reparseTag, static_cast<DWORD>(IO_REPARSE_TAG_SYMLINK));
    EXPECT_EQ(file.size, 0u);
    const FoundRecord& directory = records["dir-link"];
    EXPECT_NE(directory.attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    EXPECT_NE(directory.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(directory.reparseTag, static_cast<DWORD>(IO_REPARSE_TAG_SYMLINK));
    // The target is listed with its own size, untouched by the link.
    EXPECT_EQ(Records(Pattern("target.txt"))["target.txt"].size, 12u);
}

// A name whose bytes are not UTF-8 is still listed, each bad sequence shown
// as U+FFFD, with the size and kind of the file itself.
TEST_F(FindTest, NameThatIsNotUtf8IsListedWithItsRecord) {
#ifdef _WIN32
    GTEST_SKIP() << "names on Windows are UTF-16: no name has bytes that are not UTF-8";
#else
    std::string bad = "bad\xff\xfe.txt";
    std::string path = qvtest::PosixPathOf(dir.Path()) + "/" + bad;
    ASSERT_FALSE(path.empty());
    int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_EXCL, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::write(fd, "12345", 5), 5);
    ::close(fd);
    std::map<std::string, FoundRecord> records = Records(Pattern("bad*"));
    ASSERT_EQ(records.size(), 1u);
    const auto& only = *records.begin();
    EXPECT_EQ(only.first, "bad\xef\xbf\xbd\xef\xbf\xbd.txt");
    EXPECT_EQ(only.second.size, 5u);
    EXPECT_EQ(only.second.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ::unlink(path.c_str());
#endif
}

}  // namespace
