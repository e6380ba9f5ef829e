// FindFirstFileW/FindNextFileW: DOS wildcard rules, case, "." and "..", errors.
#include "platform/win32.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <string>

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
        // "?" never matches a dot: it matches nothing there, as at the end,
        // so five of them take the names of up to five characters without one.
        {"?????", {"ab", "abc", "sub"}},
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

}  // namespace
