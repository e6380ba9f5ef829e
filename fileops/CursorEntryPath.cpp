#include "fileops/CursorEntryPath.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelTree.h"

Westring CursorEntryPath(CPanel* panel) {
    if (panel->viewStyle == VIEW_TREE) {
        return GetTreeLinePath(panel, panel->CursorIndex());
    }
    entry* item = panel->CursorEntry();
    if (item == nullptr) {
        return Westring();
    }
    return AddTrailingBackslash(GetPanelDirectory(panel)) + Westring(item->name);
}
