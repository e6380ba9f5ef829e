#include "app/program/StoredPathsDialog.h"

#include "app/settings/Colours.h"
#include "ui/MessageBox.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelNavigation.h"
#include "app/settings/StoredPaths.h"
#include "base/os/Environment.h"
#include "console/KeyCodes.h"
#include "shell/CommandExecution.h"
#include "app/panels/PanelDirectoryChange.h"
#include "ui/Dialog.h"
#include "ui/ListBox.h"

namespace {

// The slot list leaves the digits to the dialog, where they choose a slot;
// a list would take them as the start of a search.
class CStoredPathsList : public ListBoxWestring {
public:
    using ListBoxWestring::ListBoxWestring;
    bool HandleEvent(TDialogEvent& event) override {
        if (event.kind == TDialogEvent::KindKey && event.key >= '0' && event.key <= '9') {
            return false;
        }
        return ListBoxWestring::HandleEvent(event);
    }
};

}  // namespace

int StoredPathsDialog(CPanel* panel) {
    int width = 16;
    for (const Westring& path : StoredPaths) {
        width = path.Length() > width ? path.Length() : width;
    }
    width = (width > 70 ? 70 : width);
    width += (width & 1) + 6;
    WestringStore items;
    for (int slot = 0; slot < StoredPathCount; slot++) {
        items.Add(new Westring(FormatStoredPathItem(slot, width)));
    }
    int32_t selection = 0;
    Dialog dialog(-1, -4, width + 2, 12, ColourOf(ColourMenu));
    dialog.WriteCentred(-1, " Stored Paths ", ColourOf(ColourMenu));
    int list = dialog.AddElement(new CStoredPathsList(dialog, 1, 0, width - 2, 10, items, &selection, KEY_ENTER), 1);
    for (char digit = '0'; digit <= '9'; digit++) {
        dialog.AddExitKey(digit);
    }
    dialog.AddExitKey(KEY_INSERT);
    dialog.AddExitKey(KEY_DELETE);
    for (;;) {
        int key = dialog.Run();
        if (key == KEY_ESC) {
            return 0;
        }
        if (key >= '0' && key <= '9') {
            selection = key - '0';
            key = KEY_ENTER;
        }
        if (key == KEY_INSERT || key == KEY_DELETE) {
            StoredPaths[selection] = key == KEY_INSERT ? Westring(panel->path) : Westring();
            *items.At(selection) = FormatStoredPathItem(selection, width);
            dialog.DrawElement(list);
            continue;
        }
        if (key != KEY_ENTER || StoredPaths[selection].IsEmpty()) {
            dialog.DrawElement(list);
            continue;
        }
        Westring path = StoredPaths[selection];
        ExpandPercentVariables(path);
        if (ResolvePanelPath(panel, path)) {
            ChangePanelDirectory(Panels, PanelSide(panel), Westring(), false, -1, 0);
        } else {
            ShowMessageBox(Westring("Invalid directory"), path, 0);
        }
        return 1;
    }
}
