#include "base/strings/QuoteFileName.h"

#include "base/strings/Utf16String.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

TEST(QuoteFileNameTest, PlainFormQuotesOnlyTheListedCases) {
    struct {
        const char* name;
        const char* quoted;
    } const cases[] = {
        {"plain.txt", "plain.txt"},
        {"my file.txt", "\"my file.txt\""},
        {"50%", "\"50%\""},
        {"a&b", "\"a&b\""},
        {"a+b", "\"a+b\""},
        {"a,b", "\"a,b\""},
        {"-rf", "\"-rf\""},
        {"x-y", "x-y"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.quoted, Utf8(QuoteFileName(Westring(c.name)))) << c.name;
    }
}

TEST(QuoteFileNameTest, StripQuotesKeepsOneOfADoubledQuoteInsideQuotes) {
    struct {
        const char* text;
        const char* stripped;
    } const cases[] = {
        {"\"my dir\"", "my dir"}, {"a\"b c\"d", "ab cd"}, {"\"say \"\"hi\"\"\"", "say \"hi\""},
        {"\"open", "open"},       {"none", "none"},       {"\"\"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.stripped, Utf8(StripQuotes(Westring(c.text)))) << c.text;
    }
}

// Names that must each reach a program as one argument, unchanged.
const char* const AwkwardNames[] = {
    "plain",
    "my file.txt",
    "a;date>pwned",
    "tab\there",
    "quote\"inside",
    "trail\\",
    "trail space\\",
    "\\\\server",
    "back\\\"slash",
    "new\nline",
    "-starts",
    "",
    "$HOME",
    "it's",
    "50% & more",
    "(a)|<b>^c",
    "\"",
    "\\\"\\\\\"",
    "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5",
};

TEST(QuoteFileNameTest, ArgumentQuotingRoundTripsThroughTheRuntimeSplitter) {
    for (const char* name : AwkwardNames) {
        Westring line = Westring("prog ") + QuoteArgument(Westring(name)) + Westring(" next");
        Utf16String wide(line);
        int count = 0;
        LPWSTR* args = CommandLineToArgvW(wide.Data(), &count);
        ASSERT_NE(nullptr, args);
        ASSERT_EQ(3, count) << name;
        EXPECT_EQ(name, Utf8(Westring(args[1]))) << name;
        EXPECT_EQ("next", Utf8(Westring(args[2])));
        LocalFree(args);
    }
    EXPECT_EQ("plain.txt", Utf8(QuoteArgument(Westring("plain.txt"))));
    EXPECT_EQ("\"my file.txt\"", Utf8(QuoteArgument(Westring("my file.txt"))));
}

TEST(QuoteFileNameTest, ShellAndCmdForms) {
    struct {
        const char* name;
        const char* shell;
        const char* cmd;
    } const cases[] = {
        {"plain.txt", "plain.txt", "plain.txt"},
        {"my file.txt", "'my file.txt'", "\"my file.txt\""},
        {"it's", "'it'\\''s'", "it's"},
        {"a;date>pwned", "'a;date>pwned'", "\"a;date>pwned\""},
        {"-x", "'-x'", "\"-x\""},
        {"$HOME`id`", "'$HOME`id`'", "$HOME`id`"},
        {"say \"hi\"", "'say \"hi\"'", "\"say \"\"hi\"\"\""},
        {"", "''", "\"\""},
        {"C:\\dir\\f", "'C:\\dir\\f'", "C:\\dir\\f"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.shell, Utf8(QuoteForShell(Westring(c.name)))) << c.name;
        EXPECT_EQ(c.cmd, Utf8(QuoteForCmd(Westring(c.name)))) << c.name;
    }
}

TEST(QuoteFileNameTest, FindOutsideArgumentQuotesReadsQuotesAsTheRuntimeDoes) {
    struct {
        const char* text;
        int position;
    } const cases[] = {
        {"a | b", 2},           {"\"a | b\"", -1},
        {"\"a\\\" | b\"", -1},   // the escaped quote does not close the stretch
        {"\"a\\\\\" | b", 6},    // an even run of backslashes does
        {"\"a \"\" | b\"", -1},  // a doubled quote inside quotes is literal
        {"none", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.position, FindOutsideArgumentQuotes(Westring(c.text), '|')) << c.text;
    }
}

}  // namespace
