#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "base/strings/Estring.h"
#include "tests/base/strings/StringTestSupport.h"

namespace {

TEST(EstringBuffer, InlineUpTo20BytesThenExactHeapBlock) {
    EXPECT_EQ(Estring(std::string(20, 'a').c_str()).Capacity(), 21);
    EXPECT_EQ(Estring(std::string(21, 'a').c_str()).Capacity(), 22);
    EXPECT_EQ(Estring(nullptr).Length(), 0);

    Estring s(std::string(20, 'a').c_str());
    s += 'b';
    EXPECT_EQ(s.Capacity(), 27);
    s = std::string(100, 'c').c_str();
    EXPECT_EQ(s.Capacity(), 101);
    s = "short";
    EXPECT_EQ(s.Capacity(), 101);
    s = nullptr;
    EXPECT_TRUE(SameBytes(s, ""));
}

TEST(EstringBuffer, AppendingItsOwnText) {
    Estring s(std::string(15, 'x').c_str());
    s += s;
    EXPECT_TRUE(SameBytes(s, std::string(30, 'x').c_str()));
    s += s.Data() + 25;
    EXPECT_TRUE(SameBytes(s, std::string(35, 'x').c_str()));
    s += (const char*)nullptr;
    EXPECT_EQ(s.Length(), 35);
}

TEST(EstringSetAt, AppendsTruncatesFillsGapsAndRefusesNegativeIndexes) {
    Estring s("abcdef");
    s.SetAt(2, 0);
    EXPECT_TRUE(SameBytes(s, "ab"));
    s.SetAt(2, 'x');
    EXPECT_TRUE(SameBytes(s, "abx"));
    s.SetAt(6, 'z');
    EXPECT_TRUE(SameBytes(s, "abx   z"));
    s.SetAt(-1, 'q');
    s[-5] = 'q';
    EXPECT_TRUE(SameBytes(s, "abx   z"));
    s[50] = '!';  // past the capacity: the last byte of the buffer
    EXPECT_EQ(s.Length(), 21);
    EXPECT_EQ(s[20], '!');
}

TEST(EstringSearch, FindsBytes) {
    Estring s("banana");
    EXPECT_EQ(s.Find('n'), 2);
    EXPECT_EQ(s.Find(0), -1);
    EXPECT_EQ(s.FindLast('a'), 5);
    EXPECT_EQ(s.FindLast(0), -1);
    EXPECT_EQ(s.FindNth('a', 2), 3);
    EXPECT_EQ(s.FindNth('a', 0), -1);
    EXPECT_EQ(s.FindNth('a', 4), -1);
}

TEST(EstringShape, SubstringsClampTheirArguments) {
    const Estring s("abcdef");
    const struct {
        Estring result;
        const char* expected;
    } cases[] = {
        {s.Left(2), "ab"},
        {s.Left(-1), ""},
        {s.Left(9), "abcdef"},
        {s.Mid(2, 0), "cdef"},
        {s.Mid(-1, 2), ""},
        {s.Mid(10, 1), ""},
        {s.Mid(4, 9), "ef"},
        {s.Right(2), "ef"},
        {s.Right(-1), "abcdef"},
        {s.DropRight(2), "abcd"},
        {s.DropRight(9), ""},
        {s.DropRight(-1), "abcdef"},
        {s.Pad(8, '.'), "abcdef.."},
        {s.Pad(2, '.'), "ab"},
        {s.Pad(-1, '.'), ""},
        {s.LPad(8, '.'), "..abcdef"},
        {s.LPad(2, '.'), "ef"},
        {s.LPad(-1, '.'), ""},
        {RepeatChar('-', 3), "---"},
        {RepeatChar('-', 0), ""},
        {RepeatChar('-', -2), ""},
        {Estring(" \t x y \r\n").Trim(), "x y"},
        {Estring(" \t x y \r\n").TrimLeft(), "x y \r\n"},
        {Estring(" \t x y \r\n").TrimRight(), " \t x y"},
        {Estring("MiXeD \xC9").ToLower(), "mixed \xC9"},
        {Estring("ab") + "cd", "abcd"},
        {"xy" + Estring("ab"), "xyab"},
        {Estring("ab") + Estring("cd"), "abcd"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(SameBytes(c.result, c.expected));
}

TEST(EstringCompare, RelationalOperatorsIgnoreCase) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"abc", "ABC", 0}, {"a", "B", -1}, {"B", "a", 1}, {"", "a", -1}, {"ab", "a", 1}, {"x_", "xa", -1},
    };
    for (const auto& c : cases) {
        Estring a(c.a), b(c.b);
        EXPECT_EQ(a == b, c.order == 0) << c.a << " " << c.b;
        EXPECT_EQ(a != c.b, c.order != 0);
        EXPECT_EQ(a < b, c.order < 0);
        EXPECT_EQ(a > c.b, c.order > 0);
        EXPECT_EQ(a <= b, c.order <= 0);
        EXPECT_EQ(a >= c.b, c.order >= 0);
    }
}

TEST(EstringText, FixedFieldsAndTabs) {
    EXPECT_TRUE(SameBytes(FieldToEstring("ab  \0xyz", 8), "ab"));
    EXPECT_TRUE(SameBytes(FieldToEstring("abcd", 2), "ab"));
    EXPECT_TRUE(SameBytes(FieldToEstring("   ", 3), ""));

    const struct {
        const char* text;
        const char* expanded;
    } tabs[] = {
        {"\tx", "       x"},        {"ab\tc", "ab     c"},
        {"\t\tx", "       x"},  // the second tab, at column 7, adds nothing
        {"abcdefg\th", "abcdefgh"}, {"abcdefgh\ti", "abcdefgh       i"},
        {"plain", "plain"},
    };
    for (const auto& c : tabs)
        EXPECT_TRUE(SameBytes(ExpandTabs(c.text, 8), c.expanded)) << c.text;
    EXPECT_TRUE(SameBytes(ExpandTabs("a\tb", 0), "ab"));
}

TEST(EstringSplit, KeyValuePairs) {
    const struct {
        const char* text;
        const char* key;
        const char* value;
        bool ok;
    } cases[] = {
        {" Key = value ; note", "Key", "value", true},
        {"a;b=c", "a;b=c", "", false},
        {"no separator", "no separator", "", false},
        {"k=", "k", "", true},
        {"=v", "", "v", true},
        {"k = a=b", "k", "a=b", true},
    };
    for (const auto& c : cases) {
        Estring key("old"), value("old");
        EXPECT_EQ(SplitKeyValue(Estring(c.text), '=', key, value), c.ok) << c.text;
        EXPECT_TRUE(SameBytes(key, c.key));
        EXPECT_TRUE(SameBytes(value, c.value));

        char keyBuffer[64], valueBuffer[64];
        EXPECT_EQ(SplitKeyValue(c.text, '=', keyBuffer, valueBuffer), c.ok);
        EXPECT_STREQ(keyBuffer, c.key);
        EXPECT_STREQ(valueBuffer, c.value);
    }
}

TEST(EstringNumbers, IntegersInEveryRadix) {
    const struct {
        Estring text;
        const char* expected;
    } cases[] = {
        {IntToEstring(-255, 16), "-FF"},
        {IntToEstring(0, 10), "0"},
        {IntToEstring(0, 2), "0"},
        {IntToEstring(5, 2), "101"},
        {IntToEstring(35, 36), "Z"},
        {IntToEstring(123456), "123456"},
        {IntToEstring(INT_MIN, 10), "-2147483648"},
        {IntToEstring(INT_MIN, 16), "-80000000"},
        {IntToEstring(INT_MAX, 10), "2147483647"},
        {UIntToEstring(0xFFFFFFFFu, 16), "FFFFFFFF"},
        {UIntToEstring(4000000000u, 10), "4000000000"},
        {Int64ToEstring(INT64_MIN, 10), "-9223372036854775808"},
        {Int64ToEstring(INT64_MAX, 36), "1Y2P0IJ32E8E7"},
        {Int64ToEstring(-1, 2), "-1"},
        {IntToEstring(10, 1), ""},  // radix refused
        {IntToEstring(10, 37), ""},
        {Int64ToEstring(10, 0), ""},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(SameBytes(c.text, c.expected));
}

TEST(EstringFormat, FormatsAndCutsAt1023Bytes) {
    Estring s;
    EXPECT_TRUE(SameBytes(s.Format("%d-%s-%02X", 12, "ab", 10), "12-ab-0A"));
    std::string big(2000, 'x');
    s.Format("%s", big.c_str());
    EXPECT_EQ(s.Length(), 1023);
    EXPECT_TRUE(SameBytes(s, big.substr(0, 1023).c_str()));
}

TEST(EstringErrorText, OneLineThenTheCode) {
    Estring text = FormatSystemErrorA(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text.Find('\r'), -1);
    EXPECT_EQ(text.Find('\n'), -1);
    EXPECT_GT(text.Length(), 4);
    EXPECT_TRUE(SameBytes(text.Right(4), " (2)"));

    // A system text ending in CR LF: the CR becomes a blank and the LF after it goes.
    char raw[501] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | 80, nullptr, ERROR_FILE_NOT_FOUND, 0,
                   raw, sizeof raw, nullptr);
    std::string line(raw);
    if (line.size() > 2 && line.find_first_of("\r\n") == line.size() - 2 &&
        line.compare(line.size() - 2, 2, "\r\n") == 0 && line[line.size() - 3] != ' ') {
        EXPECT_TRUE(SameBytes(text, (line.substr(0, line.size() - 2) + "  (2)").c_str()));
    }

    // Codes are shown in signed decimal, whatever text the system has for them.
    Estring unknown = FormatSystemErrorA(0xDEAD0001u);
    EXPECT_TRUE(SameBytes(unknown.Right(13), " (-559087615)"));
}

}  // namespace
