#include "app/program/HistoryPickers.h"

#include <initializer_list>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/settings/Histories.h"
#include "app/settings/HistoryFile.h"
#include "ui/MessageBox.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelNavigation.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "shell/CommandExecution.h"
#include "app/panels/PanelDirectoryChange.h"
#include "ui/Dialog.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"

namespace {

int LongestEntry(const WestringStore& store) {
    int longest = 0;
    for (int i = 0; i < store.Count(); i++) {
        longest = store.At(i)->Length() > longest ? store.At(i)->Length() : longest;
    }
    return longest;
}

// Asks for the search text of the command history; false when left with Esc.
bool AskSearchText() {
    Dialog dialog(-1, -4, 60, 4, ColourOf(ColourMessages));
    dialog.AddStaticText(1, 0, "Search:", ColourOf(ColourMessages));
    dialog.AddStringField(1, 1, 1, HistorySearchText, 55, -1, FieldKindHistorySearch);
    return dialog.Run() != KEY_ESC;
}

// From `start` one step at a time in `step` direction: the first entry that
// holds the search text; -1 when none does.
int FindEntry(int start, int step) {
    for (int i = start; i >= 0 && i < CommandHistory.Count(); i += step) {
        if (CommandHistory.At(i)->FindNoCase(HistorySearchText) >= 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

int ShowCommandHistory(int side, Westring& commandLine, int& cursor) {
    int32_t selection = CommandHistory.Count() - 1;
    // The window is built again after a removal: the list's size changed.
    for (;;) {
        if (CommandHistory.Count() == 0) {
            return 0;
        }
        int width = LongestEntry(CommandHistory);
        width = width < 8 ? 8 : width;
        width += (width & 1) + 2;
        width = width > ScreenColumns - 6 ? ScreenColumns - 6 : width;
        int height = CommandHistory.Count() > ScreenRows - 6 ? ScreenRows - 6 : CommandHistory.Count();
        Dialog dialog(-1, -3, width + 2, height + 2, ColourOf(ColourMenu));
        dialog.WriteCentred(-1, " History ", ColourOf(ColourMenu));
        int list = dialog.AddListBoxWestring(0, 0, 1, width, height, CommandHistory, &selection, KEY_ENTER);
        for (int key :
             {KEY_CTRL_J, KEY_DELETE, KEY_F1, KEY_F7, KEY_SHIFT_F7, KEY_ALT_F7, KEY_SHIFT_ENTER, KEY_KEYPAD_ENTER}) {
            dialog.AddExitKey(key);
        }
        for (bool removed = false; !removed;) {
            int key = dialog.Run();
            if (key == KEY_ESC || selection < 0 || selection >= CommandHistory.Count()) {
                return 0;
            }
            Westring chosen = *CommandHistory.At(selection);
            if (key == KEY_ENTER || key == KEY_SHIFT_ENTER || key == KEY_KEYPAD_ENTER) {
                ExecuteCommandOrEntry(Panels, side, chosen.Data(), key == KEY_ENTER ? 0 : 1);
                return 2;
            }
            if (key == KEY_CTRL_J) {
                commandLine = chosen;
                cursor = chosen.Length();
                return 1;
            }
            if (key == KEY_F1) {
                ShowHelp(HelpTopicCommandHistory);
            } else if (key == KEY_DELETE) {
                if (ShowMessageBox(Westring("Remove command from history?"), chosen, 1) == 'y') {
                    RewriteHistoryWithout(EscapeHistoryText(chosen));
                    delete CommandHistory.RemoveAt(selection);
                    removed = true;
                    continue;
                }
            } else if (key == KEY_F7 || key == KEY_SHIFT_F7 || key == KEY_ALT_F7) {
                if (key != KEY_F7 || AskSearchText()) {
                    int found = key == KEY_F7         ? FindEntry(selection, -1)
                                : key == KEY_SHIFT_F7 ? FindEntry(selection - 1, -1)
                                                      : FindEntry(selection + 1, 1);
                    if (found < 0) {
                        ShowMessageBox(Westring("String not found"), Westring(), 0);
                    } else {
                        selection = found;
                    }
                }
            }
            dialog.DrawElement(list);
        }
    }
}

int ShowCommandHistory(Westring& commandLine, int& cursor) {
    return ShowCommandHistory(ActiveSide, commandLine, cursor);
}

Westring PickDirectoryHistory() {
    int height = DirectoryHistory.Count() > ScreenRows - 5 ? ScreenRows - 5 : DirectoryHistory.Count();
    if (height <= 0) {
        return Westring();
    }
    int width = LongestEntry(DirectoryHistory);
    width = width < 21 ? 21 : width;
    width = width > ScreenColumns - 6 ? ScreenColumns - 6 : width;
    int32_t selection = DirectoryHistory.Count() - 1;
    Dialog dialog(-1, -4, width + 2, height + 2, ColourOf(ColourMenu));
    dialog.WriteCentred(-1, " Directory History ", ColourOf(ColourMenu));
    dialog.AddListBoxWestring(0, 0, 1, width, height, DirectoryHistory, &selection, KEY_ENTER);
    if (dialog.Run() != KEY_ENTER || selection < 0 || selection >= DirectoryHistory.Count()) {
        return Westring();
    }
    return *DirectoryHistory.At(selection);
}

void GoToDirectoryHistory(CPanel* panel) {
    Westring directory = PickDirectoryHistory();
    if (!directory.IsEmpty() && ResolvePanelPath(panel, directory)) {
        ChangePanelDirectory(Panels, PanelSide(panel), Westring(), false, -1, 0);
    }
}
