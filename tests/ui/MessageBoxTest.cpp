#include "ui/MessageBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

TEST(MessageBoxTest, WrapsAtTheLastBlankThatFits) {
    // 100 characters: words of 9 letters and a blank.
    std::string text;
    for (int i = 0; i < 10; i++) {
        text += std::string(9, static_cast<char>('a' + i)) + (i < 9 ? " " : "");
    }
    WestringStore lines;
    WrapMessageText(Westring(text.c_str()), 80, lines);
    ASSERT_EQ(2, lines.Count());
    // The blank at index 69 is the last at or before index 72.
    EXPECT_EQ(text.substr(0, 69), Utf8(*lines.At(0)));
    EXPECT_EQ(text.substr(70), Utf8(*lines.At(1)));

    WrapMessageText(Westring("short"), 80, lines);
    ASSERT_EQ(1, lines.Count());
    EXPECT_EQ("short", Utf8(*lines.At(0)));
    WrapMessageText(Westring(""), 80, lines);
    ASSERT_EQ(1, lines.Count());
    EXPECT_EQ("", Utf8(*lines.At(0)));
}

TEST(MessageBoxTest, LongWordsAreCutAndLinesCapped) {
    WestringStore lines;
    // One word of 200 letters: hard breaks every 73 characters, none lost.
    std::string word(200, 'x');
    WrapMessageText(Westring(word.c_str()), 80, lines);
    ASSERT_EQ(3, lines.Count());
    EXPECT_EQ(73, lines.At(0)->Length());
    EXPECT_EQ(73, lines.At(1)->Length());
    EXPECT_EQ(54, lines.At(2)->Length());

    // A text that needs far more lines stops at the cap, each line in bounds.
    std::string many;
    for (int i = 0; i < 400; i++) {
        many += "word ";
    }
    WrapMessageText(Westring(many.c_str()), 80, lines);
    ASSERT_EQ(MessageBoxMaxLines, lines.Count());
    for (int i = 0; i < lines.Count(); i++) {
        EXPECT_LE(lines.At(i)->Length(), 73) << i;
        EXPECT_GT(lines.At(i)->Length(), 0) << i;
    }
}

}  // namespace
