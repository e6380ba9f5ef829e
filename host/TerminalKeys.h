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
// A key from one of those sequences; code 0 for any other sequence.
KeyEvent KeyFromSequence(const std::string& sequence, int32_t extraShift = 0);
// A key by name, as tests press it: "F1"-"F12", "Up", "Down", "Left", "Right",
// "Home", "End", "PgUp", "PgDn", "Ins", "Del", "Tab", "Enter", "Esc",
// "Backspace", "Space" or one character, after any of the prefixes "Shift+",
// "Ctrl+" and "Alt+". Code 0 for a name it does not know.
KeyEvent KeyFromName(const std::string& name);

}  // namespace qvhost
