// The content test of file find in each kind of file: where the text is, a
// text that is not there, a file that cannot be opened, and the user's break,
// which is the only thing that answers -1.
#include "fileops/FileContainsText.h"

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

class FileContainsTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCaseTables();
        savedCodePage = TextCodePageSetting;
        TextCodePageSetting = 1252;
        SetSearchEscapePolling(false);
    }
    void TearDown() override {
        TextCodePageSetting = savedCodePage;
        FindCodePage = 0;
        UserAbortState = UserAbortIdle;
    }

    Westring File(const char* name, const std::string& bytes) {
        EXPECT_TRUE(qvtest::WriteFileBytes(dir.Join(W(name)), bytes));
        return qvtest::PathIn(dir, name);
    }

    qvtest::TempDir dir;
    int savedCodePage = 0;
};

TEST_F(FileContainsTextTest, EachEncodingAnswersWithTheByteOffset) {
    const Westring utf8 = File("utf8.txt", "caf\xC3\xA9 au lait");
    const Westring utf16 = File("utf16.txt", std::string("\xFF\xFE"
                                                         "a\0b\0c\0",
                                                         8));
    const Westring latin = File("latin.bin", std::string("\x01\x02 caf\xE9 \xC9T\xC9", 11));
    const Westring empty = File("empty.txt", "");
    struct {
        const Westring* path;
        const char32_t* text;
        bool caseSensitive;
        int64_t expected;
    } cases[] = {
        {&utf8, U"au", false, 6},        {&utf8, U"CAF\u00C9", false, 0}, {&utf8, U"CAF\u00C9", true, -2},
        {&utf16, U"b", true, 4},         {&utf16, U"x", true, -2},        {&latin, U"\u00E9t\u00E9", false, 8},
        {&latin, U"caf\u00E9", true, 3}, {&empty, U"a", false, -2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileContainsText(*c.path, Westring(c.text), c.caseSensitive, false), c.expected)
            << Estring(*c.path).Data() << " " << Estring(Westring(c.text)).Data();
    EXPECT_EQ(FileContainsText(qvtest::PathIn(dir, "missing.txt"), Westring("a"), false, false), FileTextUnreadable);
}

TEST_F(FileContainsTextTest, OnlyTheUsersBreakAnswersMinusOne) {
    const Westring utf8 = File("utf8.txt", "caf\xC3\xA9 au lait");
    const Westring latin = File("latin.bin", std::string("\x01\x02 caf\xE9", 8));
    UserAbortState = UserAbortRequested;
    EXPECT_EQ(FileContainsText(utf8, Westring("lait"), false, false), FileTextBroken);
    UserAbortState = UserAbortRequested;
    EXPECT_EQ(FileContainsText(latin, Westring("caf"), false, false), FileTextBroken);
    UserAbortState = UserAbortIdle;
    EXPECT_EQ(FileContainsText(latin, Westring("caf"), false, false), 3);
}

}  // namespace
