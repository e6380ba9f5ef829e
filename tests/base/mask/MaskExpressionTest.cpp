#include "base/mask/MaskExpression.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/base/os/OsTestSupport.h"

using qvtest::PathIn;
using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

// An entry record as the directory enumerator makes them.
struct TEntryHolder {
    TEntryHolder(const char* name, uint64_t size, uint16_t attributes = 0, TTimestamp time = TTimestamp()) {
        Westring wide(name);
        item = entry::Allocate(wide.Length());
        Mem32Copy(item->name, wide.Data(), wide.Length() + 1);
        item->size = size;
        item->attributes = attributes;
        item->time = time;
        item->matchOffset = -1;
    }
    ~TEntryHolder() { entry::Free(item); }
    TEntryHolder(const TEntryHolder&) = delete;
    TEntryHolder& operator=(const TEntryHolder&) = delete;
    entry* item;
};

TTimestamp Local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    TLocalDateTime local = {year, month, day, hour, minute, second, 0, 0};
    return TTimestamp::FromLocalDateTime(local);
}

TEST(MaskExpressionTest, MasksCombineWithOperatorsOnNames) {
    struct {
        const char* mask;
        const char* name;
        int expected;
    } cases[] = {
        {"*.txt|*.doc", "A.TXT", 1},    {"*.txt|*.doc", "a.docx", 0},
        {"!*.bak & !*.tmp", "x.c", 1},  {"!*.bak & !*.tmp", "x.bak", 0},
        {"!!*.bak", "x.bak", 1},        {"*.c | *.h & b*", "a.h", 0},  // "&" binds tighter than "|"
        {"(*.c | *.h) & a*", "a.h", 1}, {"\"a&b.txt\"", "a&b.txt", 1},
        {"\"a b.txt\"", "a b.txt", 1},  {"  *.c  ", "m.c", 1},
        {"*.{c,h}", "m.h", 1},          {"*.c) anything after", "m.c", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, MatchMaskName(Westring(c.mask), Westring(c.name))) << c.mask << " " << c.name;
}

TEST(MaskExpressionTest, FunctionsCompareEntryValues) {
    TTimestamp now = TTimestamp::Now();
    TTimestamp hourAgo(now.seconds - 3600, 0);
    struct {
        const char* mask;
        const char* name;
        uint64_t size;
        uint16_t attributes;
        TTimestamp time;
        int expected;
    } cases[] = {
        {"(*.c|*.h)&%size>10k", "m.c", 20000, 0, now, 1},
        {"(*.c|*.h)&%size>10k", "m.c", 5000, 0, now, 0},
        {"%size>=0", "x", 0, 0, now, 1},
        {"%size=100", "x", 100, 0, now, 1},
        {"%size==100", "x", 101, 0, now, 0},
        {"%size<=1M", "x", 1048576, 0, now, 1},
        {"%size!=100", "x", 100, 0, now, 0},
        {"%size>4g", "x", uint64_t(5) << 30, 0, now, 1},
        {"%size<5000000000", "x", uint64_t(4900000000), 0, now, 1},
        {"%age<1d", "x", 0, 0, hourAgo, 1},
        {"%age<30m", "x", 0, 0, hourAgo, 0},
        {"%age>=1h", "x", 0, 0, hourAgo, 1},
        {"%attrib=D", "dir", 0, FILE_ATTRIBUTE_DIRECTORY, now, 1},
        {"%attrib=D", "file", 0, FILE_ATTRIBUTE_ARCHIVE, now, 0},
        {"%attrib=dh", "dir", 0, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, now, 1},
        {"%attrib=dh", "dir", 0, FILE_ATTRIBUTE_DIRECTORY, now, 0},
        {"%attrib!=H", "file", 0, FILE_ATTRIBUTE_ARCHIVE, now, 1},
        {"%attrib=RL", "link", 0, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_REPARSE_POINT, now, 1},
        {"%timestamp>20240101", "x", 0, 0, Local(2024, 1, 1, 0, 0, 1), 1},
        {"%timestamp>20240101", "x", 0, 0, Local(2023, 12, 31, 23, 59, 59), 0},
        {"%timestamp=2024010112", "x", 0, 0, Local(2024, 1, 1, 12), 1},
        {"%timestamp<2024", "x", 0, 0, Local(2023, 6, 1), 1},
    };
    MaskExpression mask;
    for (const auto& c : cases) {
        TEntryHolder holder(c.name, c.size, c.attributes, c.time);
        EXPECT_EQ(c.expected, mask.Match(Westring(c.mask), Westring(), holder.item)) << c.mask;
        EXPECT_FALSE(mask.HasError()) << c.mask;
    }
}

// A date as the user's locale writes it: its order and separator.
std::string LocaleDate(int year, int month, int day) {
    char order[8] = "0", separator[8] = "/";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator, sizeof separator);
    int fields[3][3] = {{month, day, year}, {day, month, year}, {year, month, day}};
    const int* f = fields[order[0] >= '0' && order[0] <= '2' ? order[0] - '0' : 0];
    return std::to_string(f[0]) + separator[0] + std::to_string(f[1]) + separator[0] + std::to_string(f[2]);
}

TEST(MaskExpressionTest, DatesCompareWholeLocalDays) {
    TEntryHolder afternoon("x", 0, 0, Local(2024, 1, 2, 15, 30));
    TEntryHolder old("y", 0, 0, Local(1998, 5, 5));
    struct {
        std::string mask;
        const entry* item;
        int expected;
    } cases[] = {
        {"%date=" + LocaleDate(2024, 1, 2), afternoon.item, 1},
        {"%date>" + LocaleDate(24, 1, 2), afternoon.item, 0},  // two-digit years below 71 are 20xx
        {"%date>=" + LocaleDate(24, 1, 2), afternoon.item, 1},
        {"%date<" + LocaleDate(99, 1, 1), old.item, 1},  // and from 71 on 19xx
        {"%date>" + LocaleDate(97, 12, 31), old.item, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, MatchMask(Westring(c.mask.c_str()), Westring(), c.item)) << c.mask;
}

TEST(MaskExpressionTest, ErrorsAreReportedWithTheirMessages) {
    std::string deep(150, '(');
    deep += "*.c";
    std::string longMask(600, 'a');
    struct {
        std::string mask;
        const char* message;
    } cases[] = {
        {"", "File mask expected"},
        {"*.c|", "File mask expected"},
        {"(*.c", ") expected"},
        {"%size>", "Value expected"},
        {"%foo>1", "Unknown operator '%foo'"},
        {"%bar(1)", "Unknown operator '%bar'"},
        {"%size~1", "Invalid comparitor '~'"},
        {"%size!5", "Invalid comparitor '!'"},
        {"%timestamp>2024010", "Invalid timestamp value '2024010'"},
        {"%timestamp>2024x1", "Invalid timestamp value '2024x1'"},
        {"%search()", "Insufficient arguments for %search"},
        {"%search(a,b,c)", "Too many arguments for %search"},
        {"%search(\"abc", "Unterminated quoted string"},
        {"%search(\"a\" x)", "Unexpected characters after literal string"},
        {"%search(abc", "Un-closed function parameters"},
        {deep, "Expression nested too deeply"},
        {longMask, "File mask too long"},
        // The first error is the one kept.
        {"(%foo>1", "Unknown operator '%foo'"},
    };
    for (const auto& c : cases) {
        MaskExpression mask;
        TEntryHolder holder("m.c", 10);
        EXPECT_EQ(-1, mask.Match(Westring(c.mask.c_str()), Westring(), holder.item)) << c.mask;
        EXPECT_TRUE(mask.ErrorMessage().EqualsExact(Westring(c.message)))
            << c.mask << ": " << Estring(mask.ErrorMessage()).Data();
    }
}

TEST(MaskExpressionTest, CheckSyntaxParsesWithoutEvaluating) {
    MaskExpression mask;
    EXPECT_TRUE(mask.CheckSyntax(Westring("(*.c|*.h) & %size>10k & !%attrib=h")));
    // Only the first character of a comparator is looked at while checking.
    EXPECT_TRUE(mask.CheckSyntax(Westring("%size!5")));
    // A file reference is not looked up while checking.
    EXPECT_TRUE(mask.CheckSyntax(Westring("%timestamp>@C:\\no\\such\\file")));
    EXPECT_FALSE(mask.CheckSyntax(Westring("%size~5")));
    EXPECT_TRUE(mask.ErrorMessage().EqualsExact(Westring("Invalid comparitor '~'")));
    EXPECT_FALSE(mask.CheckSyntax(Westring("(*.c")));
    EXPECT_TRUE(mask.ErrorMessage().EqualsExact(Westring(") expected")));
    // Errors in the part a short cut skips are still found.
    EXPECT_EQ(-1, MatchMaskName(Westring("*.c | %foo>1"), Westring("a.c")));
}

class MaskFileTest : public ::testing::Test {
protected:
    Westring Directory() { return qvtest::ToWestring(dir.Path()); }
    qvtest::TempDir dir;
};

// %search hands the path, the text and its option letters to whatever text
// search is installed, and matches nothing while none is.
struct TSearchCall {
    Westring path;
    Westring text;
    bool caseSensitive;
    bool wholeWords;
};
TSearchCall LastSearch;
int64_t RecordingSearch(const Westring& path, const Westring& text, bool caseSensitive, bool wholeWords) {
    LastSearch = {path, text, caseSensitive, wholeWords};
    return text.EqualsExact(Westring("absent")) ? -1 : 7;
}

TEST_F(MaskFileTest, SearchAsksTheInstalledTextSearch) {
    TEntryHolder holder("notes.txt", 10);
    TMaskTextSearch saved = MaskTextSearch;
    MaskTextSearch = nullptr;
    MaskExpression mask;
    EXPECT_EQ(0, mask.Match(Westring("%search(x)"), Directory(), holder.item));

    MaskTextSearch = RecordingSearch;
    struct {
        const char* mask;
        const char* text;
        bool caseSensitive;
        bool wholeWords;
        int expected;
    } cases[] = {
        {"%search(word)", "word", false, false, 1},     {"%search(word, c)", "word", true, false, 1},
        {"%search(word, W)", "word", false, true, 1},   {"%search(\"two words\", wc)", "two words", true, true, 1},
        {"%search(absent)", "absent", false, false, 0},
    };
    for (const auto& c : cases) {
        LastSearch = TSearchCall();
        EXPECT_EQ(c.expected, mask.Match(Westring(c.mask), Directory(), holder.item)) << c.mask;
        EXPECT_TRUE(LastSearch.text.EqualsExact(Westring(c.text))) << c.mask;
        EXPECT_EQ(c.caseSensitive, LastSearch.caseSensitive) << c.mask;
        EXPECT_EQ(c.wholeWords, LastSearch.wholeWords) << c.mask;
        EXPECT_TRUE(LastSearch.path.EqualsExact(PathIn(dir, "notes.txt"))) << c.mask;
    }
    MaskTextSearch = saved;
}

TEST_F(MaskFileTest, TimestampOfAReferencedFileIsLookedUpOnce) {
    qvtest::WString path = dir.Join(W("ref.txt"));
    ASSERT_TRUE(WriteFileBytes(path, "r"));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME written = Local(2024, 3, 1, 12).ToFILETIME();
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);

    Westring text = Westring("%timestamp>@") + PathIn(dir, "ref.txt");
    MaskExpression mask;
    TEntryHolder newer("a", 0, 0, Local(2024, 3, 2));
    TEntryHolder older("b", 0, 0, Local(2024, 2, 28));
    EXPECT_EQ(1, mask.Match(text, Westring(), newer.item));
    EXPECT_EQ(0, mask.Match(text, Westring(), older.item));

    // Gone from the disk, the reference still answers from the cache.
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_EQ(1, mask.Match(text, Westring(), newer.item));

    // A fresh object looks it up and reports it missing, every time.
    MaskExpression fresh;
    Westring expected = Westring("File '") + PathIn(dir, "ref.txt") + Westring("' not found");
    for (int round = 0; round < 2; round++) {
        EXPECT_EQ(-1, fresh.Match(text, Westring(), newer.item));
        EXPECT_TRUE(fresh.ErrorMessage() == expected) << Estring(fresh.ErrorMessage()).Data();
    }
}

}  // namespace
