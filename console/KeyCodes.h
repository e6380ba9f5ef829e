// The key codes the whole system dispatches on.
//
// A plain character key gives its character code. Function, cursor and
// editing keys give KEY_EXTENDED plus the key's PC scan code; Shift adds
// KEY_SHIFTED to a few of them. Above those lie the codes for mouse, close and
// resize events, which are not keys at all.
#pragma once

const int KEY_EXTENDED = 0x10000;
const int KEY_SHIFTED = 0x20000;

const int KEY_F1 = KEY_EXTENDED + 0x3B;  // F1 to F10 follow one another
const int KEY_F10 = KEY_EXTENDED + 0x44;
const int KEY_F11 = KEY_EXTENDED + 0x85;
const int KEY_F12 = KEY_EXTENDED + 0x86;
const int KEY_SHIFT_F1 = KEY_SHIFTED + KEY_EXTENDED + 0x54;  // to Shift+F10
const int KEY_CTRL_F1 = KEY_EXTENDED + 0x5E;                 // to Ctrl+F10
const int KEY_ALT_F1 = KEY_EXTENDED + 0x68;                  // to Alt+F10

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
const int KEY_CTRL_PGUP = KEY_EXTENDED + 0x84;
const int KEY_CTRL_PGDN = KEY_EXTENDED + 0x76;
const int KEY_SHIFT_TAB = KEY_SHIFTED + KEY_EXTENDED + 0x0F;
const int KEY_SHIFT_INSERT = KEY_SHIFTED + KEY_INSERT;

const int KEY_BACKSPACE = 0x10101;
// A code that the dialog loop and the waits for a key press pass over.
const int KEY_IGNORED = 0x10100;
// A mouse event; its details are in the TInputEvent.
const int KEY_MOUSE = 0x200000;
// The host closed the input.
const int KEY_CLOSED = 0x800001;
// The screen size changed; the new size is in the TInputEvent's x and y.
const int KEY_RESIZED = 0x800002;

// The shift-state bits of events.
const int SHIFT_ALT = 1;
const int SHIFT_CTRL = 2;
const int SHIFT_SHIFT = 4;
const int SHIFT_NUMLOCK = 8;  // local console only

// Further keys of the viewer and its callers.
const int KEY_ESC = 27;
const int KEY_ENTER = 13;
const int KEY_CTRL_L = 12;
const int KEY_F2 = KEY_F1 + 1;
const int KEY_F3 = KEY_F1 + 2;
const int KEY_F4 = KEY_F1 + 3;
const int KEY_F7 = KEY_F1 + 6;
const int KEY_F8 = KEY_F1 + 7;
const int KEY_F9 = KEY_F1 + 8;
const int KEY_SHIFT_F4 = KEY_SHIFT_F1 + 3;
const int KEY_SHIFT_F7 = KEY_SHIFT_F1 + 6;
const int KEY_ALT_F4 = KEY_ALT_F1 + 3;
const int KEY_ALT_F7 = KEY_ALT_F1 + 6;
const int KEY_CTRL_LEFT = KEY_EXTENDED + 0x73;
const int KEY_CTRL_RIGHT = KEY_EXTENDED + 0x74;
const int KEY_ALT_UP = KEY_EXTENDED + 0x98;
const int KEY_ALT_DOWN = KEY_EXTENDED + 0xA0;
const int KEY_ALT_1 = KEY_EXTENDED + 0x78;  // to Alt+8 (0x7F), Alt+9, Alt+0
const int KEY_ALT_8 = KEY_EXTENDED + 0x7F;
// Alt with a letter: the letter's scan code.
const int KEY_ALT_E = KEY_EXTENDED + 0x12;
const int KEY_ALT_T = KEY_EXTENDED + 0x14;
const int KEY_ALT_O = KEY_EXTENDED + 0x18;
const int KEY_ALT_F = KEY_EXTENDED + 0x21;
const int KEY_ALT_H = KEY_EXTENDED + 0x23;
const int KEY_ALT_L = KEY_EXTENDED + 0x26;
const int KEY_ALT_C = KEY_EXTENDED + 0x2E;
// Left and Right as some hosts send them with a modifier of their own.
const int KEY_HOST_LEFT = 0x40004;
const int KEY_HOST_SHIFT_LEFT = 0x60004;
const int KEY_HOST_RIGHT = 0x40006;
const int KEY_HOST_SHIFT_RIGHT = 0x60006;
