// The menu table, its marks, and the menu bar run on a console on pipes with
// its keys and mouse events queued before it runs.
#include "app/program/Menus.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "app/panels/Panel.h"
#include "app/program/OptionDialogs.h"
#include "console/MenuCodes.h"
#include "tests/app/panels/TestPanelPair.h"
#include "tests/ui/UiConsole.h"

namespace {

const int MouseActionPress = 1;
const int MouseActionRelease = 2;
const int MouseActionMove = 3;

bool Marked(int menu, int row) {
    return PullDownMenus[menu].items[row].mark == MenuMarkOn;
}

TEST(PullDownMenus, EveryMenuFitsItsWidthAndItsHotLetters) {
    const struct {
        int count;
        int width;
        const char* letters;  // the hot letters in row order, '-' for a separator
    } menus[MenuTitleCount] = {
        {19, 21, "bfwehitO-nxmsuv-rld"}, {20, 27, "luvecrmd-afto-gnis-q"}, {16, 30, "tfheip-sncydo-am"},
        {13, 25, "con-hpfltur-s"},       {19, 21, "bfwehitO-nxmsuv-rld"},
    };
    for (int m = 0; m < MenuTitleCount; m++) {
        const TPullDownMenu& menu = PullDownMenus[m];
        ASSERT_EQ(static_cast<int>(menu.count), menus[m].count) << m;
        EXPECT_EQ(static_cast<int>(menu.width), menus[m].width) << m;
        for (int i = 0; i < menus[m].count; i++) {
            const TPullDownItem& item = menu.items[i];
            const char expected = static_cast<char>(std::tolower(menus[m].letters[i]));
            if (expected == '-') {
                EXPECT_TRUE(item.IsSeparator()) << m << " " << i;
                continue;
            }
            ASSERT_FALSE(item.IsSeparator()) << m << " " << i;
            // The mark column and the text stay inside the menu.
            EXPECT_LT(static_cast<int>(std::strlen(item.text)) + 1, menus[m].width) << item.text;
            EXPECT_EQ(item.HotLetter(), expected) << item.text;
            EXPECT_NE(item.code, 0u) << item.text;
        }
    }
    EXPECT_EQ(std::string(MenuBarLine).find("  Commands  "), std::string::size_type(MenuTitleColumns[MenuCommands]));
}

TEST(PullDownMenus, MarksFollowThePanelsAndTheSettings) {
    paneltest::TestPanelPair pair;
    const int rowBrief = 0, rowFullWidth = 4, rowInfo = 5, rowTree = 6, rowName = 9, rowReverse = 14;
    // View style and type against the four view marks and the tree mark.
    for (int type : {PANEL_FILES, PANEL_INFO}) {
        for (int style = 0; style <= VIEW_TREE; style++) {
            SCOPED_TRACE(testing::Message() << "type " << type << " style " << style);
            pair[0].panelType = type;
            pair[0].viewStyle = style;
            pair[1].panelType = PANEL_FILES;
            pair[1].viewStyle = VIEW_BRIEF;
            UpdateMenuMarks();
            for (int view = 0; view < 4; view++) {
                EXPECT_EQ(Marked(MenuLeft, rowBrief + view), type == PANEL_FILES && style == view) << view;
            }
            EXPECT_EQ(Marked(MenuLeft, rowTree), type == PANEL_FILES && style == VIEW_TREE);
            EXPECT_EQ(Marked(MenuLeft, rowInfo), type == PANEL_INFO);
            // The right menu follows the right panel only.
            EXPECT_TRUE(Marked(MenuRight, rowBrief));
            EXPECT_FALSE(Marked(MenuRight, rowInfo));
        }
    }
    for (int width : {WIDTH_HALF, WIDTH_FORCEDHALF, WIDTH_FULL}) {
        pair[1].widthKind = width;
        UpdateMenuMarks();
        EXPECT_EQ(Marked(MenuRight, rowFullWidth), width == WIDTH_FULL) << width;
        EXPECT_FALSE(Marked(MenuLeft, rowFullWidth));
    }
    for (int mode = 0; mode <= 9; mode++) {
        pair[0].sortMode = mode;
        UpdateMenuMarks();
        for (int key = 0; key < 5; key++) {
            EXPECT_EQ(Marked(MenuLeft, rowName + key), mode % 5 == key) << mode << " " << key;
        }
        EXPECT_EQ(Marked(MenuLeft, rowReverse), mode >= 5) << mode;
    }
    // Separators never carry a mark.
    EXPECT_EQ(PullDownMenus[MenuLeft].items[8].mark, MenuMarkOff);

    const struct {
        int row;
        uint8_t TCONFIG::*byteSetting;
        int32_t TCONFIG::*intSetting;
    } options[] = {
        {4, &TCONFIG::Hidden, nullptr},       {5, &TCONFIG::PathPrompt, nullptr}, {6, &TCONFIG::FullScreen, nullptr},
        {7, nullptr, &TCONFIG::Clock},        {8, &TCONFIG::TagDirs, nullptr},    {9, &TCONFIG::ThousandSep, nullptr},
        {10, &TCONFIG::RetainCount, nullptr},
    };
    TCONFIG saved = Config;
    for (const auto& on : options) {
        for (const auto& o : options) {
            if (o.byteSetting) {
                Config.*o.byteSetting = &o == &on ? 1 : 0;
            } else {
                Config.*o.intSetting = &o == &on ? 1 : 0;
            }
        }
        UpdateMenuMarks();
        for (const auto& o : options) {
            EXPECT_EQ(Marked(MenuOptions, o.row), &o == &on) << PullDownMenus[MenuOptions].items[o.row].text;
        }
    }
    Config = saved;
}

class MenuBarTest : public qvtest::UiConsole {
protected:
    void SetUp() override {
        qvtest::UiConsole::SetUp();
        Config.PanelHeight = 10;
    }
    // A key with its character, as the host sends letters.
    void Letter(char c) { Key(c, c); }
    paneltest::TestPanelPair pair;
};

TEST_F(MenuBarTest, KeysChooseItemsAndSkipSeparators) {
    const struct {
        const char* what;
        int side;
        std::vector<int> keys;  // negative: a letter
        int expected;
    } cases[] = {
        {"down twice in the left menu", 0, {KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_ENTER}, MENU_LEFT_WIDE},
        {"the right side opens on Right", 1, {KEY_ENTER, KEY_ENTER}, MENU_RIGHT_BRIEF},
        {"Down on Quit wraps to Manual", 0, {KEY_RIGHT, KEY_DOWN, KEY_END, KEY_DOWN, KEY_ENTER}, KEY_SHIFT_F1},
        {"Up on Manual wraps to Quit", 0, {KEY_RIGHT, KEY_DOWN, KEY_UP, KEY_ENTER}, KEY_F10},
        {"Up past a separator", 0, {KEY_RIGHT, KEY_DOWN, KEY_END, KEY_UP, KEY_ENTER}, MENU_RESTORE_SELECTION},
        {"Left from Left wraps to Right", 0, {KEY_LEFT, KEY_DOWN, KEY_END, KEY_ENTER}, KEY_ALT_F2},
        {"an open menu follows Right", 0, {KEY_DOWN, KEY_RIGHT, KEY_ENTER}, KEY_SHIFT_F1},
        {"q in the Files menu", 0, {-'f', -'q'}, KEY_F10},
        {"a capital hot letter", 0, {-'o', -'C'}, MENU_CONFIGURATION},
        {"Home after moving", 0, {KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_HOME, KEY_ENTER}, MENU_LEFT_BRIEF},
        {"q with no menu does nothing", 0, {-'q', KEY_ESC}, 0},
        {"Esc closes the menu, then the bar", 0, {KEY_DOWN, KEY_ESC, KEY_ESC}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int key : c.keys) {
            if (key < 0) {
                Letter(static_cast<char>(-key));
            } else {
                Key(key, key == KEY_ENTER || key == KEY_ESC ? key : 0);
            }
        }
        EXPECT_EQ(RunMenuBar(c.side, false), c.expected);
        // Every window is gone again.
        EXPECT_EQ(Row(1, 0, 10), std::string(10, ' '));
    }
}

TEST_F(MenuBarTest, ResumeOpensWhereTheBarWasLeft) {
    // Files menu, third item, left with Esc from an open menu... then Esc again.
    Key(KEY_RIGHT);
    Key(KEY_DOWN);
    Key(KEY_DOWN);
    Key(KEY_DOWN);
    Key(KEY_ESC, KEY_ESC);
    Key(KEY_ESC, KEY_ESC);
    EXPECT_EQ(RunMenuBar(0, false), 0);
    // Resumed: the Files menu, closed, on "View"; Enter pulls it down there.
    Key(KEY_ENTER, KEY_ENTER);
    Key(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(RunMenuBar(0, true), KEY_F3);
    // Not resumed: the active side's menu again.
    Key(KEY_ENTER, KEY_ENTER);
    Key(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(RunMenuBar(0, false), MENU_LEFT_BRIEF);
}

TEST_F(MenuBarTest, TheMouseOpensTitlesAndChoosesItems) {
    // Left of the first title nothing happens; a press on "Options" pulls it
    // down; a click on its second row chooses "Colours".
    Mouse(MouseActionPress, 1, 0);
    Mouse(MouseActionPress, 33, 0);
    Mouse(MouseActionPress, 34, 3);
    Mouse(MouseActionRelease, 34, 3);
    EXPECT_EQ(RunMenuBar(0, false), MENU_COLOURS);

    // A release on a separator row keeps the menu; outside it ends the bar.
    Mouse(MouseActionPress, 33, 0);
    Mouse(MouseActionRelease, 34, 5);
    Mouse(MouseActionRelease, 70, 20);
    EXPECT_EQ(RunMenuBar(0, false), 0);

    // With no menu open, moving with a button held pulls the menu down.
    Mouse(MouseActionMove, 60, 20);
    Mouse(MouseActionRelease, 4, 2);
    EXPECT_EQ(RunMenuBar(0, false), MENU_LEFT_BRIEF);

    // A press on row 0 left of the titles keeps the bar as it is: Enter then
    // opens the active side's menu.
    Mouse(MouseActionPress, 0, 0);
    Key(KEY_ENTER, KEY_ENTER);
    Key(KEY_ENTER, KEY_ENTER);
    EXPECT_EQ(RunMenuBar(1, false), MENU_RIGHT_BRIEF);
}

class OptionDialogsTest : public qvtest::UiConsole {
protected:
    void SetUp() override {
        qvtest::UiConsole::SetUp();
        saved = Config.Confirmations;
    }
    void TearDown() override {
        Config.Confirmations = saved;
        qvtest::UiConsole::TearDown();
    }
    uint32_t saved = 0;
};

TEST_F(OptionDialogsTest, ConfirmationBoxesSetTheirBitsOnlyOnEnter) {
    const struct {
        uint32_t before;
        int box;  // toggled with Space, -1 none
        bool enter;
        uint32_t after;
    } cases[] = {
        {0, ConfirmationCount - 2, true, ConfirmQuitOff},
        {0x1F, 0, true, 0x1E},
        {0xFFFFFFE0u, -1, true, 0},  // unknown bits are cleared
        {ConfirmQuitOff, 3, false, ConfirmQuitOff},
        {0, 4, true, ConfirmTypedYesOff},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        Config.Confirmations = c.before;
        for (int i = 0; i < c.box; i++) {
            Key(KEY_DOWN);
        }
        if (c.box >= 0) {
            Key(' ', ' ');
        }
        Key(c.enter ? KEY_ENTER : KEY_ESC, c.enter ? KEY_ENTER : KEY_ESC);
        ConfirmationsDialog();
        EXPECT_EQ(Config.Confirmations, c.after);
    }
}

}  // namespace
