#include "viewedit/EditorLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u32string Chars(const QVEditorLine& line) {
    std::u32string out;
    for (int i = 0; i < line.Length(); i++)
        out += line.At(i);
    return out;
}

// One byte per character while every character is below 0x100; a line that
// takes a wider one moves to a record of 32-bit characters, in its slot, with
// its line end and trim flag, and reads the same through At and Text. A new
// record takes the narrow form again when it can.
TEST(EditorLineTest, LinesKeepEveryCharacterWhateverTheirForm) {
    MemoryPool pool;
    QVEditorLineStore lines(&pool);
    struct TStep {
        const char* what;
        const char32_t* text;
        bool wide;
        bool moved;  // a new record took the slot
    };
    const TStep steps[] = {
        {"Latin-1", U"caf\u00E9 \u00FF", false, false},
        {"shorter, in place", U"ab", false, false},
        {"empty", U"", false, false},
        {"a Cyrillic letter", U"a\u0436b", true, true},
        {"beyond the first plane", U"\U0001F600", true, false},
        {"back to ASCII, still wide", U"xyz", true, false},
        {"longer, narrow again in a new record", U"a longer line than any before", false, true},
    };
    ASSERT_TRUE(lines.AddLine(U"the first line", 1));
    lines.At(0)->trim = 1;
    for (const TStep& step : steps) {
        const QVEditorLine* before = lines.At(0);
        ASSERT_TRUE(lines.ReplaceText(0, step.text)) << step.what;
        const QVEditorLine* line = lines.At(0);
        EXPECT_EQ(Chars(*line), std::u32string(step.text)) << step.what;
        EXPECT_EQ(std::u32string(line->Text().Data()), std::u32string(step.text)) << step.what;
        EXPECT_EQ(line->IsEmpty(), step.text[0] == 0) << step.what;
        EXPECT_EQ(line->wide != 0, step.wide) << step.what;
        EXPECT_EQ(line != before, step.moved) << step.what;
        EXPECT_EQ(line->lineEnd, 1u) << step.what;
        EXPECT_EQ(line->trim, 1) << step.what;
    }
    // A line longer than the narrow buffer of Text.
    std::u32string longLine(1000, U'\u00E9');
    ASSERT_TRUE(lines.AddLine(longLine.c_str(), 0, int(longLine.size())));
    EXPECT_EQ(std::u32string(lines.At(1)->Text().Data()), longLine);
    EXPECT_EQ(lines.At(1)->wide, 0);
}

}  // namespace
