// The scroll-back buffer keeps rows compactly: every row read back is the row
// added, cell for cell, whatever its characters, attributes and blanks.
#include "ui/ScrollBack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A row from its characters and one attribute letter per cell ('a' + attr).
std::vector<TCell> MakeRow(const std::u32string& text, const std::string& attributes) {
    std::vector<TCell> row;
    for (size_t i = 0; i < text.size(); ++i) {
        row.push_back(TCell{text[i], static_cast<uint8_t>(attributes[i] - 'a')});
    }
    return row;
}

void ExpectRow(const CellString& got, const std::vector<TCell>& want, const std::string& what) {
    ASSERT_EQ(got.Length(), static_cast<int>(want.size())) << what;
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got.Data()[i].character, want[i].character) << what << ", cell " << i;
        EXPECT_EQ(got.Data()[i].attribute, want[i].attribute) << what << ", cell " << i;
    }
}

TEST(ScrollBackBuffer, EveryRowComesBackCellForCell) {
    std::vector<std::vector<TCell>> rows = {
        MakeRow(U"plain text      ", "hhhhhhhhhhhhhhhh"),
        // Blanks at the end in colours of their own, and blanks inside.
        MakeRow(U"ab  c   ", "hhbbccpp"),
        MakeRow(U"        ", "hhhhhhhh"),
        MakeRow(U"", ""),
        // Characters of every UTF-8 length, a control glyph, and values that
        // are no characters at all.
        MakeRow(U"\u00e9\u20ac\U0001F600\x7F\x01", "abcde"),
        {TCell{0xD800, 7}, TCell{0x10FFFF, 7}, TCell{0, 7}, TCell{' ', 0xFF}},
    };
    std::vector<TCell> wide;
    for (int i = 0; i < 200; ++i) {
        wide.push_back(TCell{i < 80 ? static_cast<char32_t>('A' + i % 26) : U' ', static_cast<uint8_t>(i / 50)});
    }
    rows.push_back(wide);

    CScrollBackBuffer buffer;
    for (const std::vector<TCell>& row : rows) {
        buffer.Add(row.data(), static_cast<int>(row.size()));
    }
    ASSERT_EQ(buffer.Count(), static_cast<int>(rows.size()));
    CellString got;
    for (size_t i = 0; i < rows.size(); ++i) {
        buffer.Line(static_cast<int>(i), got);
        ExpectRow(got, rows[i], "row " + std::to_string(i));
    }
    // Taken away from the end, the others stay as they were.
    buffer.RemoveLast();
    buffer.RemoveLast();
    ASSERT_EQ(buffer.Count(), static_cast<int>(rows.size()) - 2);
    buffer.Add(rows[0].data(), static_cast<int>(rows[0].size()));
    buffer.Line(buffer.Count() - 1, got);
    ExpectRow(got, rows[0], "added again");
    buffer.Line(3, got);
    ExpectRow(got, rows[3], "row 3 after the removal");
    // Past the end: nothing.
    buffer.Line(buffer.Count(), got);
    EXPECT_EQ(got.Length(), 0);
    buffer.FreeAll();
    EXPECT_EQ(buffer.Count(), 0);
}

}  // namespace
