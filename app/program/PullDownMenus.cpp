// The table of the five menus and the marks of the items that toggle a
// setting.
#include "app/panels/Panel.h"
#include "app/program/Menus.h"
#include "app/settings/Config.h"
#include "console/KeyCodes.h"
#include "console/MenuCodes.h"

namespace {

constexpr int HotIndexOf(const char* text, char letter) {
    for (int i = 0; text[i] != 0; i++) {
        if (text[i] == letter) {
            return i;
        }
    }
    return 0;
}

constexpr TPullDownItem Item(const char* text, char hot, int code) {
    return TPullDownItem{text, HotIndexOf(text, hot), MenuMarkOff, static_cast<uint32_t>(code), 0};
}

constexpr TPullDownItem Separator() {
    return TPullDownItem{nullptr, 0, MenuMarkOff, 0, 0};
}

// Where the rows of the two panel menus stand, for the marks.
enum EPanelMenuRow {
    RowBrief = 0,
    RowFull = 1,
    RowWide = 2,
    RowBriefWide = 3,
    RowFullWidth = 4,
    RowInfo = 5,
    RowTree = 6,
    RowName = 9,  // then Extension, Time, Size, Unsorted
    RowReverse = 14,
};

// The rows of the Options menu that mirror a switch of the configuration.
struct TOptionMark {
    int row;
    uint8_t TCONFIG::*byteSetting;
    int32_t TCONFIG::*intSetting;
};

const TOptionMark OptionMarks[] = {
    {4, &TCONFIG::Hidden, nullptr},       {5, &TCONFIG::PathPrompt, nullptr}, {6, &TCONFIG::FullScreen, nullptr},
    {7, nullptr, &TCONFIG::Clock},        {8, &TCONFIG::TagDirs, nullptr},    {9, &TCONFIG::ThousandSep, nullptr},
    {10, &TCONFIG::RetainCount, nullptr},
};

uint32_t Mark(bool on) {
    return on ? MenuMarkOn : MenuMarkOff;
}

void MarkPanelMenu(TPullDownMenu& menu, const CPanel& panel) {
    const bool files = panel.panelType == PANEL_FILES;
    const int styles[] = {VIEW_BRIEF, VIEW_FULL, VIEW_WIDE, VIEW_BRIEFWIDE};
    for (int i = 0; i < 4; i++) {
        menu.items[RowBrief + i].mark = Mark(files && panel.viewStyle == styles[i]);
    }
    menu.items[RowFullWidth].mark = Mark(panel.widthKind == WIDTH_FULL);
    menu.items[RowInfo].mark = Mark(panel.panelType == PANEL_INFO);
    menu.items[RowTree].mark = Mark(files && panel.viewStyle == VIEW_TREE);
    const int mode = panel.sortMode;
    for (int i = 0; i < 5; i++) {
        menu.items[RowName + i].mark = Mark(mode % 5 == i);
    }
    menu.items[RowReverse].mark = Mark(mode >= 5);
}

}  // namespace

char TPullDownItem::HotLetter() const {
    if (text == nullptr) {
        return 0;
    }
    char c = text[hotIndex];
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

const char* const MenuBarLine = "    Left    Files    Commands    Options    Right  ";
const char* const MenuTitles[MenuTitleCount] = {"  Left  ", "  Files  ", "  Commands  ", "  Options  ", "  Right  "};
const int MenuTitleColumns[MenuTitleCount] = {2, 10, 19, 31, 42};
const char MenuTitleLetters[MenuTitleCount + 1] = "lfcor";

TPullDownMenu PullDownMenus[MenuTitleCount] = {
    {19,
     21,
     {
         Item("Brief       AlSh-F1", 'B', MENU_LEFT_BRIEF),
         Item("Full        AlSh-F2", 'F', MENU_LEFT_FULL),
         Item("Wide        AlSh-F3", 'W', MENU_LEFT_WIDE),
         Item("Brief-Wide  AlSh-F4", 'e', MENU_LEFT_BRIEF_WIDE),
         Item("Full Width  CtSh-F1", 'h', KEY_CTRL_SHIFT_F1),
         Item("Info        Ctrl-L", 'I', MENU_LEFT_INFO),
         Item("Tree", 'T', MENU_LEFT_TREE),
         Item("On/Off      Ctrl-F1", 'O', KEY_CTRL_F1),
         Separator(),
         Item("Name        Ctrl-F3", 'N', MENU_LEFT_SORT_NAME),
         Item("Extension   Ctrl-F4", 'x', MENU_LEFT_SORT_EXTENSION),
         Item("Time        Ctrl-F5", 'm', MENU_LEFT_SORT_TIME),
         Item("Size        Ctrl-F6", 'S', MENU_LEFT_SORT_SIZE),
         Item("Unsorted    Ctrl-F7", 'U', MENU_LEFT_SORT_UNSORTED),
         Item("Reverse     Ctrl-F8", 'v', MENU_LEFT_REVERSE),
         Separator(),
         Item("Re-Read     Ctrl-R", 'R', MENU_LEFT_REREAD),
         Item("Filter", 'l', MENU_LEFT_FILTER),
         Item("Drive       Alt-F1", 'D', KEY_ALT_F1),
     }},
    {20,
     27,
     {
         Item("Manual       Shift-F1", 'l', KEY_SHIFT_F1),
         Item("User Menu          F2", 'U', KEY_F2),
         Item("View               F3", 'V', KEY_F3),
         Item("Edit               F4", 'E', KEY_F4),
         Item("Copy               F5", 'C', KEY_F5),
         Item("Rename or Move     F6", 'R', KEY_F6),
         Item("Make Directory     F7", 'M', KEY_F7),
         Item("Delete             F8", 'D', KEY_F8),
         Separator(),
         Item("File Attributes    Ctrl-A", 'A', KEY_CTRL_A),
         Item("File Case          Ctrl-C", 'F', KEY_CTRL_C),
         Item("File Date/Time", 'T', MENU_FILE_DATE),
         Item("File Information   Ctrl-I", 'o', KEY_CTRL_I),
         Separator(),
         Item("Select Group       Grey +", 'G', MENU_SELECT_GROUP),
         Item("Unselect Group     Grey -", 'n', MENU_UNSELECT_GROUP),
         Item("Invert Sel'n       Grey *", 'I', MENU_INVERT_SELECTION),
         Item("Restore Sel'n  Alt-Grey +", 's', MENU_RESTORE_SELECTION),
         Separator(),
         Item("Quit               F10", 'Q', KEY_F10),
     }},
    {16,
     30,
     {
         Item("Tree                 Alt-F10", 'T', KEY_ALT_F10),
         Item("File Find            Alt-F7", 'F', KEY_ALT_F7),
         Item("History              Alt-F8", 'H', KEY_ALT_F8),
         Item("EGA Lines            Alt-F9", 'E', KEY_ALT_F9),
         Item("Directory History    Alt-\\", 'i', KEY_ALT_BACKSLASH),
         Item("Stored Paths         Alt-F5", 'P', KEY_ALT_F5),
         Separator(),
         Item("Swap Panels          Ctrl-U", 'S', KEY_CTRL_U),
         Item("Panels On/Off        Ctrl-O", 'n', KEY_CTRL_O),
         Item("Compare Directories  Ctrl-K", 'C', KEY_CTRL_K),
         Item("Synchronize          CtSh-F9", 'y', KEY_CTRL_SHIFT_F9),
         Item("Calculate Dir Size   Ctrl-Q", 'D', KEY_CTRL_Q),
         Item("Open Explorer Window Ctrl-W", 'O', KEY_CTRL_W),
         Separator(),
         Item("Edit Associations", 'A', MENU_EDIT_ASSOCIATIONS),
         Item("Edit User Menu", 'M', MENU_EDIT_USER_MENU),
     }},
    {13,
     25,
     {
         Item("Configuration", 'C', MENU_CONFIGURATION),
         Item("Colours", 'o', MENU_COLOURS),
         Item("Confirmations", 'n', MENU_CONFIRMATIONS),
         Separator(),
         Item("Hidden Files    Ctrl-H", 'H', MENU_HIDDEN_FILES),
         Item("Path Prompt", 'P', MENU_PATH_PROMPT),
         Item("Full Screen", 'F', MENU_FULL_SCREEN),
         Item("Clock", 'l', MENU_CLOCK),
         Item("Tag Directories", 'T', MENU_TAG_DIRECTORIES),
         Item("Thousand Separator", 'u', MENU_THOUSAND_SEPARATOR),
         Item("Retain Dir Count", 'R', MENU_RETAIN_COUNT),
         Separator(),
         Item("Save Setup      Shft-F9", 'S', MENU_SAVE_SETUP),
     }},
    {19,
     21,
     {
         Item("Brief       AlSh-F1", 'B', MENU_RIGHT_BRIEF),
         Item("Full        AlSh-F2", 'F', MENU_RIGHT_FULL),
         Item("Wide        AlSh-F3", 'W', MENU_RIGHT_WIDE),
         Item("Brief-Wide  AlSh-F4", 'e', MENU_RIGHT_BRIEF_WIDE),
         Item("Full Width  CtSh-F2", 'h', KEY_CTRL_SHIFT_F2),
         Item("Info        Ctrl-L", 'I', MENU_RIGHT_INFO),
         Item("Tree", 'T', MENU_RIGHT_TREE),
         Item("On/Off      Ctrl-F2", 'O', KEY_CTRL_F2),
         Separator(),
         Item("Name        Ctrl-F3", 'N', MENU_RIGHT_SORT_NAME),
         Item("Extension   Ctrl-F4", 'x', MENU_RIGHT_SORT_EXTENSION),
         Item("Time        Ctrl-F5", 'm', MENU_RIGHT_SORT_TIME),
         Item("Size        Ctrl-F6", 'S', MENU_RIGHT_SORT_SIZE),
         Item("Unsorted    Ctrl-F7", 'U', MENU_RIGHT_SORT_UNSORTED),
         Item("Reverse     Ctrl-F8", 'v', MENU_RIGHT_REVERSE),
         Separator(),
         Item("Re-Read     Ctrl-R", 'R', MENU_RIGHT_REREAD),
         Item("Filter", 'l', MENU_RIGHT_FILTER),
         Item("Drive       Alt-F2", 'D', KEY_ALT_F2),
     }},
};

void UpdateMenuMarks() {
    MarkPanelMenu(PullDownMenus[MenuLeft], Panels[0]);
    MarkPanelMenu(PullDownMenus[MenuRight], Panels[1]);
    TPullDownMenu& options = PullDownMenus[MenuOptions];
    for (const TOptionMark& m : OptionMarks) {
        bool on = m.byteSetting ? Config.*m.byteSetting != 0 : Config.*m.intSetting != 0;
        options.items[m.row].mark = Mark(on);
    }
}
