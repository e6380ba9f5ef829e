#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "ui/Clock.h"
#include "app/program/CommandDispatch.h"
#include "ui/FunctionKeyBar.h"
#include "console/KeyCodes.h"

namespace {

TEST(FunctionKeyBar, ClickColumnGivesTheSlotsKeyByButtonAndShiftState) {
    struct TCase {
        int x;
        int columns;
        int action;
        int shift;
        int key;
    };
    const TCase cases[] = {
        {79, 80, 5, 0, KEY_F10},                                 // column 79: slot 9
        {7, 80, 5, 0, KEY_F2},                                   // (7 + 1) / 8 = 1
        {6, 80, 5, 0, KEY_F1},       {0, 80, 6, 0, KEY_ALT_F1},  // right button: Alt whatever the shift state
        {0, 80, 1, 4, KEY_ALT_F1},   {20, 80, 5, 1, KEY_ALT_F3},   {20, 80, 5, 4, KEY_SHIFT_F3},
        {20, 80, 5, 2, KEY_CTRL_F3}, {20, 80, 5, 6, KEY_SHIFT_F3},  // Shift wins over Ctrl
        {131, 132, 5, 0, KEY_F10},                                  // the slot never passes 9
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(FunctionKeyFromBarSlot(c.x, c.columns, c.action, c.shift), c.key) << c.x << " " << c.shift;
    }
}

TEST(FunctionKeyBar, EveryLabelStartsWithItsKeyNumber) {
    for (int set = 0; set < 8; set++) {
        for (int k = 0; k < 10; k++) {
            std::string number = std::to_string(k + 1);
            EXPECT_EQ(std::string(FunctionKeyLabels[set][k]).compare(0, number.size(), number), 0) << set << " " << k;
        }
    }
    EXPECT_STREQ(FunctionKeyLabels[0][9], "10Quit");
    EXPECT_STREQ(FunctionKeyLabels[1][8], "9EGA Ln");
    EXPECT_STREQ(FunctionKeyLabels[4][9], "10MenuRe");
}

TEST(Clock, TextInBothTimeModes) {
    struct TCase {
        int hour;
        int minute;
        int second;
        int mode;
        const char* text;
    };
    const TCase cases[] = {
        {13, 5, 7, 12, " 1 05p"},   {0, 30, 0, 12, "12:30a"}, {12, 0, 2, 12, "12:00p"},
        {11, 59, 59, 12, "11 59a"}, {13, 5, 8, 24, "13:05"},  {0, 7, 1, 24, " 0 07"},
    };
    for (const TCase& c : cases) {
        char text[8];
        FormatClockText(text, c.hour, c.minute, c.second, c.mode);
        EXPECT_STREQ(text, c.text);
    }
}

TEST(CommandDispatch, NoCodeSelectsTwoCommands) {
    std::set<int> seen;
    for (int i = 0; i < KeyBindingCount; i++) {
        EXPECT_TRUE(seen.insert(KeyBindings[i].code).second) << std::hex << KeyBindings[i].code;
    }
    // The function keys F1 to F10 all have a command.
    for (int key = KEY_F1; key <= KEY_F10; key++) {
        if (key != KEY_F9) {  // F9 opens the menu bar before the table
            EXPECT_EQ(seen.count(key), 1u) << std::hex << key;
        }
    }
}

}  // namespace
