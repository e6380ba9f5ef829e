#include "app/panels/DriveMenu.h"

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDrive.h"
#include "app/panels/PanelNavigation.h"
#include "base/os/CMutex.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/Threads.h"
#include "base/os/Volumes.h"
#include "base/strings/CaseTable.h"
#include "console/InputEvent.h"
#include "console/ScreenSize.h"
#include "app/panels/PanelDirectoryChange.h"
#include "ui/ModalLoop.h"
#include "ui/Win.h"

namespace {

// Row 3 of the menu holds the drive cells, row 4 the selected drive's
// description.
const int TitleRow = 1;
const int CellRow = 3;
const int DescriptionRow = 4;
const int MinimumInnerWidth = 30;
const int ListRebuildMs = 1000;

// What the menu and its watch threads share. The mutex guards the other two
// fields and every write into the window.
struct TDriveWatchState {
    Win* window = nullptr;  // published while the menu is open
    char32_t watched = 0;   // the drive being looked up, 0 when none
};

TDriveWatchState WatchState;

CMutex& WatchMutex() {
    static CMutex mutex;
    return mutex;
}

class CWatchLock {
public:
    CWatchLock() { WatchMutex().Lock(); }
    ~CWatchLock() { WatchMutex().Unlock(); }
};

// Text centred in a field of blanks `width` wide.
Westring CentreText(const Westring& text, int width) {
    if (text.Length() >= width)
        return text.Left(width);
    const int left = (width - text.Length()) / 2;
    return (RepeatChar32(' ', left) + text).Pad(width);
}

char32_t ToUpperLetter(int key) {
    return key >= 'a' && key <= 'z' ? char32_t(key - 'a' + 'A') : char32_t(key);
}

// The menu window of one layout of the drive list.
struct TDriveMenuLayout {
    int innerWidth;
    int cellsX;
};

class CDriveMenu {
public:
    explicit CDriveMenu(int side) : side(side), selected(0), window(nullptr) {}
    ~CDriveMenu() { CloseWindow(); }

    // Runs the menu: the chosen entry ('\' or a letter), or 0 for none.
    char32_t Run() {
        BuildDriveList(drives, ScreenColumns / 2);
        const char32_t* path = Panels[side].path;
        const char32_t current = path[0] == '\\' ? U'\\' : ToUpperLetter(int(path[0]));
        selected = drives.letters.Find(current);
        if (selected < 0)
            selected = 0;
        OpenWindow();
        CModalLoop loop;
        for (;;) {
            WatchSelection();
            DrawCells();
            TInputEvent event = TInputEvent();
            const int key = loop.Read(event, ListRebuildMs);
            const int count = drives.letters.Length();
            if (key == 0) {
                if (BuildDriveList(drives, ScreenColumns / 2)) {
                    if (selected >= drives.letters.Length())
                        selected = drives.letters.Length() - 1;
                    OpenWindow();
                }
            } else if (key == KEY_LEFT) {
                selected = selected > 0 ? selected - 1 : count - 1;
            } else if (key == KEY_RIGHT) {
                selected = selected < count - 1 ? selected + 1 : 0;
            } else if (key == KEY_HOME) {
                selected = 0;
            } else if (key == KEY_END) {
                selected = count - 1;
            } else if (key == KEY_ENTER) {
                return drives.letters[selected];
            } else if (key == '\\') {
                return U'\\';
            } else if (key == KEY_ESC || key == KEY_CLOSED) {
                return 0;
            } else if (key == KEY_MOUSE) {
                char32_t chosen = 0;
                if (HandleMouse(event, chosen))
                    return chosen;
            } else if (key > 0 && key <= KEY_LAST_CHARACTER) {
                const int at = drives.letters.Find(ToUpperLetter(key));
                if (at > 0)
                    return drives.letters[at];
            }
        }
    }

private:
    void OpenWindow() {
        CloseWindow();
        const int half = ScreenColumns / 2;
        const int cells = drives.letters.Length() * drives.cellWidth;
        const int inner = cells > MinimumInnerWidth ? cells : MinimumInnerWidth;
        int x = (half - (inner + 4)) / 2 + (side == 1 ? half : 0);
        if (Config.Shadows) {
            // Room for the shadow before the right edge of the screen.
            while (x > 0 && x + inner + 5 >= ScreenColumns)
                x--;
        }
        if (x < 0)
            x = 0;
        const uint8_t attribute = ColourOf(ColourMessages);
        Win* opened = new Win(x, 5, x + inner + 3, 11, attribute, attribute, Config.Shadows ? 0 : 1);
        Estring title;
        title.Format("Choose %s drive:", side == 0 ? "left" : "right");
        opened->WriteCentred(TitleRow, title.Data(), attribute);
        cellsX = (inner + 2 - cells) / 2;
        CWatchLock lock;
        window = opened;
        WatchState.window = opened;
        // A new window has an empty description line: look the drive up again.
        WatchState.watched = 0;
    }

    void CloseWindow() {
        CWatchLock lock;
        WatchState.watched = 0;
        WatchState.window = nullptr;
        delete window;
        window = nullptr;
    }

    // Starts a lookup whenever the selection moved to another drive.
    void WatchSelection() {
        const char32_t letter = drives.letters[selected];
        {
            CWatchLock lock;
            if (WatchState.watched == letter)
                return;
            WatchState.watched = letter;
        }
        HANDLE thread = StartThread(DriveWatchThread, &WatchState);
        if (thread != nullptr)
            CloseHandle(thread);
    }

    void DrawCells() {
        CWatchLock lock;
        window->WriteAttrString(cellsX, CellRow, FormatDriveCells(drives, selected));
    }

    // A click on a cell chooses its drive, a click outside the window is Esc,
    // the second button inside it chooses the selection. True when the menu
    // ends, with the choice (0 for none) in `chosen`.
    bool HandleMouse(const TInputEvent& event, char32_t& chosen) {
        int x = event.x;
        int y = event.y;
        const bool inside = window->ScreenToClient(x, y);
        if (event.action == TInputEvent::ActionRelease1) {
            if (!inside) {
                chosen = 0;
                return true;
            }
            const int cell = x - cellsX;
            if (y == CellRow && cell >= 0 && cell < drives.letters.Length() * drives.cellWidth) {
                selected = cell / drives.cellWidth;
                chosen = drives.letters[selected];
                return true;
            }
        } else if (event.action == TInputEvent::ActionRelease2 && inside) {
            chosen = drives.letters[selected];
            return true;
        }
        return false;
    }

    int side;
    int selected;
    int cellsX = 0;
    TDriveList drives;
    Win* window;
};

}  // namespace

bool BuildDriveList(TDriveList& list, int availableWidth) {
    Westring letters(U"\\");
    const DWORD present = GetLogicalDrives();
    for (int i = 0; i < 26; i++) {
        if (present & (1u << i))
            letters.AppendChar(char32_t('A' + i));
    }
    const int n = letters.Length();
    list.cellWidth = n * 3 + 3 < availableWidth ? 3 : n * 2 + 3 < availableWidth ? 2 : 1;
    const bool changed = !list.letters.EqualsNoCase(letters);
    list.letters = letters;
    return changed;
}

CellString FormatDriveCells(const TDriveList& list, int selected) {
    CellString cells;
    for (int i = 0; i < list.letters.Length(); i++) {
        const uint8_t attribute = ColourOf(i == selected ? ColourHighlight : ColourMessages);
        Westring text;
        if (list.letters[i] == '\\') {
            text = Westring(U"\\\\").Pad(list.cellWidth);
        } else {
            text = RepeatChar32(' ', list.cellWidth);
            text.SetAt(list.cellWidth == 3 ? 1 : 0, list.letters[i]);
        }
        for (int j = 0; j < text.Length(); j++)
            cells += TCell{text[j], attribute};
    }
    return cells;
}

unsigned __stdcall DriveWatchThread(void* argument) {
    TDriveWatchState& state = *static_cast<TDriveWatchState*>(argument);
    char32_t letter;
    int width = 0;
    {
        CWatchLock lock;
        letter = state.watched;
        if (state.window == nullptr || letter == 0)
            return 0;
        width = state.window->ClientWidth();
        state.window->WriteWide(0, DescriptionRow, RepeatChar32(' ', width), state.window->Attribute());
    }
    const char root[4] = {char(letter), ':', '\\', 0};
    if (!IsNtBasedSystem && GetDriveTypeA(root) == DRIVE_REMOVABLE)
        return 0;
    Sleep(1);
    Westring text;
    if (letter != '\\') {
        text = Westring(GetDriveUncName(letter).Data());
        if (text.IsEmpty())
            GetVolumeLabel(letter, text);
    }
    text = CentreText(text, width);
    CWatchLock lock;
    // The selection may have moved on, or the menu closed, meanwhile.
    if (state.window != nullptr && state.watched == letter)
        state.window->WriteWide(0, DescriptionRow, text, state.window->Attribute());
    return 0;
}

void DriveMenu(int side) {
    char32_t chosen;
    {
        CDriveMenu menu(side);
        chosen = menu.Run();
    }
    if (chosen == 0)
        return;
    if (chosen == '\\') {
        CPanel* panel = &Panels[side];
        if (SetPanelPath(panel, Westring(U"\\\\"))) {
            ChangePanelDirectory(Panels, side, Westring(), false, -1, 0);
            if (!panel->isOn)
                TogglePanel(side);
        }
    } else {
        ChangePanelDrive(side, int(chosen - 'A' + 1), 0);
    }
    if (side != ActiveSide)
        ChangeDirectory(GetPanelDirectory(&Panels[ActiveSide]));
}
