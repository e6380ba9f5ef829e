#include "base/strings/CellString.h"

#include <gtest/gtest.h>

namespace {

// The characters of a CellString as 32-bit text, for comparisons.
std::u32string Chars(const CellString& s) {
    std::u32string text;
    for (int i = 0; i < s.Length(); ++i)
        text += s.Data()[i].character;
    return text;
}

CellString Digits(uint8_t attribute) {
    return CellString(U"0123456789", attribute);
}

TEST(CellString, GrowsByHalfAndAssignsExactly) {
    CellString s;
    EXPECT_EQ(20, s.Capacity());
    const int expected[] = {31, 48, 73};
    int next = 0;
    for (int i = 0; i < 60; ++i) {
        s.AppendChar(U'a' + i % 26);
        if (s.Length() == 21 || s.Length() == 32 || s.Length() == 49) {
            EXPECT_EQ(expected[next], s.Capacity()) << "after " << s.Length() << " cells";
            ++next;
        }
    }
    EXPECT_EQ(3, next);
    EXPECT_EQ(60, s.Length());
    EXPECT_EQ(U'h', s.Data()[59].character);

    CellString fresh;
    fresh = U"abcdefghijklmnopqrstuvwxy";  // 25 cells
    EXPECT_EQ(25, fresh.Capacity());
    fresh = U"abc";  // the block never shrinks
    EXPECT_EQ(25, fresh.Capacity());
    EXPECT_EQ(U"abc", Chars(fresh));

    CellString roomy(40);
    EXPECT_EQ(40, roomy.Capacity());
    EXPECT_EQ(0, roomy.Length());
}

TEST(CellString, EightBitTextIsLatin1InTheDefaultAttribute) {
    CellString s;
    s.SetDefaultAttribute(0x1E);
    s = "\x41\xE9";
    ASSERT_EQ(2, s.Length());
    EXPECT_EQ(0x41u, static_cast<uint32_t>(s.Data()[0].character));
    EXPECT_EQ(0xE9u, static_cast<uint32_t>(s.Data()[1].character));
    EXPECT_EQ(0x1E, s.Data()[1].attribute);

    CellString utf8("\x41\xC3\xA9\xE2\x82\xAC", 0x30);
    EXPECT_EQ(U"A\u00E9\u20AC", Chars(utf8));
    EXPECT_EQ(0x30, utf8.DefaultAttribute());
    EXPECT_EQ(0x30, utf8.Data()[2].attribute);
}

TEST(CellString, MidLeftAndPadClampTheirArguments) {
    CellString s = Digits(0x17);
    struct {
        int start;
        int count;
        const char32_t* chars;
    } mids[] = {
        {3, -1, U"3456789"}, {12, 2, U""}, {8, 5, U"89"}, {-2, 3, U"012"}, {0, 0, U""}, {10, -1, U""},
    };
    for (const auto& m : mids) {
        CellString part = s.Mid(m.start, m.count);
        EXPECT_EQ(std::u32string(m.chars), Chars(part)) << m.start << "," << m.count;
        EXPECT_EQ(0x17, part.DefaultAttribute());
    }
    EXPECT_EQ(U"012", Chars(s.Left(3)));
    EXPECT_EQ(U"", Chars(s.Left(-1)));
    EXPECT_EQ(U"0123456789", Chars(s.Left(99)));

    CellString three(U"abc", 0x4F);
    CellString padded = three.Pad(5);
    ASSERT_EQ(5, padded.Length());
    EXPECT_EQ(U"abc  ", Chars(padded));
    EXPECT_EQ(0x4F, padded.Data()[4].attribute);
    EXPECT_EQ(U"ab", Chars(three.Pad(2)));
    EXPECT_EQ(0, three.Pad(-3).Length());
}

TEST(CellString, Appending) {
    CellString s(U"ab", 0x07);
    s.AppendText(U"xyz", 0x70, -1);
    s.AppendText(U"pq", 0x71, 1);
    s.AppendText(U"uv", 0x72, 9);
    EXPECT_EQ(U"abxyzpuv", Chars(s));
    EXPECT_EQ(0x70, s.Data()[2].attribute);
    EXPECT_EQ(0x71, s.Data()[5].attribute);
    EXPECT_EQ(0x72, s.Data()[7].attribute);

    s += Westring(U"!");
    EXPECT_EQ(0x07, s.Data()[8].attribute);
    TCell cell = {U'#', 0x5A};
    s += cell;
    EXPECT_EQ(0x5A, s.Data()[9].attribute);

    TCell terminated[] = {{U'1', 1}, {U'2', 2}, {0, 0}};
    s.AppendCells(terminated, -1);
    s.AppendCells(terminated, 1);
    EXPECT_EQ(U"abxyzpuv!#121", Chars(s));

    CellString joined(CellString(U"left", 1), CellString(U"right", 2));
    EXPECT_EQ(U"leftright", Chars(joined));
    EXPECT_EQ(2, joined.Data()[4].attribute);
    EXPECT_EQ(1, joined.DefaultAttribute());
}

TEST(CellString, AppendingAndAssigningItsOwnCells) {
    // The source moves when the block grows; the result must still be whole.
    CellString s = Digits(0x07);
    for (int i = 0; i < 4; ++i)
        s += s;
    ASSERT_EQ(160, s.Length());
    for (int i = 0; i < 160; ++i)
        ASSERT_EQ(static_cast<char32_t>(U'0' + i % 10), s.Data()[i].character) << i;
    s += s.Data()[159];
    EXPECT_EQ(U'9', s.Data()[160].character);
    s.AssignCells(s.Data() + 5, 3);
    EXPECT_EQ(U"567", Chars(s));
    s = s;
    EXPECT_EQ(U"567", Chars(s));
}

TEST(CellString, FindLastAndSetLength) {
    CellString s(U"a/b/c", 0x07);
    EXPECT_EQ(3, s.FindLast(U'/'));
    EXPECT_EQ(-1, s.FindLast(U'x'));
    s.SetLength(30);
    EXPECT_EQ(30, s.Length());
    EXPECT_EQ(45, s.Capacity());
    EXPECT_EQ(U'c', s.Data()[4].character);  // kept while growing
    s.SetLength(2);
    EXPECT_EQ(U"a/", Chars(s));
}

TEST(CellArrays, CopyAppendAndMeasure) {
    TCell cells[12];
    CellStrCopyChars(cells, "ab\xE9", 0x11);
    EXPECT_EQ(3, CellStrLength(cells));
    EXPECT_EQ(0xE9u, static_cast<uint32_t>(cells[2].character));
    EXPECT_EQ(0x11, cells[2].attribute);
    CellStrAppendUnits(cells, U"\u20AC", 0x22);
    EXPECT_EQ(4, CellStrLength(cells));
    EXPECT_EQ(U'\u20AC', cells[3].character);
    EXPECT_EQ(0x22, cells[3].attribute);
    CellStrAppendChars(cells, "z", 0x33);
    EXPECT_EQ(5, CellStrLength(cells));

    TCell copy[12];
    CellStrCopy(copy, cells);
    EXPECT_EQ(5, CellStrLength(copy));
    CellStrAppend(copy, cells);
    EXPECT_EQ(10, CellStrLength(copy));
    EXPECT_EQ(0, CellsDiffer(copy[0], copy[5]));
}

TEST(CellArrays, BoundedCopiesWriteNoTerminatorWhenTheLimitStops) {
    const TCell sentinel = {U'S', 0x99};
    struct {
        bool wide;
        int n;
        int written;  // cells of text written
        bool terminated;
    } cases[] = {
        {false, 2, 2, false}, {false, 3, 3, false}, {false, 5, 3, true},
        {true, 2, 2, false},  {true, 4, 3, true},   {true, 0, 0, false},
    };
    for (const auto& c : cases) {
        TCell cells[6];
        for (TCell& cell : cells)
            cell = sentinel;
        if (c.wide)
            CellStrCopyUnitsN(cells, U"xyz", 0x01, c.n);
        else
            CellStrCopyCharsN(cells, "xyz", 0x01, c.n);
        for (int i = 0; i < c.written; ++i)
            EXPECT_EQ(static_cast<char32_t>(U'x' + i), cells[i].character) << c.wide << " n=" << c.n;
        if (c.terminated)
            EXPECT_EQ(0u, static_cast<uint32_t>(cells[c.written].character)) << c.wide << " n=" << c.n;
        else
            EXPECT_EQ(0, CellsDiffer(sentinel, cells[c.written])) << c.wide << " n=" << c.n;
    }
}

TEST(CellArrays, CellsDifferInCharacterOrAttribute) {
    TCell a = {U'x', 0x07};
    TCell sameChar = {U'x', 0x70};
    TCell sameAttr = {U'y', 0x07};
    TCell same = {U'x', 0x07};
    EXPECT_EQ(1, CellsDiffer(a, sameChar));
    EXPECT_EQ(1, CellsDiffer(a, sameAttr));
    EXPECT_EQ(0, CellsDiffer(a, same));
}

}  // namespace
