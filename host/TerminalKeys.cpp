#include "host/TerminalKeys.h"

#include "base/strings/Utf8Codec.h"
#include "console/KeyCodes.h"
#include "host/HostFrames.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace qvhost {

namespace {

constexpr int32_t kExtended = KEY_EXTENDED;
constexpr int32_t kShifted = KEY_SHIFTED;
constexpr int32_t kBackspace = KEY_BACKSPACE;

// PC keyboard scan codes of the letters, for Alt+letter (an extended code that
// carries the letter as its character).
const uint8_t kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                 0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

// Cursor and editing keys: terminfo base name, the name tests use, plain scan
// code, and the scan codes the keyboard gives with Ctrl and with Alt held.
struct CursorKey {
    const char* name;
    const char* label;
    int32_t plain;
    int32_t ctrl;
    int32_t alt;
};
const CursorKey kCursorKeys[] = {
    {"kHOM", "Home", 0x47, 0x77, 0x97}, {"kUP", "Up", 0x48, 0x8D, 0x98},     {"kPRV", "PgUp", 0x49, 0x84, 0x99},
    {"kLFT", "Left", 0x4B, 0x73, 0x9B}, {"kRIT", "Right", 0x4D, 0x74, 0x9D}, {"kEND", "End", 0x4F, 0x75, 0x9F},
    {"kDN", "Down", 0x50, 0x91, 0xA0},  {"kNXT", "PgDn", 0x51, 0x76, 0xA1},  {"kIC", "Ins", 0x52, 0x92, 0xA2},
    {"kDC", "Del", 0x53, 0x93, 0xA3},
};

// Function keys: the scan code plain, with Shift, with Ctrl and with Alt.
struct FunctionKeyCodes {
    int32_t plain, shift, ctrl, alt;
};
FunctionKeyCodes FunctionKeyScan(int index) {  // 0 = F1
    if (index >= 10) {
        int k = index - 10;
        return {0x85 + k, 0x87 + k, 0x89 + k, 0x8B + k};
    }
    return {0x3B + index, 0x54 + index, 0x5E + index, 0x68 + index};
}

// A key with the modifiers held, by the scan-code rules: Ctrl wins over Alt,
// Shift alone adds KEY_SHIFTED to the shifted scan code. Function keys have
// Ctrl+Shift and Alt+Shift codes of their own (KEY_SHIFTED over the Ctrl and
// Alt ones); the cursor keys keep Shift in the shift state only.
int32_t ModifiedCode(int32_t plain, int32_t shifted, int32_t ctrl, int32_t alt, int32_t shift,
                     bool shiftedFamilies = false) {
    const int32_t extraShifted = shiftedFamilies && (shift & kShiftShift) ? kShifted : 0;
    if (shift & kShiftCtrl) {
        return kExtended + extraShifted + ctrl;
    }
    if (shift & kShiftAlt) {
        return kExtended + extraShifted + alt;
    }
    if (shift & kShiftShift) {
        return kExtended + kShifted + shifted;
    }
    return kExtended + plain;
}

// The names ncurses gives the plain keys of the table above.
struct PlainName {
    const char* curses;
    const char* base;
};
const PlainName kPlainNames[] = {
    {"KEY_HOME", "kHOM"},
    {"KEY_UP", "kUP"},
    {"KEY_PPAGE", "kPRV"},
    {"KEY_LEFT", "kLFT"},
    {"KEY_RIGHT", "kRIT"},
    {"KEY_END", "kEND"},
    {"KEY_DOWN", "kDN"},
    {"KEY_NPAGE", "kNXT"},
    {"KEY_IC", "kIC"},
    {"KEY_DC", "kDC"},
    // The shifted forms have names of their own.
    {"KEY_SHOME", "kHOM2"},
    {"KEY_SR", "kUP2"},
    {"KEY_SPREVIOUS", "kPRV2"},
    {"KEY_SLEFT", "kLFT2"},
    {"KEY_SRIGHT", "kRIT2"},
    {"KEY_SEND", "kEND2"},
    {"KEY_SF", "kDN2"},
    {"KEY_SNEXT", "kNXT2"},
    {"KEY_SIC", "kIC2"},
    {"KEY_SDC", "kDC2"},
};

// xterm's modifier digit: 2 Shift, 3 Alt, 4 Shift+Alt, 5 Ctrl, 6 Ctrl+Shift, 7 Ctrl+Alt, 8 all.
int32_t ShiftFromModifier(int modifier) {
    int bits = modifier - 1;
    int32_t shift = 0;
    if (bits & 1)
        shift |= kShiftShift;
    if (bits & 2)
        shift |= kShiftAlt;
    if (bits & 4)
        shift |= kShiftCtrl;
    return shift;
}

int ModifierFromShift(int32_t shift) {
    return 1 + ((shift & kShiftShift) ? 1 : 0) + ((shift & kShiftAlt) ? 2 : 0) + ((shift & kShiftCtrl) ? 4 : 0);
}

KeyEvent FunctionKey(int n, int32_t extraShift) {
    // ncurses numbers the modified function keys of xterm on: F13-F24 Shift,
    // F25-F36 Ctrl, F37-F48 Ctrl+Shift, F49-F60 Alt, F61-F63 Alt+Shift.
    static const int32_t kGroupShift[6] = {0,          kShiftShift, kShiftCtrl, kShiftCtrl | kShiftShift,
                                           kShiftAlt, kShiftAlt | kShiftShift};
    int group = (n - 1) / 12;
    KeyEvent key;
    if (n < 1 || group > 5) {
        return key;
    }
    FunctionKeyCodes f = FunctionKeyScan((n - 1) % 12);
    key.shift = kGroupShift[group] | extraShift;
    key.code = ModifiedCode(f.plain, f.shift, f.ctrl, f.alt, key.shift, true);
    return key;
}

// The keys of the xterm modifier forms: ESC [ 1 ; m <letter> and
// ESC [ <number> ; m ~, by the names KeyFromName knows.
struct SequenceKey {
    char letter;  // 0 for a ~ form
    int number;
    const char* label;
};
const SequenceKey kSequenceKeys[] = {
    {'A', 1, "Up"}, {'B', 1, "Down"}, {'C', 1, "Right"}, {'D', 1, "Left"}, {'H', 1, "Home"}, {'F', 1, "End"},
    {'P', 1, "F1"}, {'Q', 1, "F2"},   {'R', 1, "F3"},    {'S', 1, "F4"},   {0, 1, "Home"},   {0, 2, "Ins"},
    {0, 3, "Del"},  {0, 4, "End"},    {0, 5, "PgUp"},    {0, 6, "PgDn"},   {0, 7, "Home"},   {0, 8, "End"},
    {0, 11, "F1"},  {0, 12, "F2"},    {0, 13, "F3"},     {0, 14, "F4"},    {0, 15, "F5"},    {0, 17, "F6"},
    {0, 18, "F7"},  {0, 19, "F8"},    {0, 20, "F9"},     {0, 21, "F10"},   {0, 23, "F11"},   {0, 24, "F12"},
};

std::string SequenceOf(const SequenceKey& key, int modifier) {
    std::string text = "\033[" + std::to_string(key.number) + ";" + std::to_string(modifier);
    text += key.letter ? key.letter : '~';
    return text;
}

// Shift-state bits as the prefixes of a key name.
std::string ModifierPrefix(int32_t shift) {
    std::string prefix;
    if (shift & kShiftShift)
        prefix += "Shift+";
    if (shift & kShiftCtrl)
        prefix += "Ctrl+";
    if (shift & kShiftAlt)
        prefix += "Alt+";
    return prefix;
}

}  // namespace

const std::vector<std::string>& ModifiedKeySequences() {
    static const std::vector<std::string> sequences = [] {
        std::vector<std::string> all;
        for (const SequenceKey& key : kSequenceKeys) {
            for (int modifier = 2; modifier <= 8; ++modifier) {
                all.push_back(SequenceOf(key, modifier));
            }
        }
        return all;
    }();
    return sequences;
}

const std::vector<std::string>& ExtendedKeySequences() {
    static const std::vector<std::string> sequences = [] {
        std::vector<std::string> all;
        std::vector<int> keys = {8, 9, 13, 27, 127};
        for (int k = 32; k < 127; ++k) {
            keys.push_back(k);
        }
        for (int k : keys) {
            for (int modifier = 2; modifier <= 8; ++modifier) {
                const std::string m = std::to_string(modifier);
                all.push_back("\033[27;" + m + ";" + std::to_string(k) + "~");
                all.push_back("\033[" + std::to_string(k) + ";" + m + "u");
            }
        }
        return all;
    }();
    return sequences;
}

KeyEvent KeyFromSequence(const std::string& sequence, int32_t extraShift) {
    int number = 0, modifier = 0;
    char final = 0;
    int used = 0;
    // The extended reports: CSI 27 ; m ; k ~ and CSI k ; m u.
    int extendedKey = 0;
    if (std::sscanf(sequence.c_str(), "\033[27;%d;%d~%n", &modifier, &extendedKey, &used) == 2 &&
        static_cast<size_t>(used) == sequence.size()) {
        return KeyFromExtendedReport(static_cast<char32_t>(extendedKey), modifier, extraShift);
    }
    used = 0;
    if (std::sscanf(sequence.c_str(), "\033[%d;%du%n", &extendedKey, &modifier, &used) == 2 &&
        static_cast<size_t>(used) == sequence.size() && extendedKey >= 0) {
        return KeyFromExtendedReport(static_cast<char32_t>(extendedKey), modifier, extraShift);
    }
    used = 0;
    modifier = 0;
    if (std::sscanf(sequence.c_str(), "\033[%d;%d%c%n", &number, &modifier, &final, &used) != 3 ||
        static_cast<size_t>(used) != sequence.size() || modifier < 2 || modifier > 8) {
        return KeyEvent();
    }
    for (const SequenceKey& key : kSequenceKeys) {
        const bool tilde = key.letter == 0;
        if (key.number == number && (tilde ? final == '~' : final == key.letter)) {
            return KeyFromName(ModifierPrefix(ShiftFromModifier(modifier) | extraShift) + key.label);
        }
    }
    return KeyEvent();
}

KeyEvent KeyFromChar(char32_t ch, bool alt) {
    KeyEvent key;
    if (ch == 127 || ch == 8) {
        // Escape and Backspace is how terminals send Alt+Backspace.
        if (alt) {
            key.code = KEY_ALT_BACKSPACE;
            key.shift = kShiftAlt;
            return key;
        }
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

KeyEvent KeyFromExtendedReport(char32_t k, int modifier, int32_t extraShift) {
    KeyEvent key;
    if (modifier < 1 || modifier > 256 || k >= 0x110000 || (k >= 0xD800 && k <= 0xDFFF)) {
        return key;
    }
    // Caps Lock, Num Lock and the keys beyond Ctrl are no part of the shift state.
    const int32_t shift = ShiftFromModifier(((modifier - 1) & 7) + 1) | extraShift;
    const bool ctrl = (shift & kShiftCtrl) != 0;
    const bool alt = (shift & kShiftAlt) != 0;
    const bool shifted = (shift & kShiftShift) != 0;
    const int32_t shiftedFlag = shifted ? kShifted : 0;
    key.shift = shift;
    switch (k) {
    case 9:
        key.code = ctrl ? KEY_CTRL_TAB : shifted ? KEY_SHIFT_TAB : KEY_TAB;
        key.ch = key.code == KEY_TAB ? KEY_TAB : 0;
        return key;
    case 13:
        key.code = ctrl ? KEY_CTRL_SCAN_ENTER + shiftedFlag : alt ? KEY_ALT_ENTER : KEY_ENTER + shiftedFlag;
        key.ch = ctrl || alt ? 0 : KEY_ENTER;
        return key;
    case 8:
    case 127:
        if (ctrl) {
            key.code = KEY_CTRL_BACKSPACE;
        } else if (alt) {
            key.code = KEY_ALT_BACKSPACE + shiftedFlag;
        } else {
            key.code = KEY_BACKSPACE;
            key.ch = 8;
        }
        return key;
    case 27:
        key.code = KEY_ESC;
        key.ch = KEY_ESC;
        return key;
    default:
        break;
    }
    if (k < 32 || k == 127) {
        return KeyEvent();
    }
    if (!ctrl) {
        // A letter reported with Shift may come as its lower case.
        char32_t shown = shifted && k >= 'a' && k <= 'z' ? k - 'a' + 'A' : k;
        KeyEvent plain = KeyFromChar(shown, alt);
        plain.shift |= shift;
        return plain;
    }
    // Ctrl with a digit addresses the stored directory slots, Shift storing;
    // Shift may turn the digit into its US-layout symbol first.
    static const char kShiftedDigits[] = ")!@#$%^&*(";
    int digit = -1;
    if (k >= '0' && k <= '9') {
        digit = static_cast<int>(k - '0');
    } else if (shifted && k < 128 && k != 0) {
        if (const char* at = std::strchr(kShiftedDigits, static_cast<int>(k))) {
            digit = static_cast<int>(at - kShiftedDigits);
        }
    }
    if (digit >= 0) {
        key.code = KEY_SLOT_0 + digit + shiftedFlag;
        return key;
    }
    if (k == ' ' || k == '@') {
        // Both are the NUL key of terminals.
        key.code = KEY_CTRL_SCAN_SPACE;
        return key;
    }
    const char32_t lower = k >= 'A' && k <= 'Z' ? k - 'A' + 'a' : k;
    if (lower == 'i') {
        // Tab is the character of Ctrl+I: the key has a code of its own.
        key.code = KEY_CTRL_I + shiftedFlag;
        return key;
    }
    if (lower >= 'a' && lower <= 'z') {
        key.ch = static_cast<int32_t>(lower - 'a' + 1);
        key.code = key.ch + shiftedFlag;
        return key;
    }
    if (k >= '[' && k <= '_') {
        // Ctrl+[, Ctrl+\, Ctrl+] and their kind: the control character.
        key.ch = static_cast<int32_t>(k & 0x1F);
        key.code = key.ch;
        return key;
    }
    key.code = static_cast<int32_t>(k);
    key.ch = static_cast<int32_t>(k);
    return key;
}

KeyEvent KeyFromTerminalKey(int ncursesKey, const std::string& rawName, int32_t extraShift) {
    // Function keys come as "KEY_F(n)".
    int n = 0;
    if (std::sscanf(rawName.c_str(), "KEY_F(%d)", &n) == 1) {
        return FunctionKey(n, extraShift);
    }
    KeyEvent key;
    if (rawName == "KEY_BACKSPACE") {
        return KeyFromChar(127, (extraShift & kShiftAlt) != 0);
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
        key.shift = ShiftFromModifier(modifier) | extraShift;
        key.code = ModifiedCode(ck.plain, ck.plain, ck.ctrl, ck.alt, key.shift);
        return key;
    }
    (void)ncursesKey;
    return key;
}

KeyEvent KeyFromName(const std::string& fullName) {
    static const struct {
        const char* prefix;
        int32_t bit;
    } kModifiers[] = {{"Shift+", kShiftShift}, {"Ctrl+", kShiftCtrl}, {"Alt+", kShiftAlt}};
    std::string name = fullName;
    int32_t shift = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& m : kModifiers) {
            size_t len = std::strlen(m.prefix);
            if (name.size() > len && name.compare(0, len, m.prefix) == 0) {
                shift |= m.bit;
                name.erase(0, len);
                found = true;
            }
        }
    }
    KeyEvent key;
    int n = 0;
    char tail = 0;
    if (std::sscanf(name.c_str(), "F%d%c", &n, &tail) == 1 && n >= 1 && n <= 12) {
        FunctionKeyCodes f = FunctionKeyScan(n - 1);
        key.code = ModifiedCode(f.plain, f.shift, f.ctrl, f.alt, shift, true);
        key.shift = shift;
        return key;
    }
    for (const CursorKey& ck : kCursorKeys) {
        if (name == ck.label) {
            key.code = ModifiedCode(ck.plain, ck.plain, ck.ctrl, ck.alt, shift);
            key.shift = shift;
            return key;
        }
    }
    // Keys that are characters.
    static const struct {
        const char* label;
        char32_t ch;
    } kCharKeys[] = {{"Tab", 9}, {"Enter", 13}, {"Esc", 27}, {"Backspace", 8}, {"Space", U' '}};
    char32_t ch = 0;
    for (const auto& k : kCharKeys) {
        if (name == k.label) {
            ch = k.ch;
        }
    }
    if (ch == 0) {
        std::u32string one = Utf8ToUtf32(name);
        if (one.size() != 1) {
            return key;
        }
        ch = one[0];
    }
    // With modifiers held a key is what a terminal's extended report of it gives.
    return shift != 0 ? KeyFromExtendedReport(ch, ModifierFromShift(shift)) : KeyFromChar(ch, false);
}

const char kExtendedKeysOn[] = "\033[>4;2m";
const char kExtendedKeysOff[] = "\033[>4m";

}  // namespace qvhost
