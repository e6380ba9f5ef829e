#include "app/panels/PanelDirectoryChange.h"

#include "app/settings/Histories.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelTree.h"
#include "app/settings/Config.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/PathNormalizer.h"

namespace {

// A tree view on the other side follows this panel to its new directory.
void ShowDirectoryInTreeView(CPanel* panels, int side) {
    CPanel* panel = &panels[side];
    CPanel* other = &panels[1 - side];
    if (other->panelType != PANEL_FILES || other->viewStyle != VIEW_TREE || !panel->tree) {
        return;
    }
    TREENODE* node = panel->tree->FindNode(Westring(panel->path), true);
    if (!node) {
        return;
    }
    int height = other->linesInView > 0 ? other->linesInView : Config.PanelHeight;
    ShowTreeInPanel(other, panel->tree, node, height);
    if (IsPanelVisible(other)) {
        RedrawPanel(other);
    }
}

// The parent of a path that is not a root: "X:\dir" keeps its backslash and a
// server name "\\server" leads to the network root "\\".
Westring ParentDirectory(const Westring& path) {
    int cut = path.FindLast('\\');
    if (cut < 0) {
        return path;
    }
    if (cut == 1 && IsUncPath(path)) {
        return Westring("\\\\");
    }
    if (cut == 2 && HasDrivePrefix(path)) {
        return path.Left(3);
    }
    return path.Left(cut);
}

// Puts the cursor on entry `index`: on the last visible slot when the index
// lies beyond the first screenful, else with the view at the top.
void PlaceCursorOn(CPanel* panel, int index) {
    int lines = panel->linesInView > 0 ? panel->linesInView : 1;
    if (index >= lines) {
        panel->topIndex = index - lines + 1;
        panel->cursorRow = lines - 1;
    } else {
        panel->topIndex = 0;
        panel->cursorRow = index;
    }
}

}  // namespace

void PanelGoToParent(CPanel* panel) {
    Westring path(panel->path);
    if (IsRootPath(path)) {
        return;
    }
    Westring left = ExtractFileName(path);
    Westring parent = ParentDirectory(path);
    if (!SetPanelPath(panel, parent)) {
        return;
    }
    panel->taggedCount = 0;
    ReadPanelDirectory(panel);
    if (TPanelPosition* remembered = panel->positions.Find(&parent)) {
        panel->topIndex = static_cast<int32_t>(remembered->topIndex);
        SetPanelCursorToName(panel, remembered->cursorName);
    }
    if (panel->CursorIndex() >= panel->entryCount || panel->CursorIndex() < 0) {
        panel->topIndex = 0;
        panel->cursorRow = 0;
    }
    entry* current = panel->CursorEntry();
    if (current != nullptr && Westring(current->name).EqualsNoCase(left)) {
        return;
    }
    for (int i = 0; i < panel->entryCount; i++) {
        if (Westring(panel->entries[i]->name).EqualsExact(left)) {
            PlaceCursorOn(panel, i);
            return;
        }
    }
    panel->topIndex = 0;
    panel->cursorRow = 0;
}

void ChangePanelDirectory(CPanel* panels, int side, const Westring& target, bool keepTags, int topIndex,
                          int cursorRow) {
    CPanel* panel = &panels[side];
    panel->driveError = 0;
    Westring path(panel->path);
    Westring shown(panel->shownPath);
    if (!(target.IsEmpty() && path.EqualsExact(shown))) {
        if (!shown.IsEmpty()) {
            AddDirectoryHistory(shown);
        }
        CopyPanelText(panel->previousPath, shown);
        panel->previousTopIndex = panel->shownTopIndex;
        panel->previousCursorRow = panel->shownCursorRow;
    }
    if (target.EqualsExact(Westring(".."))) {
        PanelGoToParent(panel);
    } else {
        if (!keepTags) {
            panel->taggedCount = 0;
        }
        if (!target.IsEmpty()) {
            entry* current = panel->CursorEntry();
            RememberPanelPosition(panel->positions, path, static_cast<uint32_t>(panel->topIndex),
                                  current != nullptr ? Westring(current->name) : Westring());
            if (SetPanelPath(panel, AddTrailingBackslash(path) + target)) {
                panel->cursorRow = 0;
                panel->topIndex = 0;
            }
        }
        ReadPanelDirectory(panel);
    }
    if (topIndex >= 0) {
        panel->topIndex = topIndex;
        panel->cursorRow = cursorRow;
    }
    ShowDirectoryInTreeView(panels, side);
    panel->searchText[0] = 0;
    CopyPanelText(panel->shownPath, Westring(panel->path));
    ChangeDirectory(GetPanelDirectory(panel));
}
