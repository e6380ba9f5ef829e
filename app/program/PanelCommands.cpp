// The panel cursor, navigation and panel-state commands of the dispatch.
#include "app/program/CommandHandlers.h"
#include "app/settings/Config.h"
#include "app/panels/DirectoryTree.h"
#include "app/panels/DirectorySizes.h"
#include "app/panels/PanelTree.h"
#include "app/settings/Histories.h"
#include "app/program/HistoryPickers.h"
#include "app/panels/PanelArchive.h"
#include "base/strings/Utf16String.h"
#include "ui/MessageBox.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelSort.h"
#include "app/panels/PanelWindow.h"
#include "app/panels/QuickSearch.h"
#include "app/panels/PanelTagging.h"
#include "console/ScreenSize.h"
#include "app/panels/PanelTags.h"
#include "base/os/PathNormalizer.h"
#include "app/panels/PanelDirectoryChange.h"
#include "base/os/Environment.h"
#include "console/KeyCodes.h"

namespace {

void MoveCursor(TCommand& c, int lines) {
    MovePanelCursor(c.active, lines);
    c.state.cursorMoved = true;
}

// Moves the cursor to the next (step 1) or previous (-1) tagged entry.
void MoveToTagged(CPanel* panel, int step) {
    for (int i = panel->CursorIndex() + step; i >= 0 && i < panel->entryCount; i += step) {
        if (panel->entries[i]->tagged) {
            MovePanelCursor(panel, i - panel->CursorIndex());
            return;
        }
    }
}

// Tree view: the next line of the same depth, stopping at a shallower one.
void MoveToSibling(CPanel* panel, int step) {
    int from = panel->CursorIndex();
    if (from < 0 || from >= panel->entryCount) {
        return;
    }
    int depth = panel->entries[from]->sizeFromTree;
    for (int i = from + step; i >= 0 && i < panel->entryCount; i += step) {
        int d = panel->entries[i]->sizeFromTree;
        if (d < depth) {
            return;
        }
        if (d == depth) {
            MovePanelCursor(panel, i - from);
            return;
        }
    }
}

bool IsDirectoryEntry(const entry* item) {
    return (item->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool GoToDirectory(CPanel* panel, const Westring& path) {
    if (!ResolvePanelPath(panel, path)) {
        ShowMessageBox(Westring("Invalid Directory"), path, 0);
        return false;
    }
    panel->topIndex = 0;
    panel->cursorRow = 0;
    panel->panelType = PANEL_FILES;
    ChangePanelDirectory(Panels, PanelSide(panel), Westring(), false, -1, 0);
    return true;
}

void RereadPanelInPlace(int side) {
    if (Panels[side].isOn) {
        ChangePanelDirectory(Panels, side, Westring(), true, -1, 0);
        RedrawPanel(&Panels[side]);
    }
}

int CmdCursorUp(TCommand& c) {
    if (c.PanelsHidden()) {
        c.state.commandLine.HistoryPrevious(CommandHistory);
        return RedrawPanels;
    }
    MoveCursor(c, -1);
    return RedrawNothing;
}

int CmdCursorDown(TCommand& c) {
    if (c.PanelsHidden()) {
        c.state.commandLine.HistoryNext(CommandHistory);
        return RedrawPanels;
    }
    MoveCursor(c, 1);
    return RedrawNothing;
}

int CmdCursorHome(TCommand& c) {
    if (c.PanelsHidden()) {
        c.state.commandLine.MoveHome();
        return RedrawPanels;
    }
    MoveCursor(c, -c.active->CursorIndex());
    return RedrawNothing;
}

int CmdCursorEnd(TCommand& c) {
    if (c.PanelsHidden()) {
        c.state.commandLine.MoveEnd();
        return RedrawPanels;
    }
    MoveCursor(c, c.active->entryCount - 1 - c.active->CursorIndex());
    return RedrawNothing;
}

int CmdPageUp(TCommand& c) {
    if (c.PanelsHidden()) {
        return RedrawNothing;
    }
    CPanel* panel = c.active;
    int lines = panel->linesInView > 0 ? panel->linesInView : 1;
    if (panel->topIndex > 0) {
        int index = panel->CursorIndex();
        panel->topIndex = panel->topIndex > lines ? panel->topIndex - lines : 0;
        panel->cursorRow = index - panel->topIndex;
        if (panel->cursorRow > lines - 1) {
            panel->cursorRow = lines - 1;
        }
    } else {
        panel->cursorRow = 0;
    }
    panel->searchText[0] = 0;
    RedrawPanel(panel);
    c.state.cursorMoved = true;
    return RedrawNothing;
}

int CmdPageDown(TCommand& c) {
    if (c.PanelsHidden()) {
        return RedrawNothing;
    }
    CPanel* panel = c.active;
    int lines = panel->linesInView > 0 ? panel->linesInView : 1;
    int lastTop = panel->entryCount > lines ? panel->entryCount - lines : 0;
    if (panel->topIndex < lastTop) {
        int index = panel->CursorIndex();
        panel->topIndex = panel->topIndex + lines < lastTop ? panel->topIndex + lines : lastTop;
        panel->cursorRow = index - panel->topIndex;
        if (panel->cursorRow < 0) {
            panel->cursorRow = 0;
        }
    } else if (panel->entryCount > 0) {
        panel->cursorRow = panel->entryCount - 1 - panel->topIndex;
    }
    panel->searchText[0] = 0;
    RedrawPanel(panel);
    c.state.cursorMoved = true;
    return RedrawNothing;
}

int CmdLeft(TCommand& c) {
    if (c.ActiveFileList() && (c.active->viewStyle == VIEW_BRIEF || c.active->viewStyle == VIEW_BRIEFWIDE)) {
        MoveCursor(c, -Config.PanelHeight);
        return RedrawNothing;
    }
    return CmdLineLeft(c);
}

int CmdRight(TCommand& c) {
    if (c.ActiveFileList() && (c.active->viewStyle == VIEW_BRIEF || c.active->viewStyle == VIEW_BRIEFWIDE)) {
        MoveCursor(c, Config.PanelHeight);
        return RedrawNothing;
    }
    if (c.active->searchText[0] != 0) {
        QuickSearchComplete(c.active);
        c.state.cursorMoved = true;
        return RedrawNothing;
    }
    return CmdLineRight(c);
}

int CmdInsert(TCommand& c) {
    if (!c.ActiveFileList()) {
        return RedrawNothing;
    }
    int index = c.active->CursorIndex();
    if (index >= 0 && index < c.active->entryCount) {
        PanelTagEntry(c.active, index, 0);
    }
    c.active->searchText[0] = 0;
    MoveCursor(c, 1);
    return RedrawNothing;
}

int CmdAltUpDown(TCommand& c) {
    int step = c.key == KEY_ALT_UP ? -1 : 1;
    if (c.active->searchText[0] != 0) {
        QuickSearchFind(c.active, 0, step);
    } else if (c.InTreeView()) {
        MoveToSibling(c.active, step);
    } else {
        MoveToTagged(c.active, step);
    }
    c.state.cursorMoved = true;
    return RedrawNothing;
}

int CmdParentDirectory(TCommand& c) {
    if (c.PanelsHidden()) {
        return RedrawNothing;
    }
    ChangePanelDirectory(Panels, c.side, Westring(".."), false, -1, 0);
    return RedrawAll;
}

int CmdEnterEntry(TCommand& c) {
    entry* current = c.active->CursorEntry();
    if (c.PanelsHidden() || current == nullptr) {
        return RedrawNothing;
    }
    if (IsDirectoryEntry(current)) {
        ChangePanelDirectory(Panels, c.side, current->sortClass == '1' ? Westring("..") : Westring(current->name),
                             false, -1, 0);
        return RedrawAll;
    }
    // A file opens as an archive when an archive reader accepts it.
    Westring path = AddTrailingBackslash(Westring(c.active->path)) + Westring(current->name);
    if (ResolvePanelPath(c.active, path)) {
        ChangePanelDirectory(Panels, c.side, Westring(), false, 0, 0);
        return RedrawAll;
    }
    return RedrawNothing;
}

int CmdHomeDirectory(TCommand& c) {
    Environment& environment = TopEnvironment();
    Westring home;
    if (const Estring* value = environment.Get(Estring("HOME"))) {
        home.AssignUtf8(value->Data());
    }
    if (home.IsEmpty()) {
        const Estring* drive = environment.Get(Estring("HOMEDRIVE"));
        const Estring* path = environment.Get(Estring("HOMEPATH"));
        Estring joined;
        if (drive != nullptr) {
            joined += *drive;
        }
        if (path != nullptr) {
            joined += *path;
        }
        home.AssignUtf8(joined.Data());
    }
    if (home.IsEmpty()) {
        return RedrawNothing;
    }
    GoToDirectory(c.active, home);
    return RedrawAll;
}

int CmdRootOrHistory(TCommand& c) {
    if (c.Shift()) {
        GoToDirectory(c.active, Westring(c.other->path));
        return RedrawAll;
    }
    if (c.Alt()) {
        GoToDirectoryHistory(c.active);
        return RedrawAll;
    }
    CPanel* panel = c.active;
    Westring path(panel->path);
    if (panel->archive != nullptr) {
        // Leave the archive for the directory that holds the archive file.
        const CArchive* outermost = panel->archive;
        while (outermost->parent != nullptr) {
            outermost = outermost->parent;
        }
        Westring archiveFile = outermost->filePath;
        GoToDirectory(panel, ExtractDirectory(archiveFile));
        SetPanelCursorToName(panel, ExtractFileName(archiveFile));
        return RedrawAll;
    }
    if (IsRootPath(path)) {
        return RedrawNothing;
    }
    Westring root = IsUncPath(path) ? Westring("\\\\") : path.Left(3);
    if (SetPanelPath(panel, root)) {
        panel->topIndex = 0;
        panel->cursorRow = 0;
        ChangePanelDirectory(Panels, c.side, Westring(), false, -1, 0);
    }
    return RedrawAll;
}

int CmdGoToLinkTarget(TCommand& c) {
    entry* current = c.active->CursorEntry();
    if (current == nullptr || (current->attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return RedrawNothing;
    }
    Westring target = GetEntryLinkTarget(c.active, current);
    if (target.IsEmpty()) {
        return RedrawNothing;
    }
    Westring directory(c.active->path);
    NormalizePath(target, directory.Data());
    DWORD attributes = GetFileAttributesW(Utf16String(target).Data());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        GoToDirectory(c.active, target);
    } else if (GoToDirectory(c.active, ExtractDirectory(target))) {
        SetPanelCursorToName(c.active, ExtractFileName(target));
    }
    return RedrawAll;
}

void SetPanelSortMode(CPanel* panel, int mode) {
    panel->sortMode = mode;
    if (PanelSide(panel) == 0) {
        Config.LeftSort = mode;
    } else {
        Config.RightSort = mode;
    }
    entry* current = panel->CursorEntry();
    Westring name = current != nullptr ? Westring(current->name) : Westring();
    if (panel->viewStyle != VIEW_TREE) {
        if (mode == SORT_UNSORTED) {
            ReadPanelDirectory(panel);
        } else {
            SortPanel(panel);
        }
        SetPanelCursorToName(panel, name);
    }
    RedrawPanel(panel);
}

void SetPanelViewStyle(CPanel* panel, int style) {
    int side = PanelSide(panel);
    if (panel->viewStyle == style && panel->panelType == PANEL_FILES && panel->isOn) {
        return;
    }
    bool treeChange = (panel->viewStyle == VIEW_TREE) != (style == VIEW_TREE);
    panel->viewStyle = style;
    panel->panelType = PANEL_FILES;
    if (!panel->isOn) {
        TogglePanel(side);
    }
    if (style == VIEW_TREE) {
        ShowPanelTree(panel);
    } else if (treeChange) {
        ReadPanelDirectory(panel);
    }
    ClosePanelWindow(panel);
    panel->isOn = 1;
    OpenPanelWindow(panel, side);
    ResetActivePanelMemory();
    SwitchActivePanel(Panels, ActiveSide);
}

void TogglePanelsOnOff() {
    CPanel* left = &Panels[0];
    CPanel* right = &Panels[1];
    if (left->isOn) {
        ClosePanelWindow(left);
        if (right->isOn) {
            ClosePanelWindow(right);
        }
    } else if (right->isOn) {
        ClosePanelWindow(right);
    } else {
        if (right->widthKind != WIDTH_FULL && !left->startHidden) {
            TogglePanel(0);
        }
        if (left->widthKind != WIDTH_FULL && !right->startHidden) {
            TogglePanel(1);
        }
    }
    SetIdleOutputRegion();
}
