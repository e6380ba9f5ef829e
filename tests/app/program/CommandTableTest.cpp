// The command table and its key bindings: every command once with its
// function, every binding reaching a command the dispatch can get to.
#include "app/program/CommandTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "console/KeyCodes.h"
#include "console/MenuCodes.h"

namespace {

TEST(CommandTable, ListsEveryCommandOnceInOrderWithAFunctionAndAName) {
    ASSERT_EQ(CommandTableSize, static_cast<int>(ECommand::Count));
    std::set<std::string> names;
    std::set<TCommandHandler> handlers;
    for (int i = 0; i < CommandTableSize; i++) {
        const TCommandRow& row = CommandTable[i];
        EXPECT_EQ(static_cast<int>(row.command), i) << "row " << i;
        ASSERT_NE(row.name, nullptr) << "row " << i;
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_NE(row.handler, nullptr) << row.name;
        // Two names for one function would be one command under two names.
        EXPECT_TRUE(handlers.insert(row.handler).second) << row.name;
        EXPECT_EQ(&CommandRow(row.command), &row) << row.name;
    }
}

TEST(CommandTable, EveryBindingNamesACommandAndEveryCommandHasABinding) {
    std::set<int> bound;
    for (int i = 0; i < KeyBindingCount; i++) {
        int command = static_cast<int>(KeyBindings[i].command);
        EXPECT_GE(command, 0) << std::hex << KeyBindings[i].code;
        EXPECT_LT(command, static_cast<int>(ECommand::Count)) << std::hex << KeyBindings[i].code;
        bound.insert(command);
    }
    for (int i = 0; i < CommandTableSize; i++) {
        EXPECT_EQ(bound.count(i), 1u) << CommandTable[i].name << " has no key and no menu code";
    }
}

// A binding the dispatch never reaches would be a key that silently does
// nothing: the steps before the table take characters, the stored directory
// slots, the menu bar keys, the grey keys and Ctrl+F3 to Ctrl+F8.
TEST(CommandTable, NoBindingIsTakenBeforeTheTable) {
    std::set<int> early;
    for (int i = 0; i < MenuBarKeyCount; i++) {
        early.insert(MenuBarKeys[i]);
    }
    for (int i = 0; i < GreyKeyCodeCount; i++) {
        early.insert(GreyKeyCodes[i]);
    }
    for (int key = KEY_CTRL_F3; key <= KEY_CTRL_F8; key++) {
        early.insert(key);
    }
    for (int i = 0; i < KeyBindingCount; i++) {
        int code = KeyBindings[i].code;
        const char* name = CommandRow(KeyBindings[i].command).name;
        EXPECT_EQ(early.count(code), 0u) << std::hex << code << " " << name;
        EXPECT_EQ(code & KEY_SLOT_FLAG, 0) << std::hex << code << " " << name;
        bool character = code >= KEY_SPACE && code != KEY_CTRL_BACKSPACE &&
                         (code & (MENU_CODE_BASE | KEY_SHIFTED | KEY_EXTENDED)) == 0;
        EXPECT_FALSE(character) << std::hex << code << " " << name;
    }
}

TEST(CommandTable, KeysAndMenuCodesSelectTheirCommands) {
    struct TCase {
        int code;
        ECommand command;
    };
    const TCase cases[] = {
        {KEY_F1, ECommand::Help},
        {KEY_F10, ECommand::Quit},
        {KEY_ALT_F5, ECommand::StoredPaths},
        {KEY_ALT_F8, ECommand::CommandHistory},
        {KEY_ALT_SHIFT_F8, ECommand::DirectoryHistory},
        {KEY_CTRL_I, ECommand::FileInformation},
        {KEY_TAB, ECommand::SwitchPanels},
        {KEY_SHIFT_TAB, ECommand::SwitchPanels},
        {KEY_ESC, ECommand::Escape},
        {KEY_CTRL_SCAN_LEFT_BRACKET, ECommand::Escape},
        {KEY_CTRL_SHIFT_SCAN_J, ECommand::InsertEntryName},
        {KEY_SHIFT_INSERT, ECommand::PasteLine},
        {KEY_ALT_GREY_PLUS, ECommand::RestoreSelection},
        {MENU_RESTORE_SELECTION, ECommand::RestoreSelection},
        // One command, a key and a menu entry.
        {KEY_CTRL_H, ECommand::ToggleHidden},
        {MENU_HIDDEN_FILES, ECommand::ToggleHidden},
        {KEY_SHIFT_F9, ECommand::SaveSettings},
        {MENU_SAVE_SETUP, ECommand::SaveSettings},
        // Both panels' menu entries reach one command.
        {MENU_LEFT_SORT_NAME, ECommand::MenuSort},
        {MENU_RIGHT_SORT_UNSORTED, ECommand::MenuSort},
        {MENU_RIGHT_INFO, ECommand::MenuInfo},
        {MENU_RIGHT_FILTER, ECommand::MenuFilter},
        {MENU_LEFT_TREE, ECommand::MenuViewStyle},
    };
    for (const TCase& c : cases) {
        ECommand found = ECommand::Count;
        ASSERT_TRUE(FindBoundCommand(c.code, found)) << std::hex << c.code;
        EXPECT_EQ(found, c.command) << std::hex << c.code << ": " << CommandRow(found).name;
    }
    ECommand none = ECommand::Count;
    for (int unbound : {int('a'), KEY_F9, KEY_GREY_PLUS, KEY_CLOSED, MENU_LEFT_FILTER - 1}) {
        EXPECT_FALSE(FindBoundCommand(unbound, none)) << std::hex << unbound;
    }
}

TEST(CommandTable, ACommandsKeyIsItsFirstBinding) {
    const std::map<ECommand, int> expected = {
        {ECommand::Quit, KEY_F10},
        {ECommand::View, KEY_F3},
        {ECommand::ToggleHidden, KEY_CTRL_H},
        {ECommand::Configuration, MENU_CONFIGURATION},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(CommandKey(e.first), e.second) << CommandRow(e.first).name;
        ECommand back = ECommand::Count;
        EXPECT_TRUE(FindBoundCommand(CommandKey(e.first), back));
        EXPECT_EQ(back, e.first);
    }
}

}  // namespace
