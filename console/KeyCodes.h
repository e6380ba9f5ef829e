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
const int KEY_F2 = KEY_EXTENDED + 0x3C;
const int KEY_F3 = KEY_EXTENDED + 0x3D;
const int KEY_F4 = KEY_EXTENDED + 0x3E;
const int KEY_F5 = KEY_EXTENDED + 0x3F;
const int KEY_F6 = KEY_EXTENDED + 0x40;
const int KEY_F7 = KEY_EXTENDED + 0x41;
const int KEY_F8 = KEY_EXTENDED + 0x42;
const int KEY_F9 = KEY_EXTENDED + 0x43;
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
