#include "shell/CommandExecution.h"

#include "app/panels/PanelTree.h"

#include "ui/Clock.h"
#include "ui/FunctionKeyBar.h"
#include "app/settings/Histories.h"
#include "ui/NotAvailable.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelDirectoryChange.h"
#include "base/os/Environment.h"
#include "ui/Win.h"

void ExecuteCommandOrEntry(CPanel* panels, int side, const char32_t* command, int flag) {
    Westring line = Westring(command).Trim();
    if (!line.IsEmpty()) {
        AddCommandHistory(command, false, nullptr);
        ExecuteCommandLine(line, side, flag);
        return;
    }
    CPanel* panel = &panels[side];
    entry* current = panel->CursorEntry();
    if (current == nullptr) {
        return;
    }
    if (panel->panelType == PANEL_FILES && panel->viewStyle == VIEW_TREE) {
        // A tree line sends the other panel to its directory.
        CPanel* other = &panels[1 - side];
        Westring target = GetTreeLinePath(panel, panel->CursorIndex());
        if (!target.IsEmpty() && SetPanelPath(other, target)) {
            other->cursorRow = 0;
            other->topIndex = 0;
            ChangePanelDirectory(panels, 1 - side, Westring(), false, -1, 0);
        }
    } else if (current->sortClass == '1') {
        ChangePanelDirectory(panels, side, Westring(".."), false, -1, 0);
    } else if ((current->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ChangePanelDirectory(panels, side, Westring(current->name), false, -1, 0);
    } else {
        ReportNotAvailable("Running programs and opening files");
    }
}

int ExecuteCommandLine(const Westring&, int, int) {
    ReportNotAvailable("Running commands");
    return 1;
}

void HideOrRestorePanels(bool restore) {
    for (int side = 0; side < 2; side++) {
        CPanel* panel = &Panels[side];
        if (!panel->isOn || panel->window == nullptr) {
            continue;
        }
        if (restore && (side == 1 || panel->widthKind == WIDTH_FULL)) {
            CloseClockWindow();
        }
        if (panel->window->IsHidden() == restore) {
            panel->window->SetHidden(!restore);
        }
        // A panel read since it was last drawn shows its new entries.
        if (restore && panel->readDone) {
            RedrawPanel(panel);
        }
    }
    if (FunctionKeyBar != nullptr) {
        if (restore) {
            FunctionKeyBar->Show();
        } else {
            FunctionKeyBar->Hide();
        }
    }
}

void UserMenuCommand(int, bool) {
    ReportNotAvailable("The user menu");
}

void RemoveTempFiles() {
    // Nothing this process runs makes temporary files: there is none to
    // remove.
}

void ExpandCommandMacrosInString(Westring&, const Westring&, int, int) {
    // No macro is expanded: a command runs as written.
}
