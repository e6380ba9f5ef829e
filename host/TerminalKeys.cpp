#include "host/TerminalKeys.h"

#include "host/HostFrames.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace qvhost {

namespace {

constexpr int32_t kExtended = 0x10000;
constexpr int32_t kShifted = 0x20000;
constexpr int32_t kBackspace = 0x10101;

// PC keyboard scan codes of the letters, for Alt+letter (an extended code that
// carries the letter as its character).
const uint8_t kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                 0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

// Cursor and editing keys: terminfo base name, plain scan code, and the scan
// codes the keyboard gives with Ctrl and with Alt held.
struct CursorKey {
    const char* name;
    int32_t plain;
    int32_t ctrl;
    int32_t alt;
};
const CursorKey kCursorKeys[] = {
    {"kHOM", 0x47, 0x77, 0x97}, {"kUP", 0x48, 0x8D, 0x98}, {"kPRV", 0x49, 0x84, 0x99}, {"kLFT", 0x4B, 0x73, 0x9B},
    {"kRIT", 0x4D, 0x74, 0x9D}, {"kEND", 0x4F, 0x75, 0x9F}, {"kDN", 0x50, 0x91, 0xA0}, {"kNXT", 0x51, 0x76, 0xA1},
    {"kIC", 0x52, 0x92, 0xA2},  {"kDC", 0x53, 0x93, 0xA3},
};

// The names ncurses gives the plain keys of the table above.
struct PlainName {
    const char* curses;
    const char* base;
};
const PlainName kPlainNames[] = {
    {"KEY_HOME", "kHOM"}, {"KEY_UP", "kUP"}, {"KEY_PPAGE", "kPRV"}, {"KEY_LEFT", "kLFT"}, {"KEY_RIGHT", "kRIT"},
    {"KEY_END", "kEND"},  {"KEY_DOWN", "kDN"}, {"KEY_NPAGE", "kNXT"}, {"KEY_IC", "kIC"},  {"KEY_DC", "kDC"},
    // The shifted forms have names of their own.
    {"KEY_SHOME", "kHOM2"}, {"KEY_SR", "kUP2"}, {"KEY_SPREVIOUS", "kPRV2"}, {"KEY_SLEFT", "kLFT2"},
    {"KEY_SRIGHT", "kRIT2"}, {"KEY_SEND", "kEND2"}, {"KEY_SF", "kDN2"}, {"KEY_SNEXT", "kNXT2"}, {"KEY_SIC", "kIC2"},
    {"KEY_SDC", "kDC2"},
};

// xterm's modifier digit: 2 Shift, 3 Alt, 4 Shift+Alt, 5 Ctrl, 6 Ctrl+Shift, 7 Ctrl+Alt, 8 all.
int32_t ShiftFromModifier(int modifier) {
    int bits = modifier - 1;
    int32_t shift = 0;
    if (bits & 1) shift |= kShiftShift;
    if (bits & 2) shift |= kShiftAlt;
    if (bits & 4) shift |= kShiftCtrl;
    return shift;
}

KeyEvent FunctionKey(int n) {
    // ncurses numbers the modified function keys of xterm on: F13-F24 Shift,
    // F25-F36 Ctrl, F49-F60 Alt.
    int group = (n - 1) / 12;
    int index = (n - 1) % 12;  // 0 = F1
    KeyEvent key;
    if (index >= 10) {
        key.code = group == 0 ? kExtended + 0x85 + (index - 10) : 0;
        return key;
    }
    switch (group) {
        case 0:
            key.code = kExtended + 0x3B + index;
            break;
        case 1:
            key.code = kExtended + kShifted + 0x54 + index;
            key.shift = kShiftShift;
            break;
        case 2:
            key.code = kExtended + 0x5E + index;
            key.shift = kShiftCtrl;
            break;
        case 4:
            key.code = kExtended + 0x68 + index;
            key.shift = kShiftAlt;
            break;
        default:
            break;
    }
    return key;
}

}  // namespace

KeyEvent KeyFromChar(char32_t ch, bool alt) {
    KeyEvent key;
    if (ch == 127 || ch == 8) {
        key.code = kBackspace;
        key.ch = 8;
    } else if (ch == '\r' || ch == '\n') {
        key.code = 13;
        key.ch = 13;
    } else {
        key.code = static_cast<int32_t>(ch);
        key.ch = static_cast<int32_t>(ch);
        if (ch >= 1 && ch <= 26 && ch != 9) {
            key.shift = kShiftCtrl;
        }
    }
    if (alt) {
        key.shift |= kShiftAlt;
        if (ch < 128 && std::isalpha(static_cast<int>(ch))) {
            key.code = kExtended + kLetterScan[std::tolower(static_cast<int>(ch)) - 'a'];
            key.ch = static_cast<int32_t>(ch);
        }
    }
    return key;
}

KeyEvent KeyFromTerminalKey(int ncursesKey, const std::string& rawName) {
    // Function keys come as "KEY_F(n)".
    int n = 0;
    if (std::sscanf(rawName.c_str(), "KEY_F(%d)", &n) == 1) {
        return FunctionKey(n);
    }
    KeyEvent key;
    if (rawName == "KEY_BACKSPACE") {
        key.code = kBackspace;
        key.ch = 8;
        return key;
    }
    if (rawName == "KEY_ENTER") {
        key.code = 13;
        key.ch = 13;
        return key;
    }
    if (rawName == "KEY_BTAB") {
        key.code = kExtended + kShifted + 0x0F;
        key.shift = kShiftShift;
        return key;
    }
    std::string name = rawName;
    for (const PlainName& plain : kPlainNames) {
        if (name == plain.curses) {
            name = plain.base;
            break;
        }
    }
    // Split "kLFT5" into the base name and the modifier digit.
    int modifier = 1;
    if (!name.empty() && std::isdigit(static_cast<unsigned char>(name.back()))) {
        modifier = name.back() - '0';
        name.pop_back();
    }
    for (const CursorKey& ck : kCursorKeys) {
        if (name != ck.name) {
            continue;
        }
        key.shift = ShiftFromModifier(modifier);
        if (key.shift & kShiftCtrl) {
            key.code = kExtended + ck.ctrl;
        } else if (key.shift & kShiftAlt) {
            key.code = kExtended + ck.alt;
        } else if (key.shift & kShiftShift) {
            key.code = kExtended + kShifted + ck.plain;
        } else {
            key.code = kExtended + ck.plain;
        }
        return key;
    }
    (void)ncursesKey;
    return key;
}

}  // namespace qvhost
