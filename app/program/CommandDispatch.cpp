#include "app/program/CommandDispatch.h"

#include "app/program/CommandHandlers.h"
#include "app/settings/Config.h"
#include "app/panels/DirectoryTree.h"
#include "app/panels/InfoPage.h"
#include "app/program/Menus.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/QuickSearch.h"
#include "app/panels/PanelTagging.h"
#include "base/os/Environment.h"
#include "console/KeyCodes.h"
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

const TCommandRow CommandTable[] = {
    // Panel cursor and scrolling.
    {{0x10048}, CmdCursorUp},
    {{0x10050}, CmdCursorDown},
    {{0x10047}, CmdCursorHome},
    {{0x1004F}, CmdCursorEnd},
    {{0x10049}, CmdPageUp},
    {{0x10051}, CmdPageDown},
    {{0x1004B}, CmdLeft},
    {{0x1004D}, CmdRight},
    {{0x10052}, CmdInsert},
    {{0x10098, 0x100A0}, CmdAltUpDown},
    {{0x10084}, CmdParentDirectory},
    {{0x10076}, CmdEnterEntry},
    {{0x10097}, CmdHomeDirectory},
    {{0x1C, 0x1002B, 0x2001C}, CmdRootOrHistory},
    {{0x7}, CmdGoToLinkTarget},
    // Command line editing.
    {{0x13, 0x1009B}, CmdLineLeft},
    {{0x4, 0x1009D}, CmdLineRight},
    {{0x10073}, CmdWordLeft},
    {{0x10074}, CmdWordRight},
    {{0x10093}, CmdDeleteWordRight},
    {{0x7F}, CmdDeleteWordLeft},
    {{0x10101}, CmdBackspace},
    {{0x10053}, CmdDelete},
    {{0x10077}, CmdLineHome},
    {{0x10075}, CmdLineEnd},
    {{0x5, 0x1008D}, CmdHistoryPrevious},
    {{0x18, 0x10091}, CmdHistoryNext},
    {{0xA, 0x2000A, 0x3001C, 0x9001C, 0x90024, 0xB001C, 0xB0024}, CmdInsertEntryName},
    {{0x6, 0x20006, 0x90021, 0xB0021}, CmdInsertEntryPath},
    {{0x1B, 0x9001A}, CmdEscape},
    {{0x1D, 0x9001B}, CmdInsertDirectory},
    {{0x10092}, CmdCopyLine},
    {{0x30052}, CmdPasteLine},
    {{0x10094}, CmdComplete},
    {{0xD, 0x2000D}, CmdEnter},
    // Function keys.
    {{0x1003B}, CmdHelp},
    {{0x1003C, 0x30055}, CmdUserMenu},
    {{0x1003D, 0x1006A, 0x30060}, CmdView},
    {{0x1003E, 0x1006B, 0x30061}, CmdEdit},
    {{0x1003F, 0x10040}, CmdCopyMove},
    {{0x10041}, CmdMakeDirectory},
    {{0x10042}, CmdDeleteFiles},
    {{0x10044}, CmdQuit},
    {{0x1005E, 0x1005F}, CmdTogglePanel},
    {{0x10068, 0x10069}, CmdDriveMenu},
    {{0x1006C}, CmdStoredPaths},
    {{0x1006D}, CmdMakeObjects},
    {{0x1006E, 0x3006E}, CmdFind},
    {{0x1006F}, CmdCommandHistory},
    {{0x10070}, CmdToggleLines},
    {{0x10071}, CmdTreeChooser},
    {{0x30054}, CmdManual},
    {{0x30056, 0x30057}, CmdViewEditTyped},
    {{0x30058, 0x30059}, CmdCopyMoveModes},
    {{0x3005A}, CmdMakeArchive},
    {{0x3005B}, CmdDeleteTyped},
    {{0x3005C}, CmdSaveSettings},
    {{0x3005E, 0x3005F}, CmdFullWidth},
    {{0x30062}, CmdSymbolicLinks},
    {{0x30066}, CmdSynchronize},
    {{0x30068, 0x30069, 0x3006A, 0x3006B}, CmdViewStyleKey},
    {{0x3006F}, CmdDirectoryHistory},
    {{0x30070}, CmdToggleColumns},
    {{0x10086}, CmdNetwork},
    // Control characters.
    {{0x1}, CmdAttributes},
    {{0x2}, CmdScrollBack},
    {{0x3}, CmdChangeCase},
    {{0x8}, CmdToggleHidden},
    {{0x9, 0x3000F}, CmdSwitchPanels},
    {{0xB}, CmdCompare},
    {{0xC}, CmdInfoPage},
    {{0xF}, CmdPanelsOnOff},
    {{0x10}, CmdOtherPanelOnOff},
    {{0x11}, CmdDirectorySizes},
    {{0x12}, CmdReread},
    {{0x14, 0x20014}, CmdSelectGroup},
    {{0x15}, CmdSwapPanels},
    {{0x17}, CmdOpenInBrowser},
    {{0x19, 0x20019}, CmdUnselectGroup},
    {{0x1F}, CmdPreviousDirectory},
    {{0x20005, 0x2000C}, CmdEjectLoad},
    {{0x1000E}, CmdSearchBackspace},
    {{0x1004E, 0x100072}, CmdRestoreSelection},
    {{0x10090, 0x30090}, CmdTagAll},
    {{0x1008E, 0x3008E}, CmdUntagAll},
    {{0x10102}, CmdFileInformation},
    // Menu command codes.
    {{0x100000, 0x100193}, CmdMenuInfo},
    {{0x100001, 0x100002, 0x100003, 0x100004, 0x100005, 0x100007, 0x100008, 0x100009, 0x10000A, 0x10000B},
     CmdMenuSort},
    {{0x100006, 0x10000C}, CmdMenuReverse},
    {{0x10000D, 0x10000E, 0x10000F, 0x100010, 0x100014, 0x100015, 0x100018, 0x100019, 0x100016, 0x100017},
     CmdMenuViewStyle},
    {{0x100012, 0x10019C}, CmdMenuFilter},
    {{0x100013, 0x10019B}, CmdMenuReread},
    {{0x100071}, CmdFileDate},
    {{0x1000D0}, CmdEditAssociations},
    {{0x1000D1}, CmdEditUserMenu},
    {{0x10012C}, CmdConfiguration},
    {{0x10012D}, CmdColours},
    {{0x10012E}, CmdToggleHidden},
    {{0x10012F}, CmdPathPrompt},
    {{0x100131}, CmdFullScreen},
    {{0x100132}, CmdClock},
    {{0x100133}, CmdTagDirectories},
    {{0x100134}, CmdSaveSettings},
    {{0x100135}, CmdConfirmations},
    {{0x100136}, CmdThousandSeparator},
    {{0x100137}, CmdRetainCount},
};
const int CommandTableSize = sizeof CommandTable / sizeof CommandTable[0];

namespace {

// Keys after which the cursor bar stays where it is: the command-line moves
// and deletions that never touch the panel.
const int KeepCursorBarKeys[] = {0x08, 0x13, 0x04, 0x10053, 0x1009B, 0x1009D, 0x10073, 0x10074, 0x10100};

TCommandHandler FindCommand(int key) {
    for (int row = 0; row < CommandTableSize; row++) {
        for (int code : CommandTable[row].codes) {
            if (code == 0) {
                break;
            }
            if (code == key) {
                return CommandTable[row].handler;
            }
        }
    }
    return nullptr;
}

// The grey '+', '-' and '*' keys and their menu codes on a file list.
bool GreyKeyCommand(TCommand& c) {
    int key = c.key;
    bool plus = key == 0x40002B || key == 0x10006D;
    bool minus = key == 0x40002D || key == 0x10006E;
    bool star = key == 0x40002A || key == 0x10006F;
    if (!plus && !minus && !star) {
        return false;
    }
    if (c.InTreeView() && (key == 0x40002B || key == 0x40002D)) {
        ExpandTreeBranch(c.active, plus, false);
        c.active->needsReread = 1;
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
    if ((c.key & 0x20000) != 0) {
        StoredDirectorySlots[slot] = c.InTreeView() ? TreeCursorDirectory(c.active) : Westring(c.active->path);
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
    int character = (c.event.character > 0 && c.event.character < 0x10000) ? c.event.character : c.key;
    if (c.active->isOn && c.active->panelType == PANEL_INFO && character == 'l') {
        ChangeDiskLabel(c.other);
        return;
    }
    if (character == '\\') {
        GoToDirectory(c.active, Westring(c.other->path));
        return;
    }
    if (character < 1 || character > 0xFFFF) {
        return;
    }
    int next = 0;
    TInputEvent nextEvent = c.event;
    if (QuickSearch(character, c.active, next, &nextEvent, 0) && next != 0) {
        c.state.pendingKey = next;
        c.state.pendingEvent = nextEvent;
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
    if (key == 0x40002A && Config.DisableInvert) {
        key = '*';
    }
    if (key == 0x10043 || key == 14 || key == 0x3005D) {
        int code = RunMenuBar(ActiveSide, key == 0x3005D);
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
    if ((key & 0x40000) != 0) {
        StoredDirectorySlot(command);
        return;
    }
    if (key >= 0x10060 && key <= 0x10065) {
        key = key - 0x10060 + (ActiveSide == 0 ? 0x100001 : 0x100007);
        command.key = key;
    }
    if (key > 31 && key != 127 && (key & 0x130000) == 0) {
        if (key <= 0xFFFF && state.commandLine.InsertChar(static_cast<char32_t>(key))) {
            state.redrawLevel = state.redrawLevel > RedrawPanels ? state.redrawLevel : RedrawPanels;
        }
        return;
    }
    bool keepBar = key < 0;
    for (int keep : KeepCursorBarKeys) {
        keepBar = keepBar || key == keep;
    }
    if ((key == 0x1004B || key == 0x1004D) && command.active->viewStyle != VIEW_BRIEF &&
        command.active->viewStyle != VIEW_BRIEFWIDE) {
        keepBar = true;
    }
    if (!keepBar && command.active->isOn) {
        DrawCursorBar(ActiveSide, false);
        state.cursorMoved = true;
    }
    TCommandHandler handler = FindCommand(key);
    if (handler == nullptr) {
        UnlistedKey(command);
        return;
    }
    int level = handler(command);
    if (level > state.redrawLevel) {
        state.redrawLevel = level;
    }
}
