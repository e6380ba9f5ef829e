#include "shell/UserMenu.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelDirectoryChange.h"
#include "app/settings/Colours.h"
#include "app/settings/DataFiles.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/Wildcard.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "shell/CommandExecution.h"
#include "shell/CommandMacros.h"
#include "shell/TempFiles.h"
#include "ui/Dialog.h"

namespace {

char32_t UpperCase(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

// The rows of the menu: key texts padded to one width, then the titles; a
// submenu's row ends in ">".
void BuildRows(MenuStore& store, const Westring& title, WestringStore& rows, int& width) {
    width = title.Length();
    for (int i = 0; i < store.Count(); i++) {
        MenuEntry* item = store.At(i);
        Westring row = item->keyText.Pad(store.longestKey + 1) + item->title;
        rows.Add(new Westring(row));
        int length = row.Length() + (item->submenu != nullptr ? 1 : 0);
        if (length > width) {
            width = length;
        }
    }
    for (int i = 0; i < store.Count(); i++) {
        if (store.At(i)->submenu != nullptr) {
            Westring* row = rows.At(i);
            *row = row->Pad(width - 1) + Westring(">");
        }
    }
}

}  // namespace

MenuEntry* ShowUserMenu(MenuStore& store, const Westring& title, int column) {
    if (store.Count() == 0) {
        return nullptr;
    }
    WestringStore rows;
    int width = 0;
    BuildRows(store, title, rows, width);
    int height = ScreenRows - 8 < store.Count() ? ScreenRows - 8 : store.Count();
    if (height < 1) {
        height = 1;
    }
    int inner = width + 3 < ScreenColumns ? width + 2 : ScreenColumns - 2;
    int outer = inner + 2;
    int32_t selection = 0;
    for (;;) {
        int x = -1;
        int a = outer;
        if (column >= 0) {
            x = column + outer - 1 > ScreenColumns - 3 ? ScreenColumns - 2 - outer : column;
            x = x < 0 ? 0 : x;
            a = x + outer - 1;
        }
        MenuEntry* chosen = nullptr;
        int right = 0;
        {
            Dialog dialog(x, -3, a, height + 2, ColourOf(ColourMenu));
            Westring framed = Westring(" ") + title + Westring(" ");
            Estring text;
            framed.ToUtf8(text);
            dialog.WriteCentred(-1, text.Data(), ColourOf(ColourMenu));
            dialog.AddListBoxWestring(0, 0, 1, inner, height, rows, &selection, -1);
            right = dialog.Right();
            for (;;) {
                int key = dialog.Run();
                if (key == KEY_ESC || key == KEY_CLOSED || key <= 0) {
                    return nullptr;
                }
                if (key != KEY_ENTER) {
                    // A hot key acts as Enter on its entry.
                    int code =
                        (key & KEY_EXTENDED) == 0 ? static_cast<int>(UpperCase(static_cast<char32_t>(key))) : key;
                    int found = -1;
                    for (int i = 0; i < store.Count() && found < 0; i++) {
                        if (store.At(i)->hotKey != 0 && store.At(i)->hotKey == code) {
                            found = i;
                        }
                    }
                    if (found < 0) {
                        continue;
                    }
                    selection = found;
                }
                if (selection >= 0 && selection < store.Count()) {
                    chosen = store.At(selection);
                    break;
                }
            }
        }
        if (chosen->submenu == nullptr) {
            return chosen;
        }
        MenuEntry* inside = ShowUserMenu(*chosen->submenu, chosen->title, right);
        if (inside != nullptr) {
            return inside;
        }
    }
}

Westring FindUserMenuFile(const Westring& directory, bool mainMenu) {
    Westring main = DataFilePath(DataFileUserMenu, DataFileUserFolder);
    if (!DataFileExists(main)) {
        main = DataFilePath(DataFileUserMenu, DataFileProgramFolder);
    }
    if (mainMenu || directory.IsEmpty()) {
        return main;
    }
    Westring name = ExtractFileName(main);
    Westring current = directory;
    for (;;) {
        Westring candidate = AddTrailingBackslash(current) + name;
        if (DataFileExists(candidate)) {
            return candidate;
        }
        Westring parent = AddTrailingBackslash(current) + Westring("..");
        // At a root the parent is the root again: the walk ends there.
        if (NormalizePath(parent) != 0 || parent.EqualsExact(current)) {
            return main;
        }
        current = parent;
    }
}

namespace {

// Runs one command line of the chosen entry; `target` is the directory the
// menu's cd and drive lines have chosen so far.
void RunMenuLine(const Westring& expanded, int side, Westring& target, bool& stop) {
    stop = false;
    if (expanded.IsEmpty()) {
        return;
    }
    if (MatchWildcard(U"cd[\\. ]*", expanded.Data()) != 0) {
        ParseCdArgument(expanded, side, target);
        if (!target.IsEmpty()) {
            ChangeDirectory(target);
        }
        return;
    }
    if (MatchWildcard(U"?:", expanded.Data()) != 0) {
        ChangeDrive(UpperCase(expanded[0]));
        target = GetDriveCurrentDirectoryWide(UpperCase(expanded[0]));
        return;
    }
    stop = ExecuteCommandLine(expanded, side, CommandKeepDirectory) != 0;
}

void RunMenuEntry(const MenuEntry& item, int side) {
    RemoveTempFiles();
    CPanel* panel = &Panels[side];
    // The lines run in the panel's directory until a cd or drive line moves them.
    ChangeDirectory(GetPanelDirectory(panel));
    Westring target;
    for (int line = 0; line < item.commands.Count(); line++) {
        const Westring& command = *item.commands.At(line);
        // The probe asks the line's input prompts once; the expansions take
        // its answers, each quoted for the road the line itself takes.
        Westring probe = command;
        TPromptAnswers answers;
        int used = ExpandCommandMacrosInString(probe, Westring(), side, MacroModeProbe, &answers);
        if (used < 0) {
            break;
        }
        bool stop = false;
        if (used == 1 && panel->taggedCount > 0) {
            for (int i = 0; i < panel->entryCount && !stop; i++) {
                entry* each = panel->entries[i];
                if (!each->tagged) {
                    continue;
                }
                Westring text = command;
                if (ExpandCommandMacrosInString(text, Westring(each->name), side, MacroModeCursor, &answers) < 0) {
                    break;
                }
                RunMenuLine(text, side, target, stop);
            }
            continue;
        }
        entry* current = panel->CursorEntry();
        Westring text = command;
        if (ExpandCommandMacrosInString(text, current != nullptr ? Westring(current->name) : Westring(), side,
                                        MacroModeCursor, &answers) < 0) {
            continue;
        }
        RunMenuLine(text, side, target, stop);
    }
    if (!target.IsEmpty() && SetPanelPath(panel, target)) {
        ChangePanelDirectory(Panels, side, Westring(), false, -1, 0);
    }
}

}  // namespace

void UserMenuCommand(int side, bool mainMenu) {
    CPanel* panel = &Panels[side];
    Westring directory = GetPanelDirectory(panel);
    TMenuReadContext context;
    context.cursorEntry = panel->CursorEntry();
    context.panelDirectory = directory;
    MenuStore menu;
    if (!ReadMenuFileAt(menu, FindUserMenuFile(directory, mainMenu), context) || menu.Count() == 0) {
        return;
    }
    MenuEntry* chosen = ShowUserMenu(menu, Westring("User  Menu"), -1);
    if (chosen != nullptr) {
        RunMenuEntry(*chosen, side);
    }
}
