#include "fileops/find/SearchFileForText.h"

#include <gtest/gtest.h>

#include "base/io/RandomFile.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/LocaleCase.h"
#include "tests/support/TempDir.h"

namespace {

using qvtest::TempDir;
using qvtest::W;

class SearchFileForTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCaseTables();
        savedCodePage = TextCodePageSetting;
        TextCodePageSetting = 1252;
    }
    void TearDown() override { TextCodePageSetting = savedCodePage; }

    // A file of the bytes, opened through the block cache.
    void Open(const std::string& bytes) {
        path = dir.Join(W("data.bin"));
        ASSERT_TRUE(qvtest::WriteFileBytes(path, bytes));
        ASSERT_EQ(file.Open(Westring(path.c_str()), StdFile::ModeRead), 0u);
    }

    TempDir dir;
    qvtest::WString path;
    CRandomFile file;
    int savedCodePage = 0;
};

struct TSearchCase {
    const char* text;
    int64_t start;
    bool reverse;
    bool caseSensitive;
    bool wholeWord;
    int64_t expected;
};

TEST_F(SearchFileForTextTest, FindsInEitherDirectionWithCaseAndWholeWords) {
    Open("foo_foo foo");
    const TSearchCase cases[] = {
        {"foo", 0, false, true, false, 0},  {"foo", 1, false, true, false, 4},  // the next one, not the same
        {"foo", 0, false, true, true, 8},                                       // "foo_" and "_foo " are inside a word
        {"", 0, false, true, false, -1},    {"bar", 0, false, true, false, -2},
        {"foo", 11, true, true, false, 8},  // reverse from the end
        {"foo", 10, true, true, false, 8},  // reverse: a match may end on the start byte ...
        {"foo", 9, true, true, false, 4},   // ... but not after it
        {"foo", 6, true, true, false, 4},   {"foo", 5, true, true, false, 0},
        {"FOO", 0, false, false, false, 0}, {"FOO", 0, false, true, false, -2},
        {"foo", 9, false, true, false, -2},  // would run past the end
        {"foo", -5, false, true, false, 0},  // starts are clamped to the file
        {"foo", 99, true, true, false, 8},  {"foo_foo foo!", 0, false, true, false, -2},
    };
    for (const TSearchCase& c : cases) {
        EXPECT_EQ(SearchFileForText(file, c.start, Westring(c.text), c.reverse, c.caseSensitive, c.wholeWord, 0),
                  c.expected)
            << c.text << " from " << c.start << (c.reverse ? " reverse" : "") << (c.wholeWord ? " whole" : "");
    }
}

TEST_F(SearchFileForTextTest, WholeWordsAreBoundedByTheFileAndByNonWordBytes) {
    // Bytes 0x80 to 0xFE count as word bytes, 0xFF does not.
    Open(
        "ab x\xE9"
        "ab ab\xFF"
        "ab");
    const TSearchCase cases[] = {
        {"ab", 0, false, true, true, 0},   // at the very start
        {"ab", 1, false, true, true, 8},   // 0xE9 before the one at 5 joins it to a word
        {"ab", 9, false, true, true, 11},  // 0xFF ends a word; the last one ends the file
        {"ab", 11, true, true, true, 8},  {"ab", 7, true, true, true, 0},
    };
    for (const TSearchCase& c : cases) {
        EXPECT_EQ(SearchFileForText(file, c.start, Westring(c.text), c.reverse, c.caseSensitive, c.wholeWord, 0),
                  c.expected)
            << c.text << " from " << c.start;
    }
}

TEST_F(SearchFileForTextTest, CaseFoldingFollowsTheCodePage) {
    // In 1252 0xE9 is e acute and 0xC9 its capital; in 437 they are other letters.
    Open("xx\xE9t\xE9 caf\xC9");
    EXPECT_EQ(SearchFileForText(file, 0, Westring(U"\u00C9T\u00C9"), false, false, false, 1252), 2);
    EXPECT_EQ(SearchFileForText(file, 0, Westring(U"CAF\u00E9"), false, false, false, 1252), 6);
    EXPECT_EQ(SearchFileForText(file, 0, Westring(U"caf\u00E9"), false, true, false, 1252), -2);
}

TEST_F(SearchFileForTextTest, SearchesAcrossTheBlocksOfTheCache) {
    std::string bytes(3 * CRandomFile::BlockSize + 100, 'a');
    const int64_t at = CRandomFile::BlockSize - 2;  // straddles a block boundary
    bytes.replace(size_t(at), 6, "needle");
    bytes.replace(bytes.size() - 6, 6, "needle");
    Open(bytes);
    EXPECT_EQ(SearchFileForText(file, 0, Westring("needle"), false, true, false, 0), at);
    EXPECT_EQ(SearchFileForText(file, at + 1, Westring("needle"), false, true, false, 0), int64_t(bytes.size() - 6));
    EXPECT_EQ(SearchFileForText(file, int64_t(bytes.size()), Westring("needle"), true, true, false, 0),
              int64_t(bytes.size() - 6));
    EXPECT_EQ(SearchFileForText(file, int64_t(bytes.size()) - 2, Westring("needle"), true, true, false, 0), at);
}

}  // namespace
