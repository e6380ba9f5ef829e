#include <gtest/gtest.h>

#include <cerrno>
#include <climits>

#include "base/strings/Westring.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

Westring Repeat(char c, int n) {
    return RepeatChar32((unsigned char)c, n);
}

TEST(WestringBuffer, InlineUpTo20UnitsThenExactHeapBlock) {
    EXPECT_EQ(Westring(Repeat('a', 20).Data()).Capacity(), 21);
    EXPECT_EQ(Westring(Repeat('a', 21).Data()).Capacity(), 22);
    EXPECT_EQ(Westring(20).Capacity(), 21);
    EXPECT_EQ(Westring(21).Capacity(), 22);
}

TEST(WestringBuffer, AppendsGrowByAQuarterAssignmentsNeverShrink) {
    Westring s(Repeat('a', 20).Data());
    s.AppendChar('b');
    EXPECT_EQ(s.Capacity(), 27);  // 21 + 21/4 + 1
    EXPECT_TRUE(SameUnits(s, Westring("aaaaaaaaaaaaaaaaaaaab")));

    s = Repeat('c', 100);
    EXPECT_EQ(s.Capacity(), 101);
    s = Westring("short");
    EXPECT_EQ(s.Capacity(), 101);
    EXPECT_TRUE(SameUnits(s, Westring("short")));
    s.Clear();
    EXPECT_EQ(s.Capacity(), 101);
    EXPECT_EQ(s.Length(), 0);
}

TEST(WestringBuffer, AppendingAndAssigningItsOwnText) {
    Westring s(Repeat('x', 15).Data());
    s += s;  // grows onto the heap while reading itself
    EXPECT_TRUE(SameUnits(s, Repeat('x', 30)));

    Westring t("abcdef");
    t = t.Data() + 2;
    EXPECT_TRUE(SameUnits(t, Westring("cdef")));
    t = t;
    EXPECT_TRUE(SameUnits(t, Westring("cdef")));
}

TEST(WestringBuffer, MovedFromStringsStayUsable) {
    Westring heap(Repeat('h', 30).Data());
    Westring taken(static_cast<Westring&&>(heap));
    EXPECT_TRUE(SameUnits(taken, Repeat('h', 30)));
    EXPECT_EQ(heap.Length(), 0);
    heap += Westring("again");
    EXPECT_TRUE(SameUnits(heap, Westring("again")));

    Westring small("abc");
    Westring target(Repeat('t', 40).Data());
    target = static_cast<Westring&&>(small);
    EXPECT_TRUE(SameUnits(target, Westring("abc")));
    EXPECT_EQ(small.Length(), 0);
}

TEST(WestringSetAt, AppendsTruncatesAndFillsGapsWithBlanks) {
    Westring s("abc");
    s.SetAt(3, 'x');
    EXPECT_TRUE(SameUnits(s, Westring("abcx")));

    Westring t("abcdef");
    t.SetAt(2, 0);
    EXPECT_TRUE(SameUnits(t, Westring("ab")));

    Westring distant("ab");
    distant.SetAt(5, 'z');
    EXPECT_TRUE(SameUnits(distant, Westring("ab   z")));

    Westring refused("ab");
    refused.SetAt(-1, 'z');
    refused.SetAt(INT_MAX, 'z');
    EXPECT_TRUE(SameUnits(refused, Westring("ab")));
}

TEST(WestringSetAt, IndexingPastTheCapacityReachesTheLastUnitOfTheBuffer) {
    Westring s("ab");
    EXPECT_EQ((char32_t)s[1], U'b');
    EXPECT_EQ((char32_t)s[2], 0u);
    EXPECT_EQ((char32_t)s[-1], 0u);
    s[100] = 'q';  // capacity 21: stores at 20
    EXPECT_EQ(s.Length(), 21);
    EXPECT_EQ(s.Data()[20], U'q');
    EXPECT_EQ(s.Data()[19], U' ');
    s[-3] = 'q';  // refused
    EXPECT_EQ(s.Length(), 21);
}

struct TUtf8Case {
    const char* bytes;
    std::initializer_list<char32_t> units;
    int status;
};

TEST(WestringUtf8, DecodesAndMarksWhatDoesNotDecode) {
    const TUtf8Case cases[] = {
        {"", {}, 1},
        {"\x41\xC3\xA9\xE2\x82\xAC", {0x41, 0xE9, 0x20AC}, 1},
        {"\xF0\x9F\x98\x80", {0x1F600}, 1},
        {"\xC3\x28", {0xC3, 0x28}, 0},
        {"\xC0\x80", {0xFFFFFFFF}, 0},  // overlong NUL
        {"\xE0\x80\x80x", {0xFFFFFFFF, 'x'}, 0},
        {"\xE2\x82", {0xE2, 0x82}, 0},  // cut short at the end
        {"\xE2\x82z", {0xE2, 0x82, 'z'}, 0},
        {"\x80\x80\x41", {0x80, 0x80, 0x41}, 0},  // continuation bytes without a lead
        {"\xF8\x88\x80\x80", {0xF8, 0x88, 0x80, 0x80}, 0},
        {"\xF0\x9F\x98z", {0xF0, 0x9F, 0x98, 'z'}, 0},
        {"\xED\xA0\x80", {0xD800}, 1},        // surrogates pass as decoded
        {"\xC1\x81", {0x41}, 1},              // overlong forms other than NUL too
        {"\xE9t\xE9", {0xE9, 't', 0xE9}, 0},  // Latin-1 text
    };
    for (const TUtf8Case& c : cases) {
        Westring s;
        EXPECT_EQ(s.AssignUtf8(c.bytes), c.status) << Describe(Westring(c.bytes));
        EXPECT_TRUE(SameUnits(s, Units(c.units)));
        EXPECT_TRUE(SameUnits(Westring(c.bytes), Units(c.units)));
    }
}

TEST(WestringUtf8, EncodesEveryUnitLength) {
    const struct {
        char32_t unit;
        const char* bytes;
    } cases[] = {
        {0x41, "\x41"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0xE9, "\xC3\xA9"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0x20AC, "\xE2\x82\xAC"},
        {0xD83D, "\xED\xA0\xBD"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x1F600, "\xF0\x9F\x98\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& c : cases) {
        Westring s = Units({'<', c.unit, '>'});
        Estring out;
        s.ToUtf8(out);
        EXPECT_TRUE(SameBytes(out, (std::string("<") + c.bytes + ">").c_str())) << std::hex << c.unit;
        EXPECT_TRUE(SameBytes(Estring(s), out.Data()));
        Westring back;
        EXPECT_EQ(back.AssignUtf8(out.Data()), 1);
        EXPECT_TRUE(SameUnits(back, s));
    }
}

TEST(WestringUtf16, JoinsPairsAndKeepsLoneSurrogates) {
    const struct {
        std::initializer_list<char16_t> input;
        std::initializer_list<char32_t> units;
    } cases[] = {
        {{0xD83D, 0xDE00, 0}, {0x1F600}},
        {{0xD83D, 0x0041, 0}, {0xD83D, 0x41}},
        {{0xDE00, 0xD83D, 0}, {0xDE00, 0xD83D}},
        {{'a', 0xDBFF, 0xDFFF, 'b', 0}, {'a', 0x10FFFF, 'b'}},
        {{0}, {}},
    };
    for (const auto& c : cases) {
        WCHAR buffer[8];
        int n = 0;
        for (char16_t u : c.input)
            buffer[n++] = (WCHAR)u;
        Westring s;
        EXPECT_EQ(s.AssignUtf16(buffer), 1);
        EXPECT_TRUE(SameUnits(s, Units(c.units)));
        EXPECT_TRUE(SameUnits(Westring(buffer), Units(c.units)));
    }
}

TEST(WestringLatin1, WidensAndNarrowsByteForByte) {
    Westring wide(Estring("caf\xE9"));
    EXPECT_TRUE(SameUnits(wide, Units({'c', 'a', 'f', 0xE9})));
    EXPECT_TRUE(SameBytes(Units({'a', 0x20AC, 0x1E9, 'b'}).ToLatin1(),
                          "a\xAC\xE9"
                          "b"));
}

TEST(WestringSearch, FindsUnitsAndTexts) {
    Westring banana("banana");
    EXPECT_EQ(banana.Find('n'), 2);
    EXPECT_EQ(banana.Find(0), -1);
    EXPECT_EQ(banana.Find('x'), -1);
    EXPECT_EQ(banana.FindLast('a'), 5);
    EXPECT_EQ(banana.FindLast('x'), -1);
    EXPECT_EQ(banana.FindNth('a', 2), 3);
    EXPECT_EQ(banana.FindNth('a', 3), 5);
    EXPECT_EQ(banana.FindNth('a', 4), -1);
    EXPECT_EQ(banana.FindNth('a', 0), -1);

    EXPECT_EQ(banana.Find(Westring("nan")), 2);
    EXPECT_EQ(banana.Find(Westring("NAN")), -1);
    EXPECT_EQ(banana.FindNoCase(Westring("NAN")), 2);
    EXPECT_EQ(banana.Find(Westring("")), 0);
    EXPECT_EQ(Westring().Find(Westring("")), -1);
    EXPECT_EQ(banana.FindFrom(Westring("an"), 2), 3);
    EXPECT_EQ(banana.FindFrom(Westring("an"), 6), -1);
    EXPECT_EQ(banana.FindFrom(Westring("an"), 7), -1);
    EXPECT_EQ(banana.FindFrom(Westring("an"), -1), -1);
}

TEST(WestringSearch, FindUnquotedSkipsQuotedStretches) {
    Westring text("\"a,b\",c");
    EXPECT_EQ(text.FindUnquoted(','), 5);
    EXPECT_EQ(text.FindUnquoted('"'), -1);
    EXPECT_EQ(text.FindUnquoted('c'), 6);
    EXPECT_EQ(Westring("\"open,").FindUnquoted(','), -1);
}

TEST(WestringShape, SubstringsClampTheirArguments) {
    const Westring s("abcdef");
    const struct {
        Westring result;
        const char* expected;
    } cases[] = {
        {s.Left(2), "ab"},
        {s.Left(-1), ""},
        {s.Left(10), "abcdef"},
        {s.Mid(2, 0), "cdef"},
        {s.Mid(2, 2), "cd"},
        {s.Mid(10, 2), ""},
        {s.Mid(-1, 2), ""},
        {s.Mid(4, 9), "ef"},
        {s.Mid(1, -1), "bcdef"},
        {s.Right(2), "ef"},
        {s.Right(-1), "abcdef"},
        {s.Right(0), ""},
        {s.DropRight(2), "abcd"},
        {s.DropRight(6), ""},
        {s.DropRight(-2), "abcdef"},
        {s.Pad(8, '.'), "abcdef.."},
        {s.Pad(3, '.'), "abc"},
        {s.Pad(-4, '.'), ""},
        {s.LPad(8, '.'), "..abcdef"},
        {s.LPad(3, '.'), "def"},
        {s.LPad(-4, '.'), ""},
        {RepeatChar32('z', 3), "zzz"},
        {RepeatChar32('z', -3), ""},
        {Westring(" \t a b \n").Trim(), "a b"},
        {Westring(" \t a b \n").TrimLeft(), "a b \n"},
        {Westring(" \t a b \n").TrimRight(), " \t a b"},
        {Westring("   ").Trim(), ""},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(SameUnits(c.result, Westring(c.expected)));
}

TEST(WestringShape, CaseMappingCopies) {
    Westring s = Units({'a', 0xE9, 0x10428, 'Z'});
    EXPECT_TRUE(SameUnits(s.ToUpper(), Units({'A', 0xC9, 0x10400, 'Z'})));
    EXPECT_TRUE(SameUnits(s.ToLower(), Units({'a', 0xE9, 0x10428, 'z'})));
    EXPECT_TRUE(SameUnits(s, Units({'a', 0xE9, 0x10428, 'Z'})));
}

TEST(WestringReplace, ReplacesOnceOrEverywhereWithoutRescanning) {
    const struct {
        const char* text;
        const char* search;
        const char* replacement;
        const char* all;
        int allResult;
        const char* first;
        int firstResult;
    } cases[] = {
        {"aba", "a", "aa", "aabaa", 1, "aaba", 1},
        {"aaa", "a", "", "", 1, "aa", 1},
        {"abcabc", "bc", "X", "aXaX", 1, "aXabc", 1},
        {"abc", "x", "y", "abc", 0, "abc", 0},
        {"abc", "", "y", "abc", 0, "abc", 0},  // an empty search text replaces nothing
        {"", "", "", "", 0, "", 0},
        {"aaaa", "aa", "a", "aa", 1, "aaa", 1},
    };
    for (const auto& c : cases) {
        Westring all(c.text), first(c.text);
        EXPECT_EQ(all.ReplaceAll(Westring(c.search), Westring(c.replacement)), c.allResult) << c.text;
        EXPECT_TRUE(SameUnits(all, Westring(c.all)));
        EXPECT_EQ(first.ReplaceFirst(Westring(c.search), Westring(c.replacement)), c.firstResult) << c.text;
        EXPECT_TRUE(SameUnits(first, Westring(c.first)));
    }
}

TEST(WestringCompare, EqualityIgnoresCaseUnlessExact) {
    Westring upper("ABC"), lower("abc");
    EXPECT_EQ(upper == lower, 1);
    EXPECT_EQ(upper != lower, 0);
    EXPECT_EQ(upper == U"abc", 1);
    EXPECT_EQ(upper != U"abd", 1);
    EXPECT_TRUE(upper.EqualsNoCase(lower));
    EXPECT_FALSE(upper.EqualsExact(lower));
    EXPECT_TRUE(upper.EqualsExact(Westring("ABC")));
    EXPECT_EQ(Units({0xC9}) == Units({0xE9}), 1);
    EXPECT_EQ(Westring("ab") == Westring("abc"), 0);
}

TEST(WestringConcat, AllOperandKinds) {
    Westring a("ab");
    EXPECT_TRUE(SameUnits(a + Westring("cd"), Westring("abcd")));
    EXPECT_TRUE(SameUnits(U"xy" + a, Westring("xyab")));
    EXPECT_TRUE(SameUnits(a + U"xy", Westring("abxy")));
    a += '\xE9';
    EXPECT_TRUE(SameUnits(a, Units({'a', 'b', 0xE9})));
    Westring longer = Repeat('x', 30) + Repeat('y', 30);
    EXPECT_EQ(longer.Length(), 60);
    EXPECT_EQ(longer.Data()[30], U'y');
}

struct TPathCase {
    const char* path;
    const char* directory;
    const char* fileName;
    const char* withoutBackslash;
    const char* withBackslash;
};

const TPathCase PathCases[] = {
    {"C:\\dir\\", "C:\\dir", "", "C:\\dir", "C:\\dir\\"},
    {"C:\\file", "C:\\", "file", "C:\\file", "C:\\file\\"},
    {"C:\\", "C:\\", "", "C:", "C:\\"},
    {"C:file", "", "C:file", "C:file", "C:file\\"},
    {"dir/sub/file", "dir/sub", "file", "dir/sub/file", "dir/sub/file\\"},
    {"\\file", "", "file", "\\file", "\\file\\"},
    {"a\\b/c.txt", "a\\b", "c.txt", "a\\b/c.txt", "a\\b/c.txt\\"},
    {"\\\\", "\\", "", "\\\\", "\\\\"},
    {"\\", "", "", "", "\\"},
    {"", "", "", "", ""},
};

TEST(WestringPath, SplitsAndJoinsPaths) {
    for (const TPathCase& c : PathCases) {
        Westring path(c.path);
        EXPECT_TRUE(SameUnits(ExtractDirectory(path), Westring(c.directory))) << c.path;
        EXPECT_TRUE(SameUnits(ExtractFileName(path), Westring(c.fileName))) << c.path;
        EXPECT_TRUE(SameUnits(RemoveTrailingBackslash(path), Westring(c.withoutBackslash))) << c.path;
        EXPECT_TRUE(SameUnits(AddTrailingBackslash(path), Westring(c.withBackslash))) << c.path;
    }
}

TEST(EstringPath, SameRulesAsTheWideTwins) {
    for (const TPathCase& c : PathCases) {
        Estring path(c.path);
        EXPECT_TRUE(SameBytes(ExtractDirectory(path), c.directory)) << c.path;
        EXPECT_TRUE(SameBytes(ExtractFileName(path), c.fileName)) << c.path;
        EXPECT_TRUE(SameBytes(RemoveTrailingBackslash(path), c.withoutBackslash)) << c.path;
        EXPECT_TRUE(SameBytes(AddTrailingBackslash(path), c.withBackslash)) << c.path;
    }
}

}  // namespace
