#include "app/program/CommandDispatch.h"

#include "app/program/CommandHandlers.h"
#include "app/settings/Config.h"
#include "app/panels/DirectoryTree.h"
#include "app/panels/DirectorySizes.h"
#include "app/panels/PanelTree.h"
#include "app/panels/InfoPage.h"
#include "app/program/Menus.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/QuickSearch.h"
#include "app/panels/PanelTagging.h"
#include "base/os/Environment.h"
#include "console/KeyCodes.h"
#include "console/MenuCodes.h"
#include "shell/CommandExecution.h"

bool TCommand::PanelsHidden() const {
    return !Panels[0].isOn && !Panels[1].isOn;
}

bool TCommand::ActiveFileList() const {
    return active->isOn && active->panelType == PANEL_FILES;
}

bool TCommand::InArchive() const {
    return active->archive != nullptr;
}

bool TCommand::InTreeView() const {
    return active->panelType == PANEL_FILES && active->viewStyle == VIEW_TREE;
}

namespace {

// Keys after which the cursor bar stays where it is: the command-line moves
// and deletions that never touch the panel.
const int KeepCursorBarKeys[] = {KEY_CTRL_H,    KEY_CTRL_S,    KEY_CTRL_D,     KEY_DELETE, KEY_ALT_LEFT,
                                 KEY_ALT_RIGHT, KEY_CTRL_LEFT, KEY_CTRL_RIGHT, KEY_IGNORED};

// Codes with any of these bits are keys or commands, never characters.
const int NotCharacterBits = MENU_CODE_BASE | KEY_SHIFTED | KEY_EXTENDED;

bool IsListed(int code, const int* codes, int count) {
    for (int i = 0; i < count; i++) {
        if (codes[i] == code) {
            return true;
        }
    }
    return false;
}

// The grey '+', '-' and '*' keys and their menu codes on a file list.
bool GreyKeyCommand(TCommand& c) {
    int key = c.key;
    if (!IsListed(key, GreyKeyCodes, GreyKeyCodeCount)) {
        return false;
    }
    bool plus = key == KEY_GREY_PLUS || key == MENU_SELECT_GROUP;
    bool star = key == KEY_GREY_STAR || key == MENU_INVERT_SELECTION;
    if (c.InTreeView() && (key == KEY_GREY_PLUS || key == KEY_GREY_MINUS)) {
        ExpandTreeBranch(c.active, plus, false);
    } else if (star) {
        TagAllEntries(c.active, 0, c.shiftState);
    } else {
        SelectByMaskDialog(c.active, plus ? 1 : -1, c.shiftState);
    }
    c.state.redrawLevel = RedrawAll;
    return true;
}

// Alt+digit recalls a stored directory, Alt+Shift+digit stores one.
void StoredDirectorySlot(TCommand& c) {
    int slot = c.key & 15;
    if (slot > 9) {
        return;
    }
    if ((c.key & KEY_SHIFTED) != 0) {
        StoredDirectorySlots[slot] =
            c.InTreeView() ? GetTreeLinePath(c.active, c.active->CursorIndex()) : Westring(c.active->path);
        return;
    }
    Westring path = StoredDirectorySlots[slot];
    if (path.IsEmpty()) {
        return;
    }
    ExpandPercentVariables(path);
    CPanel* panel = c.InTreeView() ? c.other : c.active;
    if (GoToDirectory(panel, path)) {
        panel->viewStyle = panel->viewStyle == VIEW_TREE ? VIEW_FULL : panel->viewStyle;
        c.state.redrawLevel = RedrawAll;
    }
}

void UnlistedKey(TCommand& c) {
    int character = (c.event.character > 0 && c.event.character <= KEY_LAST_CHARACTER) ? c.event.character : c.key;
    if (c.active->isOn && c.active->panelType == PANEL_INFO && character == 'l') {
        ChangeDiskLabel(c.other);
        FillInfoPanel(c.side);
        return;
    }
    if (character == '\\') {
        GoToDirectory(c.active, Westring(c.other->path));
        return;
    }
    if (character < 1 || character > KEY_LAST_CHARACTER) {
        return;
    }
    int next = 0;
    TInputEvent nextEvent = c.event;
    if (QuickSearch(character, c.active, next, &nextEvent, 0) && next != 0) {
        c.state.pendingKey = next;
        c.state.pendingEvent = nextEvent;
    } else if (nextEvent.shiftState >= 0) {
        // The key that ended the search (Esc) was read by the search, not by
        // the main loop: its shift state is the one the key bar follows now.
        c.state.shiftState = nextEvent.shiftState;
    }
    c.state.cursorMoved = true;
}

}  // namespace

void DispatchCommand(TMainLoopState& state, int key, const TInputEvent& event) {
    if (key == KEY_CLOSED) {
        state.quit = true;
        return;
    }
    int shiftState = event.shiftState;
    if (key == KEY_GREY_STAR && Config.DisableInvert) {
        key = '*';
    }
    if (IsListed(key, MenuBarKeys, MenuBarKeyCount)) {
        int code = RunMenuBar(ActiveSide, key == KEY_SHIFT_F10);
        state.redrawLevel = RedrawAll;
        if (code == 0) {
            return;
        }
        key = code;
        shiftState = 0;
    }
    TCommand command{state, key, shiftState, event, ActiveSide, &Panels[ActiveSide], &Panels[1 - ActiveSide]};
    if (command.ActiveFileList() && GreyKeyCommand(command)) {
        return;
    }
    if ((key & KEY_SLOT_FLAG) != 0) {
        StoredDirectorySlot(command);
        return;
    }
    // Ctrl+F3 to Ctrl+F8 are the sort commands of the active panel's menu.
    if (key >= KEY_CTRL_F3 && key <= KEY_CTRL_F8) {
        key = key - KEY_CTRL_F3 + (ActiveSide == 0 ? MENU_LEFT_SORT_NAME : MENU_RIGHT_SORT_NAME);
        command.key = key;
    }
    if (key >= KEY_SPACE && key != KEY_CTRL_BACKSPACE && (key & NotCharacterBits) == 0) {
        if (key <= KEY_LAST_CHARACTER && state.commandLine.InsertChar(static_cast<char32_t>(key))) {
            state.redrawLevel = state.redrawLevel > RedrawPanels ? state.redrawLevel : RedrawPanels;
        }
        return;
    }
    bool keepBar = key < 0;
    for (int keep : KeepCursorBarKeys) {
        keepBar = keepBar || key == keep;
    }
    if ((key == KEY_LEFT || key == KEY_RIGHT) && command.active->viewStyle != VIEW_BRIEF &&
        command.active->viewStyle != VIEW_BRIEFWIDE) {
        keepBar = true;
    }
    if (!keepBar && command.active->isOn) {
        DrawCursorBar(ActiveSide, false);
        state.cursorMoved = true;
    }
    ECommand bound;
    if (!FindBoundCommand(key, bound)) {
        UnlistedKey(command);
        return;
    }
    int level = CommandRow(bound).handler(command);
    if (level > state.redrawLevel) {
        state.redrawLevel = level;
    }
}
