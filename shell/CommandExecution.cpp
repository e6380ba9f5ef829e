#include "shell/CommandExecution.h"

#include "app/Clock.h"
#include "app/FunctionKeyBar.h"
#include "app/Histories.h"
#include "app/NotAvailable.h"
#include "app/Panel.h"
#include "app/PanelDraw.h"
#include "shell/PanelDirectoryChange.h"
#include "shell/services/Environment.h"
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
    if (current->sortClass == '1') {
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

void ExpandPercentVariables(Westring& text) {
    Westring result;
    int i = 0;
    while (i < text.Length()) {
        int close = text[i] == '%' ? text.FindFrom(Westring("%"), i + 1) : -1;
        if (close > i + 1) {
            Estring name(text.Mid(i + 1, close - i - 1));
            if (const Estring* value = TopEnvironment().Get(name)) {
                Westring wide;
                wide.AssignUtf8(value->Data());
                result += wide;
                i = close + 1;
                continue;
            }
        }
        result.AppendChar(text[i]);
        i++;
    }
    text = result;
}

void RemoveTempFiles() {
    // No command makes temporary files yet: the programs run from the command
    // line are the first that will, and they remove them here.
}

void ExpandCommandMacrosInString(Westring&, const Westring&, int, int) {
    // Macros come with the command runner; until then a command runs as written.
}
