// The key codes the whole system dispatches on.
//
// A plain character key gives its character code; the control characters
// below name the Ctrl+letter keys that give one. Function, cursor and editing
// keys give KEY_EXTENDED plus the key's PC scan code; Shift adds KEY_SHIFTED
// to a few of them. Above those lie the codes for mouse, close and resize
// events, which are not keys at all. This header is the one place where key
// codes are written as numbers: everything else names them.
#pragma once

const int KEY_EXTENDED = 0x10000;
const int KEY_SHIFTED = 0x20000;
// Ten keys (the host chooses which) that address the stored directory slots
// 0 to 9: KEY_SLOT_0 + n, with KEY_SHIFTED to store rather than recall. The
// slot is the code's low four bits.
const int KEY_SLOT_FLAG = 0x40000;
const int KEY_SLOT_0 = KEY_SLOT_FLAG + 0x30;
// Ctrl combinations that have no control character of their own; the host
// reports them by scan code with this flag.
const int KEY_CTRL_SCAN = 0x80000;
// The grey keys of the keypad, which carry their character.
const int KEY_GREY_FLAG = 0x400000;

// PC scan codes of the keys whose extended codes are built below.
const int SCAN_BACKSPACE = 0x0E;
const int SCAN_TAB = 0x0F;
const int SCAN_LEFT_BRACKET = 0x1A;
const int SCAN_RIGHT_BRACKET = 0x1B;
const int SCAN_ENTER = 0x1C;
const int SCAN_F = 0x21;
const int SCAN_J = 0x24;
const int SCAN_BACKSLASH = 0x2B;
const int SCAN_GREY_PLUS = 0x4E;

// Alt+letter: KEY_EXTENDED plus the letter's scan code; the event carries the
// letter as its character. 0 for anything but a letter.
constexpr int KeyAltLetter(char letter) {
    const char* scans =
        "\x1E\x30\x2E\x20\x12\x21\x22\x23\x17\x24\x25\x26\x32"
        "\x31\x18\x19\x10\x13\x1F\x14\x16\x2F\x11\x2D\x15\x2C";
    return letter >= 'a' && letter <= 'z'   ? KEY_EXTENDED + scans[letter - 'a']
           : letter >= 'A' && letter <= 'Z' ? KEY_EXTENDED + scans[letter - 'A']
                                            : 0;
}

// Control characters.
const int KEY_CTRL_A = 0x01;
const int KEY_CTRL_B = 0x02;
const int KEY_CTRL_C = 0x03;
const int KEY_CTRL_D = 0x04;
const int KEY_CTRL_E = 0x05;
const int KEY_CTRL_F = 0x06;
const int KEY_CTRL_G = 0x07;
const int KEY_CTRL_H = 0x08;
const int KEY_TAB = 0x09;
const int KEY_CTRL_J = 0x0A;
const int KEY_CTRL_K = 0x0B;
const int KEY_CTRL_L = 0x0C;
const int KEY_ENTER = 0x0D;
const int KEY_CTRL_N = 0x0E;
const int KEY_CTRL_O = 0x0F;
const int KEY_CTRL_P = 0x10;
const int KEY_CTRL_Q = 0x11;
const int KEY_CTRL_R = 0x12;
const int KEY_CTRL_S = 0x13;
const int KEY_CTRL_T = 0x14;
const int KEY_CTRL_U = 0x15;
const int KEY_CTRL_V = 0x16;
const int KEY_CTRL_W = 0x17;
const int KEY_CTRL_X = 0x18;
const int KEY_CTRL_Y = 0x19;
const int KEY_CTRL_Z = 0x1A;
const int KEY_ESC = 0x1B;
const int KEY_CTRL_BACKSLASH = 0x1C;
const int KEY_CTRL_RIGHT_BRACKET = 0x1D;
const int KEY_CTRL_UNDERSCORE = 0x1F;
const int KEY_SPACE = 0x20;
const int KEY_CTRL_BACKSPACE = 0x7F;

// Control characters with Shift held.
const int KEY_SHIFT_CTRL_A = KEY_SHIFTED + KEY_CTRL_A;
const int KEY_SHIFT_CTRL_E = KEY_SHIFTED + KEY_CTRL_E;
const int KEY_SHIFT_CTRL_F = KEY_SHIFTED + KEY_CTRL_F;
const int KEY_SHIFT_CTRL_J = KEY_SHIFTED + KEY_CTRL_J;
const int KEY_SHIFT_CTRL_L = KEY_SHIFTED + KEY_CTRL_L;
const int KEY_SHIFT_ENTER = KEY_SHIFTED + KEY_ENTER;
const int KEY_SHIFT_CTRL_T = KEY_SHIFTED + KEY_CTRL_T;
const int KEY_SHIFT_CTRL_Y = KEY_SHIFTED + KEY_CTRL_Y;
const int KEY_SHIFT_CTRL_BACKSLASH = KEY_SHIFTED + KEY_CTRL_BACKSLASH;

// Function keys. Each group of ten follows one another: KEY_F1 + 4 is F5.
const int KEY_F1 = KEY_EXTENDED + 0x3B;
const int KEY_F2 = KEY_F1 + 1;
const int KEY_F3 = KEY_F1 + 2;
const int KEY_F4 = KEY_F1 + 3;
const int KEY_F5 = KEY_F1 + 4;
const int KEY_F6 = KEY_F1 + 5;
const int KEY_F7 = KEY_F1 + 6;
const int KEY_F8 = KEY_F1 + 7;
const int KEY_F9 = KEY_F1 + 8;
const int KEY_F10 = KEY_F1 + 9;
const int KEY_F11 = KEY_EXTENDED + 0x85;
const int KEY_F12 = KEY_EXTENDED + 0x86;

const int KEY_SHIFT_F1 = KEY_SHIFTED + KEY_EXTENDED + 0x54;
const int KEY_SHIFT_F2 = KEY_SHIFT_F1 + 1;
const int KEY_SHIFT_F3 = KEY_SHIFT_F1 + 2;
const int KEY_SHIFT_F4 = KEY_SHIFT_F1 + 3;
const int KEY_SHIFT_F5 = KEY_SHIFT_F1 + 4;
const int KEY_SHIFT_F6 = KEY_SHIFT_F1 + 5;
const int KEY_SHIFT_F7 = KEY_SHIFT_F1 + 6;
const int KEY_SHIFT_F8 = KEY_SHIFT_F1 + 7;
const int KEY_SHIFT_F9 = KEY_SHIFT_F1 + 8;
const int KEY_SHIFT_F10 = KEY_SHIFT_F1 + 9;

const int KEY_CTRL_F1 = KEY_EXTENDED + 0x5E;
const int KEY_CTRL_F2 = KEY_CTRL_F1 + 1;
const int KEY_CTRL_F3 = KEY_CTRL_F1 + 2;
const int KEY_CTRL_F4 = KEY_CTRL_F1 + 3;
const int KEY_CTRL_F5 = KEY_CTRL_F1 + 4;
const int KEY_CTRL_F6 = KEY_CTRL_F1 + 5;
const int KEY_CTRL_F8 = KEY_CTRL_F1 + 7;

const int KEY_ALT_F1 = KEY_EXTENDED + 0x68;
const int KEY_ALT_F2 = KEY_ALT_F1 + 1;
const int KEY_ALT_F3 = KEY_ALT_F1 + 2;
const int KEY_ALT_F4 = KEY_ALT_F1 + 3;
const int KEY_ALT_F5 = KEY_ALT_F1 + 4;
const int KEY_ALT_F6 = KEY_ALT_F1 + 5;
const int KEY_ALT_F7 = KEY_ALT_F1 + 6;
const int KEY_ALT_F8 = KEY_ALT_F1 + 7;
const int KEY_ALT_F9 = KEY_ALT_F1 + 8;
const int KEY_ALT_F10 = KEY_ALT_F1 + 9;

// Ctrl+Shift and Alt+Shift add KEY_SHIFTED to the Ctrl and Alt codes.
const int KEY_CTRL_SHIFT_F1 = KEY_SHIFTED + KEY_CTRL_F1;
const int KEY_CTRL_SHIFT_F2 = KEY_CTRL_SHIFT_F1 + 1;
const int KEY_CTRL_SHIFT_F3 = KEY_CTRL_SHIFT_F1 + 2;
const int KEY_CTRL_SHIFT_F4 = KEY_CTRL_SHIFT_F1 + 3;
const int KEY_CTRL_SHIFT_F5 = KEY_CTRL_SHIFT_F1 + 4;
const int KEY_CTRL_SHIFT_F9 = KEY_CTRL_SHIFT_F1 + 8;
const int KEY_ALT_SHIFT_F1 = KEY_SHIFTED + KEY_ALT_F1;
const int KEY_ALT_SHIFT_F2 = KEY_ALT_SHIFT_F1 + 1;
const int KEY_ALT_SHIFT_F3 = KEY_ALT_SHIFT_F1 + 2;
const int KEY_ALT_SHIFT_F4 = KEY_ALT_SHIFT_F1 + 3;
const int KEY_ALT_SHIFT_F7 = KEY_ALT_SHIFT_F1 + 6;
const int KEY_ALT_SHIFT_F8 = KEY_ALT_SHIFT_F1 + 7;
const int KEY_ALT_SHIFT_F9 = KEY_ALT_SHIFT_F1 + 8;

// Cursor and editing keys.
const int KEY_HOME = KEY_EXTENDED + 0x47;
const int KEY_UP = KEY_EXTENDED + 0x48;
const int KEY_PGUP = KEY_EXTENDED + 0x49;
const int KEY_LEFT = KEY_EXTENDED + 0x4B;
const int KEY_RIGHT = KEY_EXTENDED + 0x4D;
const int KEY_END = KEY_EXTENDED + 0x4F;
const int KEY_DOWN = KEY_EXTENDED + 0x50;
const int KEY_PGDN = KEY_EXTENDED + 0x51;
const int KEY_INSERT = KEY_EXTENDED + 0x52;
const int KEY_DELETE = KEY_EXTENDED + 0x53;
const int KEY_SHIFT_TAB = KEY_SHIFTED + KEY_EXTENDED + SCAN_TAB;
const int KEY_SHIFT_INSERT = KEY_SHIFTED + KEY_INSERT;
const int KEY_SHIFT_DELETE = KEY_SHIFTED + KEY_DELETE;

// With Ctrl held.
const int KEY_CTRL_LEFT = KEY_EXTENDED + 0x73;
const int KEY_CTRL_RIGHT = KEY_EXTENDED + 0x74;
const int KEY_CTRL_END = KEY_EXTENDED + 0x75;
const int KEY_CTRL_PGDN = KEY_EXTENDED + 0x76;
const int KEY_CTRL_HOME = KEY_EXTENDED + 0x77;
const int KEY_CTRL_PGUP = KEY_EXTENDED + 0x84;
const int KEY_CTRL_UP = KEY_EXTENDED + 0x8D;
const int KEY_CTRL_DOWN = KEY_EXTENDED + 0x91;
const int KEY_CTRL_INSERT = KEY_EXTENDED + 0x92;
const int KEY_CTRL_DELETE = KEY_EXTENDED + 0x93;
const int KEY_CTRL_TAB = KEY_EXTENDED + 0x94;
// Ctrl+I: Tab is the character Ctrl+I would give, so the key has a code of
// its own.
const int KEY_CTRL_I = KEY_EXTENDED + 0x102;

// With Alt held.
const int KEY_ALT_BACKSPACE = KEY_EXTENDED + SCAN_BACKSPACE;
const int KEY_ALT_BACKSLASH = KEY_EXTENDED + SCAN_BACKSLASH;
const int KEY_ALT_HOME = KEY_EXTENDED + 0x97;
const int KEY_ALT_UP = KEY_EXTENDED + 0x98;
const int KEY_ALT_PGUP = KEY_EXTENDED + 0x99;
const int KEY_ALT_LEFT = KEY_EXTENDED + 0x9B;
const int KEY_ALT_RIGHT = KEY_EXTENDED + 0x9D;
const int KEY_ALT_END = KEY_EXTENDED + 0x9F;
const int KEY_ALT_DOWN = KEY_EXTENDED + 0xA0;
const int KEY_ALT_PGDN = KEY_EXTENDED + 0xA1;

// Enter of the keypad and the Ctrl combinations reported by scan code.
const int KEY_KEYPAD_ENTER = KEY_EXTENDED + SCAN_ENTER;
const int KEY_SHIFT_KEYPAD_ENTER = KEY_SHIFTED + KEY_KEYPAD_ENTER;
const int KEY_CTRL_SCAN_LEFT_BRACKET = KEY_CTRL_SCAN + KEY_EXTENDED + SCAN_LEFT_BRACKET;
const int KEY_CTRL_SCAN_RIGHT_BRACKET = KEY_CTRL_SCAN + KEY_EXTENDED + SCAN_RIGHT_BRACKET;
const int KEY_CTRL_SCAN_ENTER = KEY_CTRL_SCAN + KEY_EXTENDED + SCAN_ENTER;
const int KEY_CTRL_SCAN_F = KEY_CTRL_SCAN + KEY_EXTENDED + SCAN_F;
const int KEY_CTRL_SCAN_J = KEY_CTRL_SCAN + KEY_EXTENDED + SCAN_J;
// Ctrl-Break, by the scan code of its key (Scroll Lock / Break).
const int KEY_CTRL_BREAK = KEY_CTRL_SCAN + KEY_EXTENDED + 0x46;
const int KEY_CTRL_SHIFT_SCAN_ENTER = KEY_SHIFTED + KEY_CTRL_SCAN_ENTER;
const int KEY_CTRL_SHIFT_SCAN_F = KEY_SHIFTED + KEY_CTRL_SCAN_F;
const int KEY_CTRL_SHIFT_SCAN_J = KEY_SHIFTED + KEY_CTRL_SCAN_J;

// The grey keys: plain, and with Alt or Ctrl (Ctrl+Shift adds KEY_SHIFTED).
const int KEY_GREY_STAR = KEY_GREY_FLAG + '*';
const int KEY_GREY_PLUS = KEY_GREY_FLAG + '+';
const int KEY_GREY_MINUS = KEY_GREY_FLAG + '-';
const int KEY_ALT_GREY_PLUS = KEY_EXTENDED + SCAN_GREY_PLUS;
const int KEY_CTRL_GREY_MINUS = KEY_EXTENDED + 0x8E;
const int KEY_CTRL_GREY_PLUS = KEY_EXTENDED + 0x90;
const int KEY_CTRL_SHIFT_GREY_MINUS = KEY_SHIFTED + KEY_CTRL_GREY_MINUS;
const int KEY_CTRL_SHIFT_GREY_PLUS = KEY_SHIFTED + KEY_CTRL_GREY_PLUS;

const int KEY_BACKSPACE = 0x10101;
// A code that the dialog loop and the waits for a key press pass over.
const int KEY_IGNORED = 0x10100;
// A mouse event; its details are in the TInputEvent.
const int KEY_MOUSE = 0x200000;
// The host closed the input.
const int KEY_CLOSED = 0x800001;
// The screen size changed; the new size is in the TInputEvent's x and y.
const int KEY_RESIZED = 0x800002;

// The largest code that is a character rather than a key.
const int KEY_LAST_CHARACTER = 0xFFFF;

// Keys of the editor.
const int KEY_ALT_ENTER = KEY_EXTENDED + SCAN_ENTER;  // what hosts send for Alt+Enter
const int KEY_ALT_COMMA = KEY_EXTENDED + 0x33;
const int KEY_ALT_PERIOD = KEY_EXTENDED + 0x34;
const int KEY_SHIFT_ALT_BACKSPACE = KEY_SHIFTED + KEY_ALT_BACKSPACE;
const int KEY_SHIFT_CTRL_INSERT = KEY_SHIFTED + KEY_CTRL_INSERT;
const int KEY_SHIFT_CTRL_U = KEY_SHIFTED + KEY_CTRL_U;
const int KEY_SHIFT_CTRL_MIXED_CASE = KEY_SHIFTED + KEY_EXTENDED + 0x103;
const int KEY_CTRL_SCAN_SPACE = KEY_CTRL_SCAN + KEY_EXTENDED + 0x39;
// Added by the editor to a key typed in literal mode.
const int KEY_LITERAL_FLAG = 0x1000000;

// The shift-state bits of events.
const int SHIFT_ALT = 1;
const int SHIFT_CTRL = 2;
const int SHIFT_SHIFT = 4;
const int SHIFT_NUMLOCK = 8;  // local console only

// Alt with a digit of the top row: Alt+1 to Alt+9 follow one another, then Alt+0.
const int KEY_ALT_1 = KEY_EXTENDED + 0x78;
const int KEY_ALT_8 = KEY_ALT_1 + 7;
// Left and Right as some hosts send them with a modifier of their own.
const int KEY_HOST_LEFT = 0x40004;
const int KEY_HOST_SHIFT_LEFT = 0x60004;
const int KEY_HOST_RIGHT = 0x40006;
const int KEY_HOST_SHIFT_RIGHT = 0x60006;
