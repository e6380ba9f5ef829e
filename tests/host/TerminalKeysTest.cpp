#include "host/TerminalKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        {"\033[1;4P", "Shift+Alt+F1", 0x30068, 5},
        {"\033[1;4S", "Shift+Alt+F4", 0x3006B, 5},
        {"\033[18;4~", "Shift+Alt+F7", 0x3006E, 5},
        {"\033[20;4~", "Shift+Alt+F9", 0x30070, 5},
        {"\033[15;6~", "Ctrl+Shift+F5", 0x30062, 6},
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
        {"\033[17;8~", "Ctrl+Alt+Shift+F6", 0x30063, 7},
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
    EXPECT_EQ(escaped.code, 0x3006C);
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

// The codes of F1 and F11 for xterm's modifier numbers 1 to 8; the other
// function keys follow them (F2 = F1 + 1, F12 = F11 + 1).
struct FunctionFamily {
    int modifier;
    int32_t f1, f11, shift;
};
const FunctionFamily kFunctionFamilies[] = {
    {1, 0x1003B, 0x10085, 0}, {2, 0x30054, 0x30087, 4}, {3, 0x10068, 0x1008B, 1}, {4, 0x30068, 0x3008B, 5},
    {5, 0x1005E, 0x10089, 2}, {6, 0x3005E, 0x30089, 6}, {7, 0x1005E, 0x10089, 3}, {8, 0x3005E, 0x30089, 7},
};

int32_t FunctionCode(const FunctionFamily& family, int n) {
    return n <= 10 ? family.f1 + n - 1 : family.f11 + n - 11;
}

TEST(TerminalKeys, EveryModifierCombinationOfTheFunctionKeys) {
    // xterm's forms: ESC O P-S plain (ncurses' KEY_F(n)), ESC [ 1 ; m P-S for
    // F1-F4 with modifiers, ESC [ n ; m ~ for the others.
    static const int kTilde[12] = {11, 12, 13, 14, 15, 17, 18, 19, 20, 21, 23, 24};
    for (const FunctionFamily& family : kFunctionFamilies) {
        for (int n = 1; n <= 12; ++n) {
            const std::string label = "F" + std::to_string(n) + " modifier " + std::to_string(family.modifier);
            const int32_t code = FunctionCode(family, n);
            if (family.modifier == 1) {
                KeyEvent key = KeyFromTerminalKey(0, "KEY_F(" + std::to_string(n) + ")");
                EXPECT_EQ(key.code, code) << label;
                continue;
            }
            const std::string m = std::to_string(family.modifier);
            std::vector<std::string> forms = {"\033[" + std::to_string(kTilde[n - 1]) + ";" + m + "~"};
            if (n <= 4) {
                forms.push_back("\033[1;" + m + std::string(1, static_cast<char>('P' + n - 1)));
            }
            for (const std::string& form : forms) {
                KeyEvent key = KeyFromSequence(form);
                EXPECT_EQ(key.code, code) << label << " " << form.substr(1);
                EXPECT_EQ(key.shift, family.shift) << label << " " << form.substr(1);
            }
        }
    }
    // ncurses' numbering of the modified function keys of xterm: twelve each
    // for Shift, Ctrl, Ctrl+Shift, Alt, then Alt+Shift up to F63.
    const int kGroups[] = {2, 5, 6, 3, 4};
    for (int g = 0; g < 5; ++g) {
        const FunctionFamily& family = kFunctionFamilies[kGroups[g] - 1];
        for (int n = 1; n <= 12 && 12 * (g + 1) + n <= 63; ++n) {
            const int number = 12 * (g + 1) + n;
            KeyEvent key = KeyFromTerminalKey(0, "KEY_F(" + std::to_string(number) + ")");
            EXPECT_EQ(key.code, FunctionCode(family, n)) << "KEY_F(" << number << ")";
            EXPECT_EQ(key.shift, family.shift) << "KEY_F(" << number << ")";
        }
    }
    EXPECT_EQ(KeyFromTerminalKey(0, "KEY_F(73)").code, 0);
}

TEST(TerminalKeys, EveryModifierCombinationOfTheCursorKeys) {
    // Plain, Ctrl and Alt codes; Shift alone adds KEY_SHIFTED, Ctrl wins over
    // Alt, and Shift with Ctrl or Alt stays in the shift state.
    struct Cursor {
        char final;
        const char* terminfo;
        int32_t plain, ctrl, alt;
    };
    const Cursor keys[] = {
        {'A', "kUP", 0x10048, 0x1008D, 0x10098},  {'B', "kDN", 0x10050, 0x10091, 0x100A0},
        {'C', "kRIT", 0x1004D, 0x10074, 0x1009D}, {'D', "kLFT", 0x1004B, 0x10073, 0x1009B},
        {'H', "kHOM", 0x10047, 0x10077, 0x10097}, {'F', "kEND", 0x1004F, 0x10075, 0x1009F},
    };
    for (const Cursor& k : keys) {
        for (int m = 2; m <= 8; ++m) {
            const int bits = m - 1;
            const int32_t expected = (bits & 4) ? k.ctrl : (bits & 2) ? k.alt : 0x20000 + k.plain;
            const std::string sequence = "\033[1;" + std::to_string(m) + k.final;
            KeyEvent fromSequence = KeyFromSequence(sequence);
            EXPECT_EQ(fromSequence.code, expected) << sequence.substr(1);
            KeyEvent fromName = KeyFromTerminalKey(0, k.terminfo + std::to_string(m));
            EXPECT_EQ(fromName.code, expected) << k.terminfo << m;
            EXPECT_EQ(fromName.shift, fromSequence.shift) << k.terminfo << m;
        }
    }
}

TEST(TerminalKeys, ExtendedReportsOfTabEnterBackspaceEscDigitsAndLetters) {
    // Each key with each modifier number, as the codes the program dispatches
    // on: Ctrl+Tab completes, Ctrl+Enter inserts a name, Ctrl+digit recalls a
    // stored directory (Shift stores), Alt+Backspace undoes and
    // Shift+Alt+Backspace redoes in the editor, Ctrl+I is not Tab and Ctrl+H
    // is not Backspace.
    struct Case {
        int key;
        int32_t codes[7];  // modifier 2 to 8
    };
    const Case cases[] = {
        {9, {0x3000F, 9, 0x3000F, 0x10094, 0x10094, 0x10094, 0x10094}},
        {13, {0x2000D, 0x1001C, 0x1001C, 0x9001C, 0xB001C, 0x9001C, 0xB001C}},
        {127, {0x10101, 0x1000E, 0x3000E, 0x7F, 0x7F, 0x7F, 0x7F}},
        {8, {0x10101, 0x1000E, 0x3000E, 0x7F, 0x7F, 0x7F, 0x7F}},
        {27, {0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B}},
        {'0', {'0', '0', '0', 0x40030, 0x60030, 0x40030, 0x60030}},
        {'1', {'1', '1', '1', 0x40031, 0x60031, 0x40031, 0x60031}},
        {'9', {'9', '9', '9', 0x40039, 0x60039, 0x40039, 0x60039}},
        {'!', {'!', '!', '!', '!', 0x60031, '!', 0x60031}},  // Shift+1 on a US keyboard
        {'i', {'I', 0x10017, 0x10017, 0x10102, 0x30102, 0x10102, 0x30102}},
        {'h', {'H', 0x10023, 0x10023, 8, 0x20008, 8, 0x20008}},
        {'b', {'B', 0x10030, 0x10030, 2, 0x20002, 2, 0x20002}},
        {'E', {'E', 0x10012, 0x10012, 5, 0x20005, 5, 0x20005}},
        {' ', {' ', ' ', ' ', 0x90039, 0x90039, 0x90039, 0x90039}},
        {'[', {'[', '[', '[', 0x1B, 0x1B, 0x1B, 0x1B}},
    };
    for (const Case& c : cases) {
        for (int m = 2; m <= 8; ++m) {
            const std::string label = std::to_string(c.key) + " modifier " + std::to_string(m);
            const int32_t expectedShift = ((m - 1) & 1 ? 4 : 0) | ((m - 1) & 2 ? 1 : 0) | ((m - 1) & 4 ? 2 : 0);
            for (const std::string& form :
                 {"\033[27;" + std::to_string(m) + ";" + std::to_string(c.key) + "~",
                  "\033[" + std::to_string(c.key) + ";" + std::to_string(m) + "u"}) {
                KeyEvent key = KeyFromSequence(form);
                EXPECT_EQ(key.code, c.codes[m - 2]) << label << " " << form.substr(1);
                EXPECT_EQ(key.shift, expectedShift) << label << " " << form.substr(1);
            }
        }
    }
    // Caps Lock and Num Lock (64, 128 over the modifier bits) change nothing.
    EXPECT_EQ(KeyFromSequence("\033[9;69u").code, 0x10094);
    // An Escape before a report adds Alt.
    EXPECT_EQ(KeyFromSequence("\033[127;2u", 1).code, 0x3000E);
    for (const char* other : {"\033[27;5;9", "\033[9;0u", "\033[27;5;55296~", "\033[9;5;1u", "\033[27;5;9u",
                              "\033[27;5;3~", "\033[;5u", "\033[27;;9~", "\033[9;5ux"}) {
        EXPECT_EQ(KeyFromSequence(other).code, 0) << other + 1;
    }
}

TEST(TerminalKeys, LegacyFormsOfTheSameKeys) {
    // What a terminal without extended reports sends: Escape before a key for
    // Alt, control characters for Ctrl.
    struct Case {
        char32_t ch;
        bool alt;
        int32_t code, ch2, shift;
    };
    const Case cases[] = {
        {9, false, 9, 9, 0},           {13, false, 13, 13, 0},       {127, false, 0x10101, 8, 0},
        {8, false, 0x10101, 8, 0},     {127, true, 0x1000E, 0, 1},   {8, true, 0x1000E, 0, 1},
        {'1', true, '1', '1', 1},      {'1', false, '1', '1', 0},    {2, false, 2, 2, 2},
        {27, false, 27, 27, 0},        {'b', true, 0x10030, 'b', 1}, {0x1D, false, 0x1D, 0x1D, 0},
    };
    for (const Case& c : cases) {
        KeyEvent key = KeyFromChar(c.ch, c.alt);
        EXPECT_EQ(key.code, c.code) << static_cast<int>(c.ch) << (c.alt ? " with Alt" : "");
        EXPECT_EQ(key.ch, c.ch2) << static_cast<int>(c.ch);
        EXPECT_EQ(key.shift, c.shift) << static_cast<int>(c.ch);
    }
    EXPECT_EQ(KeyFromTerminalKey(0, "KEY_BTAB").code, 0x3000F);
    EXPECT_EQ(KeyFromTerminalKey(0, "KEY_BACKSPACE").code, 0x10101);
    // Escape before the terminal's Backspace key: Alt+Backspace.
    EXPECT_EQ(KeyFromTerminalKey(0, "KEY_BACKSPACE", 1).code, 0x1000E);
}

TEST(TerminalKeys, EveryExtendedReportTaughtToTheTerminalIsAKey) {
    // Both forms of every key and modifier, and the same key from either.
    const std::vector<std::string>& sequences = ExtendedKeySequences();
    ASSERT_EQ(sequences.size() % 2, 0u);
    for (size_t i = 0; i < sequences.size(); i += 2) {
        KeyEvent a = KeyFromSequence(sequences[i]);
        KeyEvent b = KeyFromSequence(sequences[i + 1]);
        EXPECT_NE(a.code, 0) << sequences[i].substr(1);
        EXPECT_EQ(a.code, b.code) << sequences[i + 1].substr(1);
        EXPECT_EQ(a.shift, b.shift) << sequences[i + 1].substr(1);
    }
    // Ctrl+Tab, Ctrl+Enter and Ctrl+digit are among them.
    for (const char* s : {"\033[9;5u", "\033[13;5u", "\033[49;5u", "\033[27;5;9~"}) {
        EXPECT_NE(std::find(sequences.begin(), sequences.end(), s), sequences.end()) << s + 1;
    }
}
