#include "shell/AssociationChoice.h"

#include "app/settings/Colours.h"
#include "base/strings/StringStore.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "ui/Dialog.h"

int ChooseAssociation(CAssociationList& list, Westring& command) {
    WestringStore commands;
    int longest = 20;
    for (int i = 0; i < list.Count(); i++) {
        commands.Add(new Westring(list.At(i)->command));
        if (list.At(i)->command.Length() > longest) {
            longest = list.At(i)->command.Length();
        }
    }
    int inner = (longest < ScreenColumns - 6 ? longest : ScreenColumns - 6) + 2;
    int rows = list.Count() < ScreenRows - 5 ? list.Count() : ScreenRows - 5;
    Dialog dialog(-1, -2, inner + 2, rows + 2, ColourOf(ColourMenu));
    dialog.WriteCentred(-1, " Choose command ", ColourOf(ColourMenu));
    int32_t selection = 0;
    dialog.AddListBoxWestring(0, 0, 1, inner, rows, commands, &selection, KEY_ENTER);
    if (dialog.Run() != KEY_ENTER || selection < 0 || selection >= list.Count()) {
        return -1;
    }
    command = list.At(selection)->command;
    return 1;
}
