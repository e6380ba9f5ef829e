// Replacing in one file: the text and the replacement spelt in the file's own
// encoding, every match replaced left to right, the byte-order mark and every
// other byte kept, and a break that gives the file up.
#include "fileops/find/MultiFileReplace.h"

#include <gtest/gtest.h>

#include <string>

#include "base/strings/ConsoleCodePage.h"
#include "base/strings/LocaleCase.h"
#include "fileops/find/SearchFileForText.h"
#include "tests/base/os/OsTestSupport.h"
#include "tests/support/TempDir.h"
#include "ui/ConsoleControl.h"

namespace {

using qvtest::W;

class CStringSink : public IReplaceSink {
public:
    bool Write(const void* bytes, uint32_t n) override {
        out.append(static_cast<const char*>(bytes), n);
        return true;
    }
    std::string out;
};

std::string Utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

class ReplaceTextInFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCaseTables();
        savedCodePage = TextCodePageSetting;
        TextCodePageSetting = 1252;
        SetSearchEscapePolling(false);
    }
    void TearDown() override {
        TextCodePageSetting = savedCodePage;
        UserAbortState = UserAbortIdle;
    }

    // The file's bytes after the replace, and the count of replacements.
    std::string Replace(const std::string& bytes, const char32_t* text, const char32_t* replacement, bool caseSensitive,
                        int& count, int expectedResult = ReplaceDone) {
        const auto path = dir.Join(W("file.txt"));
        EXPECT_TRUE(qvtest::WriteFileBytes(path, bytes));
        CTextFile file;
        EXPECT_EQ(file.Open(qvtest::ToWestring(path), StdFile::ModeRead), 0u);
        CStringSink sink;
        count = 0;
        EXPECT_EQ(
            ReplaceTextInFile(file, Westring(text), Westring(replacement), caseSensitive, false, 1252, sink, count),
            expectedResult);
        return sink.out;
    }

    qvtest::TempDir dir;
    int savedCodePage = 0;
};

TEST_F(ReplaceTextInFileTest, TextAndReplacementTakeTheFilesEncoding) {
    int count = 0;
    const std::string bom16 = "\xFF\xFE";
    EXPECT_EQ(Replace(bom16 + Utf16("Cat, cat."), U"cat", U"lion", false, count), bom16 + Utf16("lion, lion."));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Replace("\xEF\xBB\xBF"
                      "caf\xC3\xA9 CAF\xC3\x89",
                      U"caf\u00E9", U"bar", false, count),
              "\xEF\xBB\xBF"
              "bar bar");
    EXPECT_EQ(count, 2);
    // A code-page file: the letters are single bytes of the code page.
    EXPECT_EQ(Replace("\x01 caf\xE9 caf\xE9", U"caf\u00E9", U"th\u00E9", true, count), "\x01 th\xE9 th\xE9");
    EXPECT_EQ(count, 2);
    // No match: the file comes through unchanged.
    EXPECT_EQ(Replace("nothing here\n", U"cat", U"dog", false, count), "nothing here\n");
    EXPECT_EQ(count, 0);
    // Matches never overlap: "aaa" holds one "aa".
    EXPECT_EQ(Replace("aaa", U"aa", U"b", true, count), "ba");
    EXPECT_EQ(count, 1);
}

TEST_F(ReplaceTextInFileTest, ABreakGivesTheFileUp) {
    int count = 0;
    UserAbortState = UserAbortRequested;
    Replace("cat cat", U"cat", U"dog", true, count, ReplaceStopped);
    EXPECT_EQ(count, 0);
}

}  // namespace
