// Turns what a terminal reports (ncurses key codes and characters) into the key
// events of the protocol: key code, shift state and character.
#pragma once

#include <cstdint>
#include <string>

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
KeyEvent KeyFromTerminalKey(int ncursesKey, const std::string& name);
// A key by name, as tests press it: "F1"-"F12", "Up", "Down", "Left", "Right",
// "Home", "End", "PgUp", "PgDn", "Ins", "Del", "Tab", "Enter", "Esc",
// "Backspace", "Space" or one character, after any of the prefixes "Shift+",
// "Ctrl+" and "Alt+". Code 0 for a name it does not know.
KeyEvent KeyFromName(const std::string& name);

}  // namespace qvhost
