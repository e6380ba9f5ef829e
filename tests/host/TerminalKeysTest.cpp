#include "host/TerminalKeys.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace qvhost;

TEST(TerminalKeys, TerminalKeysBecomeKeyCodes) {
    struct Case {
        const char* name;
        int32_t code;
        int32_t shift;
    };
    const Case cases[] = {
        {"KEY_F(1)", 0x1003B, 0},  {"KEY_F(10)", 0x10044, 0}, {"KEY_F(11)", 0x10085, 0}, {"KEY_F(13)", 0x30054, 4},
        {"KEY_F(25)", 0x1005E, 2}, {"KEY_F(58)", 0x10071, 1}, {"KEY_UP", 0x10048, 0},    {"KEY_NPAGE", 0x10051, 0},
        {"KEY_DC", 0x10053, 0},    {"kPRV5", 0x10084, 2},     {"kNXT5", 0x10076, 2},     {"kUP3", 0x10098, 1},
        {"kDN3", 0x100A0, 1},      {"KEY_SIC", 0x30052, 4},   {"KEY_BTAB", 0x3000F, 4},  {"KEY_BACKSPACE", 0x10101, 0},
        {"KEY_PRINT", 0, 0},
    };
    for (const Case& c : cases) {
        KeyEvent key = KeyFromTerminalKey(0, c.name);
        EXPECT_EQ(key.code, c.code) << c.name;
        EXPECT_EQ(key.shift, c.shift) << c.name;
    }
}

TEST(TerminalKeys, CharactersAndAltLetters) {
    KeyEvent a = KeyFromChar(U'a', false);
    EXPECT_EQ(a.code, 'a');
    EXPECT_EQ(a.ch, 'a');
    KeyEvent altA = KeyFromChar(U'a', true);
    EXPECT_EQ(altA.code, 0x1001E);  // extended code, letter kept as the character
    EXPECT_EQ(altA.ch, 'a');
    EXPECT_EQ(altA.shift, 1);
    EXPECT_EQ(KeyFromChar(127, false).code, 0x10101);
    EXPECT_EQ(KeyFromChar(U'\r', false).code, 13);
    KeyEvent ctrlR = KeyFromChar(18, false);
    EXPECT_EQ(ctrlR.code, 18);
    EXPECT_EQ(ctrlR.shift, 2);
    EXPECT_EQ(KeyFromChar(U'\u00e9', false).ch, 0xE9);
}

TEST(TerminalKeys, KeysByName) {
    struct Case {
        const char* name;
        int32_t code, ch, shift;
    };
    const Case cases[] = {
        {"F1", 0x1003B, 0, 0},
        {"F10", 0x10044, 0, 0},
        {"F11", 0x10085, 0, 0},
        {"Shift+F1", 0x30054, 0, 4},
        {"Ctrl+F3", 0x10060, 0, 2},
        {"Alt+F10", 0x10071, 0, 1},
        {"Shift+F12", 0x30088, 0, 4},
        {"Up", 0x10048, 0, 0},
        {"Ctrl+PgUp", 0x10084, 0, 2},
        {"Ctrl+PgDn", 0x10076, 0, 2},
        {"Shift+Ins", 0x30052, 0, 4},
        {"Alt+Del", 0x100A3, 0, 1},
        {"Shift+Tab", 0x3000F, 0, 4},
        {"Tab", 9, 9, 0},
        {"Enter", 13, 13, 0},
        {"Esc", 27, 27, 0},
        {"Backspace", 0x10101, 8, 0},
        {"Space", ' ', ' ', 0},
        {"Ctrl+c", 3, 3, 2},
        {"Ctrl+C", 3, 3, 2},
        {"Alt+x", 0x1002D, 'x', 1},
        {"Shift+Ctrl+Home", 0x10077, 0, 6},
        {"q", 'q', 'q', 0},
        {"\xC3\xA9", 0xE9, 0xE9, 0},
        {"F13", 0, 0, 0},
        {"Hyper+x", 0, 0, 0},
        {"", 0, 0, 0},
    };
    for (const Case& c : cases) {
        KeyEvent key = KeyFromName(c.name);
        EXPECT_EQ(key.code, c.code) << c.name;
        if (c.code != 0) {
            EXPECT_EQ(key.ch, c.ch) << c.name;
            EXPECT_EQ(key.shift, c.shift) << c.name;
        }
    }
}

TEST(TerminalKeys, XtermModifierFormsOfFunctionCursorAndEditingKeys) {
    struct Case {
        const char* sequence;
        const char* name;
        int32_t code, shift;
    };
    const Case cases[] = {
        {"\033[1;4P", "Shift+Alt+F1", 0x10068, 5},
        {"\033[1;4S", "Shift+Alt+F4", 0x1006B, 5},
        {"\033[18;4~", "Shift+Alt+F7", 0x1006E, 5},
        {"\033[20;4~", "Shift+Alt+F9", 0x10070, 5},
        {"\033[15;2~", "Shift+F5", 0x30058, 4},
        {"\033[24;5~", "Ctrl+F12", 0x1008A, 2},
        {"\033[23;3~", "Alt+F11", 0x1008B, 1},
        {"\033[1;5A", "Ctrl+Up", 0x1008D, 2},
        {"\033[1;3B", "Alt+Down", 0x100A0, 1},
        {"\033[1;2D", "Shift+Left", 0x3004B, 4},
        {"\033[1;6C", "Ctrl+Shift+Right", 0x10074, 6},
        {"\033[1;2H", "Shift+Home", 0x30047, 4},
        {"\033[1;5F", "Ctrl+End", 0x10075, 2},
        {"\033[2;2~", "Shift+Ins", 0x30052, 4},
        {"\033[3;3~", "Alt+Del", 0x100A3, 1},
        {"\033[5;5~", "Ctrl+PgUp", 0x10084, 2},
        {"\033[6;7~", "Ctrl+Alt+PgDn", 0x10076, 3},
        {"\033[11;2~", "Shift+F1", 0x30054, 4},
        {"\033[17;8~", "Ctrl+Alt+Shift+F6", 0x10063, 7},
    };
    for (const Case& c : cases) {
        KeyEvent key = KeyFromSequence(c.sequence);
        EXPECT_EQ(key.code, c.code) << c.name;
        EXPECT_EQ(key.shift, c.shift) << c.name;
        KeyEvent named = KeyFromName(c.name);
        EXPECT_EQ(named.code, key.code) << c.name;
        EXPECT_EQ(named.shift, key.shift) << c.name;
    }
    // An Escape before the sequence adds Alt.
    KeyEvent escaped = KeyFromSequence("\033[15;2~", 1);
    EXPECT_EQ(escaped.code, 0x1006C);
    EXPECT_EQ(escaped.shift, 5);
    for (const char* other :
         {"\033[1;1A", "\033[1;9A", "\033[9;5~", "\033[1;5Z", "\033[15;5~x", "\033[15~", "\033[;5~", "x"}) {
        EXPECT_EQ(KeyFromSequence(other).code, 0) << other + 1;
    }
}

TEST(TerminalKeys, EveryModifierFormTaughtToTheTerminalIsAKey) {
    // Seven modifier combinations of thirty keys: each decodes, and no two
    // sequences give the same key and shift state unless they name one key
    // (Home and End have more than one form).
    const std::vector<std::string>& sequences = ModifiedKeySequences();
    ASSERT_EQ(sequences.size(), 30u * 7u);
    std::map<std::pair<int32_t, int32_t>, int> seen;
    for (const std::string& s : sequences) {
        KeyEvent key = KeyFromSequence(s);
        EXPECT_NE(key.code, 0) << s.substr(1);
        EXPECT_NE(key.shift, 0) << s.substr(1);
        ++seen[{key.code, key.shift}];
    }
    // 22 keys (F1-F12, four arrows, Home, End, PgUp, PgDn, Ins, Del) x 7.
    EXPECT_EQ(seen.size(), 22u * 7u);
}
