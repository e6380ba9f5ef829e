#include "host/TerminalKeys.h"

#include <gtest/gtest.h>

using namespace qvhost;

TEST(TerminalKeys, TerminalKeysBecomeKeyCodes) {
    struct Case {
        const char* name;
        int32_t code;
        int32_t shift;
    };
    const Case cases[] = {
        {"KEY_F(1)", 0x1003B, 0},       {"KEY_F(10)", 0x10044, 0},      {"KEY_F(11)", 0x10085, 0},
        {"KEY_F(13)", 0x30054, 4},      {"KEY_F(25)", 0x1005E, 2},      {"KEY_F(58)", 0x10071, 1},
        {"KEY_UP", 0x10048, 0},         {"KEY_NPAGE", 0x10051, 0},      {"KEY_DC", 0x10053, 0},
        {"kPRV5", 0x10084, 2},          {"kNXT5", 0x10076, 2},          {"kUP3", 0x10098, 1},
        {"kDN3", 0x100A0, 1},           {"KEY_SIC", 0x30052, 4},        {"KEY_BTAB", 0x3000F, 4},
        {"KEY_BACKSPACE", 0x10101, 0},  {"KEY_PRINT", 0, 0},
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
