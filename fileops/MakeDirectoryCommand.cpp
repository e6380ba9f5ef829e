// F7: a new directory in the panel's directory (or where the tree view's
// cursor stands), added to the panel's directory tree.
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelTree.h"
#include "app/settings/Colours.h"
#include "base/os/FileAttributes.h"
#include "base/os/FilePrimitives.h"
#include "base/os/PathNormalizer.h"
#include "fileops/CaseFilter.h"
#include "fileops/FileCommands.h"
#include "fileops/FileErrors.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"

namespace {

const DWORD DirectoryAttribute = 0x10;
const int NameFieldWidth = 72;
const int NameFieldLength = 512;
const int NoHistory = 14;

// The directory a new name is made in.
Westring BaseDirectory(CPanel* panel) {
    if (panel->viewStyle == VIEW_TREE) {
        return AddTrailingBackslash(GetTreeLinePath(panel, panel->CursorIndex()));
    }
    if (panel->panelType == PANEL_INFO) {
        return GetPanelDirectory(OtherPanel(panel));
    }
    return GetPanelDirectory(panel);
}

// The panel whose tree holds the new directory: the tree view shows the
// other panel's tree.
CPanel* TreeOwner(CPanel* panel) {
    return panel->viewStyle == VIEW_TREE ? OtherPanel(panel) : panel;
}

}  // namespace

void MakeDirectoryCommand(int side) {
    CPanel* panel = &Panels[side];
    Westring text;
    {
        uint8_t colour = ColourOf(ColourMessages);
        Dialog dialog(-1, -4, 76, 6, colour);
        dialog.WriteText(1, 0, "Create the directory", colour);
        int field = dialog.AddStringField(1, 1, 1, text, NameFieldWidth, NameFieldLength, NoHistory);
        dialog.AddOkCancelButtons(-1, -1, 1);
        dialog.SetFocus(field);
        if (dialog.Run() != 13) {
            return;
        }
    }
    Westring name = text.Trim();
    if (name.IsEmpty()) {
        return;
    }
    if (FileSystemInCaseFilter(Westring(panel->fileSystemName))) {
        name = name.ToUpper();
    }
    Westring base = BaseDirectory(panel);
    Westring full = name;
    // A typed absolute or relative path goes where it says from the base.
    if (NormalizePath(full, base.Data()) != 0) {
        full = AddTrailingBackslash(base) + name;
    }
    for (;;) {
        DWORD error = MakeDirectory(full);
        if (error == 0) {
            CPanel* owner = TreeOwner(panel);
            if (AddPanelTreeChild(owner, ExtractDirectory(full), ExtractFileName(full)) != nullptr) {
                SavePanelTree(owner);
                RefillTreeViews(owner->tree);
            }
            break;
        }
        DWORD attributes = 0;
        if ((error == ERROR_ACCESS_DENIED || error == ERROR_ALREADY_EXISTS) &&
            ReadFileAttributes(full, attributes) == 0) {
            ShowMessageBox(Westring((attributes & DirectoryAttribute) != 0 ? "Directory already exists"
                                                                           : "File already exists named"),
                           full, MessageBoxOk);
            break;
        }
        int code = static_cast<int>(error);
        int stop = 0;
        ReportFileError(code, stop, full.Data(), nullptr, 0);
        if (stop != 0) {
            break;
        }
    }
    RereadBothPanels();
    if (AddTrailingBackslash(ExtractDirectory(full)).EqualsExact(AddTrailingBackslash(GetPanelDirectory(panel)))) {
        SetPanelCursorToName(panel, ExtractFileName(full));
    }
    RedrawPanel(panel);
}
