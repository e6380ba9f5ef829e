// What qvhost gives the terminal for the program's screen. The program lays
// out one character per cell, so every cell must take exactly one terminal
// column, and nothing from the program's data may reach the terminal as a
// control: a stray escape in a file name would otherwise drive the terminal.
#pragma once

#include <string>

namespace qvhost {

// The character a terminal shows for a cell: the screen's glyph for control
// characters, the character itself when it takes one column, and a
// one-column stand-in for anything wider or narrower (wide CJK and emoji,
// combining and zero-width marks, unassigned code points).
char32_t TerminalGlyph(char32_t ch);
// The stand-in.
constexpr char32_t kStandIn = 0xFFFD;
// How many columns a terminal gives the character (-1 for none it can show),
// by the C library's UTF-8 tables whatever the process's locale.
int TerminalColumns(char32_t ch);

// A window title as UTF-8 that is safe inside the title sequence: control
// characters and code points that are no characters become '?', and it is
// cut to a sane length.
std::string TerminalTitle(const std::u32string& title);

// How the program's screen fits a terminal: where the terminal is smaller
// than the screen the program laid out (it has a minimum), the part that fits
// is shown and the terminal's last row carries a notice of the size needed.
struct TerminalLayout {
    int columns = 0;     // columns of the program's screen shown
    int rows = 0;        // rows of the program's screen shown
    int noticeRow = -1;  // the terminal row of the notice, -1 for none
};
TerminalLayout LayoutOnTerminal(int screenColumns, int screenRows, int terminalColumns, int terminalRows);
// The notice, cut to the terminal's width.
std::u32string SizeNotice(int screenColumns, int screenRows, int terminalColumns, int terminalRows);

}  // namespace qvhost
