// The control-key and menu-code commands of the dispatch.
#include "ui/IniMessages.h"
#include "ui/Clock.h"
#include "app/settings/Colours.h"
#include "app/program/CommandHandlers.h"
#include "app/settings/Config.h"
#include "app/program/ConfigurationDialog.h"
#include "app/settings/DataFiles.h"
#include "app/panels/DirectoryTree.h"
#include "app/panels/DirectorySizes.h"
#include "app/panels/PanelTree.h"
#include "app/panels/DriveMenu.h"
#include "app/settings/Histories.h"
#include "app/settings/IniFile.h"
#include "app/panels/InfoPage.h"
#include "app/program/OptionDialogs.h"
#include "ui/MessageBox.h"
#include "ui/NotAvailable.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelTagging.h"
#include "app/panels/PanelWindow.h"
#include "app/program/ColoursDialog.h"
#include "archive/ArchiveCommands.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/ShellOpen.h"
#include "base/os/SystemError.h"
#include "base/os/SystemHelpers.h"
#include "base/strings/Utf16String.h"
#include "console/Console.h"
#include "console/ScreenSize.h"
#include "fileops/FileCommands.h"
#include "app/panels/PanelTags.h"
#include "app/panels/PanelDirectoryChange.h"
#include "ui/Dialog.h"
#include "ui/ScrollBack.h"
#include "viewedit/ViewerEditor.h"
#include "console/KeyCodes.h"
#include "console/MenuCodes.h"

namespace {

// The panel a menu code of the Left (first) or Right (second) menu names.
CPanel* MenuPanel(int code, int leftCode) {
    return code == leftCode ? &Panels[0] : &Panels[1];
}

void RereadKeepingTags(CPanel* panel) {
    if (panel->isOn) {
        ChangePanelDirectory(Panels, PanelSide(panel), Westring(), true, -1, 0);
        RedrawPanel(panel);
    }
}

// The menus' re-reads of a panel in tree view rebuild the tree from the disk,
// as Ctrl-R does there.
void RereadFromMenu(CPanel* panel) {
    if (panel->panelType == PANEL_FILES && panel->viewStyle == VIEW_TREE) {
        panel->treeRescan = 1;
    }
    RereadKeepingTags(panel);
}

void RereadBothKeepingTags() {
    RereadKeepingTags(&Panels[0]);
    RereadKeepingTags(&Panels[1]);
}

}  // namespace

int CmdAttributes(TCommand& c) {
    if (!c.InArchive()) {
        FileAttributesDialog(c.active);
    }
    return RedrawPanels;
}

int CmdScrollBack(TCommand&) {
    if (Config.ConsoleScrollback) {
        ShowScrollBack();
    }
    return RedrawAll;
}

int CmdChangeCase(TCommand& c) {
    if (!c.InArchive()) {
        ChangeCaseDialog(c.active);
    }
    return RedrawAll;
}

int CmdToggleHidden(TCommand& c) {
    Config.Hidden = Config.Hidden ? 0 : 1;
    RereadBothKeepingTags();
    ChangeDirectory(GetPanelDirectory(c.active));
    return RedrawAll;
}

int CmdSwitchPanels(TCommand& c) {
    CPanel* active = c.active;
    CPanel* other = c.other;
    if (active->isOn && active->widthKind == WIDTH_FULL) {
        ClosePanelWindow(active);
        active->widthKind = WIDTH_HALF;
        other->widthKind = WIDTH_FULL;
        other->isOn = 1;
        OpenPanelWindow(other, 1 - c.side);
    } else if (!other->isOn && active->isOn) {
        return RedrawNothing;
    }
    ResetActivePanelMemory();
    SwitchActivePanel(Panels, 1 - c.side);
    return RedrawAll;
}

int CmdCompare(TCommand&) {
    CompareDirectories();
    return RedrawAll;
}

int CmdInfoPage(TCommand& c) {
    // The page goes into the other panel, or leaves the active one when it
    // shows it there.
    ToggleInfoPage(c.active->panelType == PANEL_INFO ? 1 - c.side : c.side);
    return RedrawAll;
}

int CmdPanelsOnOff(TCommand&) {
    TogglePanelsOnOff();
    return RedrawAll;
}

int CmdOtherPanelOnOff(TCommand& c) {
    c.shiftState = 0;
    TogglePanel(1 - c.side);
    return RedrawAll;
}

int CmdDirectorySizes(TCommand& c) {
    ComputeDirectorySizes(c.active, false);
    return RedrawAll;
}

int CmdReread(TCommand& c) {
    if (Config.CtrlRDriveChng) {
        DriveMenu(c.side);
        return RedrawAll;
    }
    if (c.InTreeView()) {
        // A tree view re-reads the tree it shows.
        if (c.other->archive) {
            ReloadPanelArchive(c.other);
        } else {
            c.active->treeRescan = 1;
        }
    } else if (c.InArchive()) {
        ReloadPanelArchive(c.active);
    }
    RereadKeepingTags(c.active);
    return RedrawAll;
}

int CmdSelectGroup(TCommand& c) {
    SelectByMaskDialog(c.active, 1, c.shiftState);
    return RedrawAll;
}

int CmdSwapPanels(TCommand&) {
    ActiveSide = 1 - ActiveSide;
    SwapPanels(Panels);
    return RedrawAll;
}

int CmdOpenInBrowser(TCommand& c) {
    if (c.PanelsHidden() || c.active->panelType == PANEL_INFO || c.InArchive()) {
        return RedrawNothing;
    }
    ShellOpen(c.InTreeView() ? GetTreeLinePath(c.active, c.active->CursorIndex()) : GetPanelDirectory(c.active));
    return RedrawAll;
}

int CmdUnselectGroup(TCommand& c) {
    SelectByMaskDialog(c.active, -1, c.shiftState);
    return RedrawAll;
}

int CmdPreviousDirectory(TCommand& c) {
    CPanel* panel = c.active;
    Westring previous(panel->previousPath);
    if (previous.IsEmpty()) {
        return RedrawNothing;
    }
    int top = panel->previousTopIndex;
    int row = panel->previousCursorRow;
    if (!ResolvePanelPath(panel, previous)) {
        ShowMessageBox(Westring("Invalid Directory"), previous, 0);
        return RedrawAll;
    }
    panel->topIndex = 0;
    panel->cursorRow = 0;
    if (DirectoryHistory.Count() > 0 && DirectoryHistory.At(DirectoryHistory.Count() - 1)->EqualsExact(previous)) {
        DirectoryHistory.Seek(DirectoryHistory.Count() - 1);
        DirectoryHistory.DeleteCurrent();
    }
    ChangePanelDirectory(Panels, c.side, Westring(), false, top, row);
    return RedrawAll;
}

int CmdEjectLoad(TCommand& c) {
    CPanel* panel = c.active;
    if (!panel->isOn || panel->panelType != PANEL_FILES) {
        return RedrawNothing;
    }
    bool eject = c.key == KEY_SHIFT_CTRL_E;
    char letter = static_cast<char>(panel->path[0]);
    Estring title;
    title.Format(eject ? "Ejecting %c:" : "Loading %c:", letter);
    Dialog dialog(-1, -4, 30, 5, ColourOf(ColourMessages));
    dialog.WriteCentred(1, title.Data(), dialog.Attribute());
    DWORD error = eject ? EjectMedia(letter) : LoadMedia(letter);
    if (error != 0) {
        ShowMessageBox(Westring(eject ? "Unable to eject" : "Unable to load"), FormatSystemError(error), 0);
    } else {
        RereadKeepingTags(panel);
    }
    return RedrawAll;
}

int CmdSearchBackspace(TCommand& c) {
    int n = 0;
    while (c.active->searchText[n] != 0) {
        n++;
    }
    if (n > 0) {
        c.active->searchText[n - 1] = 0;
    }
    return RedrawNothing;
}

int CmdRestoreSelection(TCommand& c) {
    PanelApplyTagChanges(c.active);
    return RedrawPanels;
}

int CmdTagAll(TCommand& c) {
    if (c.InTreeView()) {
        ExpandTreeBranch(c.active, true, true);
        RereadBothPanels();
    } else {
        TagAllEntries(c.active, 1, c.shiftState);
    }
    return RedrawAll;
}

int CmdUntagAll(TCommand& c) {
    if (c.InTreeView()) {
        ExpandTreeBranch(c.active, false, true);
    } else {
        TagAllEntries(c.active, -1, c.shiftState);
    }
    return RedrawAll;
}

int CmdFileInformation(TCommand& c) {
    entry* current = c.active->CursorEntry();
    if (current == nullptr || c.InArchive()) {
        return RedrawNothing;
    }
    ShowFileInformation(AddTrailingBackslash(GetPanelDirectory(c.active)) + Westring(current->name));
    return RedrawAll;
}

int CmdMenuInfo(TCommand& c) {
    int side = c.key == MENU_LEFT_INFO ? 0 : 1;
    // One page at a time: the other panel's goes first.
    if (Panels[1 - side].panelType == PANEL_INFO && Panels[side].panelType != PANEL_INFO) {
        ToggleInfoPage(side);
    }
    ToggleInfoPage(1 - side);
    return RedrawAll;
}

int CmdMenuSort(TCommand& c) {
    bool left = c.key <= MENU_LEFT_SORT_UNSORTED;
    int mode = left ? c.key - MENU_LEFT_SORT_NAME : c.key - MENU_RIGHT_SORT_NAME;
    SetPanelSortMode(&Panels[left ? 0 : 1], mode);
    return RedrawPanels;
}

int CmdMenuReverse(TCommand& c) {
    CPanel* panel = MenuPanel(c.key, MENU_LEFT_REVERSE);
    SetPanelSortMode(panel, panel->sortMode < 5 ? panel->sortMode + 5 : panel->sortMode - 5);
    return RedrawPanels;
}

int CmdMenuViewStyle(TCommand& c) {
    struct TStyleCodes {
        int left;
        int right;
        int style;
    };
    static const TStyleCodes styles[] = {
        {MENU_LEFT_BRIEF, MENU_RIGHT_BRIEF, VIEW_BRIEF}, {MENU_LEFT_FULL, MENU_RIGHT_FULL, VIEW_FULL},
        {MENU_LEFT_WIDE, MENU_RIGHT_WIDE, VIEW_WIDE},    {MENU_LEFT_BRIEF_WIDE, MENU_RIGHT_BRIEF_WIDE, VIEW_BRIEFWIDE},
        {MENU_LEFT_TREE, MENU_RIGHT_TREE, VIEW_TREE},
    };
    for (const TStyleCodes& row : styles) {
        if (c.key == row.left || c.key == row.right) {
            SetPanelViewStyle(&Panels[c.key == row.left ? 0 : 1], row.style);
        }
    }
    return RedrawAll;
}

int CmdMenuFilter(TCommand& c) {
    CPanel* panel = MenuPanel(c.key, MENU_LEFT_FILTER);
    PanelFilterDialog(PanelSide(panel));
    RereadFromMenu(panel);
    return RedrawAll;
}

int CmdMenuReread(TCommand& c) {
    RereadFromMenu(MenuPanel(c.key, MENU_LEFT_REREAD));
    return RedrawAll;
}

int CmdFileDate(TCommand& c) {
    if (!c.InArchive()) {
        ChangeDateDialog(c.active);
    }
    return RedrawAll;
}

int CmdEditAssociations(TCommand&) {
    EditFile(GetIniFilePath(IniOpenRead), -1, 0);
    RereadBothPanels();
    LoadConfiguration(true);
    return RedrawAll;
}

int CmdEditUserMenu(TCommand&) {
    Westring path = DataFilePath(DataFileUserMenu, DataFileUserFolder);
    if (GetFileAttributesW(Utf16String(path).Data()) == INVALID_FILE_ATTRIBUTES) {
        Westring beside = DataFilePath(DataFileUserMenu, DataFileProgramFolder);
        if (GetFileAttributesW(Utf16String(beside).Data()) != INVALID_FILE_ATTRIBUTES) {
            path = beside;
        }
    }
    EditFile(path, -1, 0);
    return RedrawAll;
}

int CmdConfiguration(TCommand&) {
    ConfigurationCommand();
    return RedrawAll;
}

int CmdColours(TCommand&) {
    if (ColoursDialog() == 0) {
        for (int side = 0; side < 2; side++) {
            if (Panels[side].isOn) {
                ClosePanelWindow(&Panels[side]);
                Panels[side].isOn = 1;
                OpenPanelWindow(&Panels[side], side);
            }
        }
    }
    return RedrawAll;
}

int CmdPathPrompt(TCommand&) {
    Config.PathPrompt = Config.PathPrompt ? 0 : 1;
    return RedrawPanels;
}

int CmdFullScreen(TCommand&) {
    ToggleFullScreen();
    return RedrawAll;
}

int CmdClock(TCommand&) {
    Config.Clock = Config.Clock ? 0 : 1;
    if (Config.Clock) {
        OpenClockWindow();
    } else {
        CloseClockWindow();
        if (!Panels[1].isOn) {
            Console->FillRect(ScreenColumns - 10, 0, 10, 1, ColourOf(ColourCommandLine));
        }
    }
    return RedrawNothing;
}

int CmdTagDirectories(TCommand&) {
    Config.TagDirs = Config.TagDirs ? 0 : 1;
    return RedrawNothing;
}

int CmdConfirmations(TCommand&) {
    ConfirmationsDialog();
    return RedrawAll;
}

int CmdThousandSeparator(TCommand&) {
    Config.ThousandSep = Config.ThousandSep ? 0 : 1;
    for (int side = 0; side < 2; side++) {
        if (Panels[side].isOn) {
            RedrawPanel(&Panels[side]);
        }
    }
    return RedrawPanels;
}

int CmdRetainCount(TCommand&) {
    Config.RetainCount = Config.RetainCount ? 0 : 1;
    RereadBothPanels();
    return RedrawPanels;
}
