// The pull-down menu bar over the top row: five titles (Left, Files,
// Commands, Options, Right), each with a menu of commands. Choosing an item
// gives its command code: the key code of the key the item stands for, or a
// menu command code (console/MenuCodes.h) for a command without a key; the
// command dispatch takes both alike.
#pragma once

#include <cstdint>

class Win;

// One row of a menu. A separator has no text.
struct TPullDownItem {
    const char* text;  // the command, then the key shown beside it
    int32_t hotIndex;  // the hot letter's index in the text
    uint32_t mark;     // U+221A when the setting it toggles is on, else a blank
    uint32_t code;     // 0: the item is disabled
    uint32_t spare;

    bool IsSeparator() const { return text == nullptr; }
    // The hot letter in lower case, 0 for a separator.
    char HotLetter() const;
};

constexpr int PullDownMaxItems = 20;

struct TPullDownMenu {
    uint32_t count;
    uint32_t width;  // client columns: the mark and the text
    TPullDownItem items[PullDownMaxItems];
};

enum EPullDownTitle {
    MenuLeft = 0,
    MenuFiles = 1,
    MenuCommands = 2,
    MenuOptions = 3,
    MenuRight = 4,
    MenuTitleCount = 5
};

// The menus in title order; the marks are rewritten at every opening.
extern TPullDownMenu PullDownMenus[MenuTitleCount];

// The bar line, the titles with their start columns and their hot letters.
extern const char* const MenuBarLine;
extern const char* const MenuTitles[MenuTitleCount];
extern const int MenuTitleColumns[MenuTitleCount];
extern const char MenuTitleLetters[MenuTitleCount + 1];

constexpr uint32_t MenuMarkOn = 0x221A;
constexpr uint32_t MenuMarkOff = ' ';

// Sets every mark from the live panels and settings.
void UpdateMenuMarks();

// Draws one row of a menu into its window (client coordinates).
void DrawMenuItem(Win* window, int menu, int item, bool selected);

// Runs the bar: without `resume` it opens on the title of the active side
// (Left for 0, Right for 1) with no menu pulled down, with it where it was
// left. The command code chosen, 0 when the bar was left without a choice.
int RunMenuBar(int side, bool resume);
