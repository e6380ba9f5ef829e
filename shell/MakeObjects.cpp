#include "shell/MakeObjects.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "base/os/PathDisplay.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "shell/ProgramSearch.h"
#include "shell/Shortcuts.h"
#include "ui/Dialog.h"

Westring TitleFromFileName(const Westring& name) {
    int dot = name.Length() - 1;
    while (dot > 0 && name[dot] != '.') {
        dot--;
    }
    Westring title = (dot > 0 ? name.Left(dot) : name).ToLower();
    if (!title.IsEmpty()) {
        title = title.Left(1).ToUpper() + title.Mid(1, title.Length());
    }
    return title;
}

namespace {

// OK (true) or Cancel for the objects; `title` is the one entry's title
// (not asked for the tagged entries, nor for a file that is no program).
bool AskForObjects(CPanel* panel, const entry* item, Westring& title) {
    uint8_t colour = ColourOf(ColourMessages);
    if (panel->taggedCount > 0) {
        Dialog dialog(-1, -3, 44, 8, colour);
        Estring text;
        text.Format("Make %d objects", panel->taggedCount);
        dialog.WriteCentred(0, text.Data(), colour);
        dialog.AddOkCancelButtons(-1, -1, 1);
        return dialog.Run() == KEY_ENTER;
    }
    Westring name(item->name);
    Westring shown = name;
    ShortenPathForDisplay(shown, ScreenColumns - 10);
    title = TitleFromFileName(name);
    bool program =
        GetProgramKindByExtension(AddTrailingBackslash(GetPanelDirectory(panel)) + name) != ProgramKindNotProgram;
    int width = shown.Length() > 40 ? shown.Length() : 40;
    width += (width & 1) + 4;
    Dialog dialog(-1, -3, width, program ? 8 : 6, colour);
    dialog.WriteCentred(0, "Make an object for", colour);
    Estring text;
    shown.ToUtf8(text);
    dialog.WriteCentred(1, text.Data(), colour);
    if (program) {
        dialog.AddStaticText(1, 3, "Title:", colour);
        dialog.AddStringField(8, 3, 1, title, 33, 250, FieldKindNoHistory);
    }
    dialog.AddOkCancelButtons(-1, -1, 1);
    return dialog.Run() == KEY_ENTER;
}

}  // namespace

void MakeObjectsCommand(CPanel* panel) {
    entry* current = panel->CursorEntry();
    if (panel->entryCount == 0 || current == nullptr) {
        return;
    }
    Westring title;
    if (!AskForObjects(panel, current, title)) {
        return;
    }
    Westring directory = GetPanelDirectory(panel);
    if (panel->taggedCount == 0) {
        MakeProgmanItem(directory, Westring(current->name), title, false);
        return;
    }
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (!item->tagged) {
            continue;
        }
        Westring name(item->name);
        MakeProgmanItem(directory, name, TitleFromFileName(name), false);
        item->tagged = 0;
        panel->taggedCount--;
    }
    RedrawPanel(panel);
}
