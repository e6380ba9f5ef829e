#include "ui/StringField.h"

#include <gtest/gtest.h>

#include "app/settings/Histories.h"
#include "tests/ui/UiConsole.h"

namespace {

using qvtest::UiConsole;

class StringFieldTest : public UiConsole {
protected:
    // Runs a dialog with one field over the text; the events are queued
    // first. Answers the exit code.
    int RunField(Westring& text, int width, int maxLength, int kind = 14) {
        Dialog d(0, 0, 40, 4, 0x70);
        field = nullptr;
        int i = d.AddStringField(1, 1, 1, text, width, maxLength, kind);
        field = static_cast<StringField*>(d.Element(i));
        int result = d.Run();
        shown = Row(2, 2, width);
        firstAttr = AttrAt(2, 2);
        mark = CharAt(2 + width, 2);
        selStart = field->SelectionStart();
        selEnd = field->SelectionEnd();
        cursor = field->Cursor();
        return result;
    }
    StringField* field = nullptr;
    int selStart = 0, selEnd = 0, cursor = 0;
    // The screen as the dialog left it.
    std::string shown;
    uint8_t firstAttr = 0;
    char32_t mark = 0;
};

struct TEditCase {
    const char* what;
    const char* initial;
    std::vector<std::vector<int>> keys;  // {code, character, shift}
    const char* expected;
    int maxLength;
};

TEST_F(StringFieldTest, Editing) {
    const int shift = SHIFT_SHIFT;
    const TEditCase cases[] = {
        {"the first character replaces the text", "hello", {{'x', 'x', 0}}, "x", -1},
        {"a move first keeps it", "hello", {{KEY_LEFT, 0, 0}, {'x', 'x', 0}}, "hellxo", -1},
        {"at the maximum a character is dropped", "abc", {{KEY_END, 0, 0}, {'d', 'd', 0}}, "abc", 3},
        {"backspace and delete",
         "abcd",
         {{KEY_HOME, 0, 0}, {KEY_DELETE, 0, 0}, {KEY_END, 0, 0}, {KEY_BACKSPACE, 0, 0}},
         "bc",
         -1},
        {"a selection is replaced by what is typed",
         "abcdef",
         {{KEY_HOME, 0, 0}, {KEY_RIGHT + KEY_SHIFTED, 0, shift}, {KEY_RIGHT + KEY_SHIFTED, 0, shift}, {'X', 'X', 0}},
         "Xcdef",
         -1},
        {"Ctrl+Left lands on the word's first character",
         "one two",
         {{KEY_CTRL_LEFT, 0, 2}, {'_', '_', 0}},
         "one _two",
         -1},
        {"code 127 deletes the word left", "one two", {{127, 127, 2}}, "one ", -1},
        {"Ctrl+Delete deletes to the next word", "one two", {{KEY_HOME, 0, 0}, {KEY_CTRL_DELETE, 0, 2}}, "two", -1},
        {"Ctrl-Q inserts the next key literally", "", {{17, 17, 2}, {1, 1, 2}}, "\x01", -1},
        {"the grey plus is a plus", "a", {{KEY_END, 0, 0}, {KEY_GREY_PLUS, '+', 0}}, "a+", -1},
    };
    for (const TEditCase& c : cases) {
        Westring text(c.initial);
        for (const auto& k : c.keys) {
            Key(k[0], k[1], k[2]);
        }
        Key(KEY_ENTER);
        EXPECT_EQ(RunField(text, 20, c.maxLength), 13) << c.what;
        EXPECT_TRUE(text.EqualsExact(Westring(c.expected))) << c.what;
    }
}

TEST_F(StringFieldTest, ShiftMovesSelectAndShrinkFromTheAnchor) {
    Westring text("abcdef");
    Key(KEY_HOME + KEY_SHIFTED, 0, SHIFT_SHIFT);
    Key(KEY_ESC);
    RunField(text, 20, -1);
    EXPECT_EQ(selStart, 0);
    EXPECT_EQ(selEnd, 6);
    // The selection is drawn with the colours swapped.
    EXPECT_EQ(firstAttr, 0x03);

    Key(KEY_HOME + KEY_SHIFTED, 0, SHIFT_SHIFT);
    Key(KEY_RIGHT + KEY_SHIFTED, 0, SHIFT_SHIFT);
    Key(KEY_ESC);
    RunField(text, 20, -1);
    EXPECT_EQ(selStart, 1);
    EXPECT_EQ(selEnd, 6);

    // Plain moves end a selection; meeting the anchor ends it too.
    Key(KEY_LEFT);
    Key(KEY_LEFT);
    Key(KEY_RIGHT + KEY_SHIFTED, 0, SHIFT_SHIFT);
    Key(KEY_LEFT + KEY_SHIFTED, 0, SHIFT_SHIFT);
    Key(KEY_ESC);
    RunField(text, 20, -1);
    EXPECT_EQ(selStart, selEnd);
    EXPECT_EQ(cursor, 4);
}

TEST_F(StringFieldTest, ScrollingKeepsTheCursorInTheLastVisibleColumn) {
    Westring text;
    Key('a', 'a');
    Type("bcdefghijklmn");
    Key(KEY_ESC);
    RunField(text, 8, -1);
    EXPECT_TRUE(text.EqualsExact(Westring("abcdefghijklmn")));
    // 8 columns at screen x 2..9: the last 7 characters and the cursor.
    EXPECT_EQ(shown, "hijklmn ");
}

TEST_F(StringFieldTest, HistoryIsStoredOnEnterOnly) {
    WestringStore& history = InputHistories[FieldKindSelectMask];
    history.FreeAll();
    Westring text("*.txt");
    Key(KEY_ESC);
    RunField(text, 20, -1, FieldKindSelectMask);
    EXPECT_EQ(history.Count(), 0);
    Key(KEY_ENTER);
    RunField(text, 20, -1, FieldKindSelectMask);
    ASSERT_EQ(history.Count(), 1);
    EXPECT_TRUE(history.At(0)->EqualsExact(Westring("*.txt")));
    // The drop-down mark stands right of the field.
    EXPECT_EQ(mark, U'\u2193');
    Westring none("no history");
    Key(KEY_ENTER);
    RunField(none, 20, -1, 14);
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(mark, U' ');
}

TEST_F(StringFieldTest, HistoryDropDownPutsTheChosenEntryIntoTheField) {
    WestringStore& history = InputHistories[FieldKindFindFiles];
    history.FreeAll();
    history.Add(new Westring("first"));
    history.Add(new Westring("second"));
    Westring text("typed");
    Key(KEY_ALT_DOWN, 0, SHIFT_ALT);  // Alt+Down: the newest is selected
    Key(KEY_UP);
    Key(KEY_ENTER);  // chosen: ends the drop-down only
    Key(KEY_ESC);
    RunField(text, 20, -1, FieldKindFindFiles);
    EXPECT_TRUE(text.EqualsExact(Westring("first")));
}

TEST_F(StringFieldTest, IntegerFieldTakesDigitsOnly) {
    struct {
        const char* what;
        int32_t initial;
        int keep;
        std::vector<int> keys;
        int32_t value;
        const char* shown;
    } cases[] = {
        {"digits replace the number", 5, 0, {'4', '2', '7'}, 42, "42"},
        {"minus and letters are refused", 7, 0, {KEY_END, '-', 'a', '3'}, 73, "73"},
        {"emptied shows 0", 12, 0, {KEY_END, KEY_BACKSPACE, KEY_BACKSPACE}, 0, "0 "},
        {"emptied, keeping typed text", 12, 1, {KEY_END, KEY_BACKSPACE, KEY_BACKSPACE}, 0, "  "},
    };
    for (const auto& c : cases) {
        Dialog d(0, 0, 40, 4, 0x70);
        int32_t value = c.initial;
        d.AddIntegerField(1, 1, 1, &value, 2, c.keep, 14);
        for (int k : c.keys) {
            Key(k, k < 256 ? k : 0);
        }
        Key(KEY_ESC);
        d.Run();
        EXPECT_EQ(value, c.value) << c.what;
        d.DrawElement(0);
        EXPECT_EQ(Row(2, 2, 2), c.shown) << c.what;
    }
}

}  // namespace
