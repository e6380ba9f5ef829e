// Turns what a terminal reports (ncurses key codes and characters) into the key
// events of the protocol: key code, shift state and character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvhost {

struct KeyEvent {
    int32_t code = 0;
    int32_t shift = 0;
    int32_t ch = 0;
};

// A plain character (as read, after an Escape prefix when `alt` is set).
KeyEvent KeyFromChar(char32_t ch, bool alt);
// A function or cursor key, from ncurses' key code and its terminfo name
// (keyname), which carries the modifiers of xterm-style keys ("kLFT5").
// Returns code 0 for keys the program has no use for.
// `extraShift` adds modifiers the terminal sent apart (Alt as an Escape
// before the key).
KeyEvent KeyFromTerminalKey(int ncursesKey, const std::string& name, int32_t extraShift = 0);
// The xterm forms of the function, cursor and editing keys with modifiers held
// (ESC [ 1 ; m A, ESC [ n ; m ~ for m = 2 to 8), which many terminal
// descriptions do not name: qvhost teaches them to the terminal library.
const std::vector<std::string>& ModifiedKeySequences();
// The extended key reports of Tab, Enter, Esc, Backspace and the printable
// characters with modifiers held (m = 2 to 8), in both forms: xterm's
// modifyOtherKeys (ESC [ 27 ; m ; k ~) and the CSI u form (ESC [ k ; m u)
// that tmux's extended-keys sends. Without them Ctrl+Tab, Ctrl+Enter,
// Ctrl+digit, Ctrl+I and Ctrl+H never differ from the plain keys.
const std::vector<std::string>& ExtendedKeySequences();
// A key from any of those sequences; code 0 for any other sequence.
KeyEvent KeyFromSequence(const std::string& sequence, int32_t extraShift = 0);
// A key from an extended report: `key` is the key's character (9 Tab, 13
// Enter, 27 Esc, 127 or 8 Backspace), `modifier` xterm's modifier number
// (2 Shift, 3 Alt, 5 Ctrl and their sums less one; Caps and Num Lock
// ignored). Code 0 for a report that names no key.
KeyEvent KeyFromExtendedReport(char32_t key, int modifier, int32_t extraShift = 0);
// What qvhost writes to the terminal to ask for the extended reports, and to
// give it its usual reports back on the way out. Terminals without them
// ignore both.
extern const char kExtendedKeysOn[];
extern const char kExtendedKeysOff[];
// A key by name, as tests press it: "F1"-"F12", "Up", "Down", "Left", "Right",
// "Home", "End", "PgUp", "PgDn", "Ins", "Del", "Tab", "Enter", "Esc",
// "Backspace", "Space" or one character, after any of the prefixes "Shift+",
// "Ctrl+" and "Alt+". Code 0 for a name it does not know.
KeyEvent KeyFromName(const std::string& name);

}  // namespace qvhost
