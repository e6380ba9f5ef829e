#include "app/program/OptionDialogs.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelWindow.h"
#include "app/program/AppSupport.h"
#include "app/settings/Colours.h"
#include "app/settings/FieldKinds.h"
#include "base/mask/MaskExpression.h"
#include "console/KeyCodes.h"
#include "ui/Dialog.h"
#include "ui/HelpTopics.h"
#include "ui/HelpViewer.h"
#include "ui/MessageBox.h"

const char* const ConfirmationNames[ConfirmationCount] = {
    "Delete File/Empty Directory",
    "Delete Tagged Files",
    "Delete Non-empty Directory",
    "Quit Quorvane",
    "\"YES\" prompt for Non-Empty Directory",
};

bool PanelFilterDialog(int side) {
    CPanel* panel = &Panels[side];
    const uint8_t attribute = ColourOf(ColourMessages);
    Westring text = panel->filter;
    Estring title;
    title.Format("Filter for %s panel", side == 0 ? "left" : "right");
    Dialog dialog(-1, 5, 76, 5 + 8 - 1, attribute);
    dialog.WriteText(1, 0, title.Data(), attribute);
    dialog.AddStringField(1, 1, 1, text, 72, -1, FieldKindPanelFilter);
    for (;;) {
        if (dialog.Run() == KEY_ESC) {
            return false;
        }
        MaskExpression expression;
        if (expression.CheckSyntax(text)) {
            break;
        }
        ShowMessageBox(Westring("Error in expression"), expression.ErrorMessage(), 0);
    }
    panel->filter = text;
    return true;
}

void ToggleFullScreen() {
    bool showing[2];
    for (int side = 0; side < 2; side++) {
        CPanel* panel = &Panels[side];
        showing[side] = panel->isOn != 0;
        if (showing[side]) {
            ClosePanelWindow(panel);
        } else {
            panel->needsReread = 1;
        }
    }
    Config.FullScreen = Config.FullScreen ? 0 : 1;
    UpdatePanelHeight();
    for (int side = 0; side < 2; side++) {
        if (showing[side]) {
            OpenPanelWindow(&Panels[side], side);
        }
    }
}

void ConfirmationsDialog() {
    const uint8_t attribute = ColourOf(ColourMessages);
    uint8_t ticked[ConfirmationCount];
    for (int i = 0; i < ConfirmationCount; i++) {
        ticked[i] = (Config.Confirmations & (1u << i)) == 0 ? 1 : 0;
    }
    Dialog dialog(-1, 5, 44, 5 + 14 - 1, attribute);
    dialog.WriteCentred(-1, " Confirmations ", attribute);
    for (int i = 0; i < ConfirmationCount; i++) {
        dialog.AddCheckBox(1, 1 + i, i == 0 ? 1 : 0, &ticked[i], ConfirmationNames[i], 1);
    }
    dialog.AddPushButton(7, 7, 1, KEY_ENTER, "_OK");
    dialog.AddPushButton(15, 7, 0, KEY_ESC, "Cancel");
    dialog.AddPushButton(27, 7, 0, KEY_F1, "Help");
    for (;;) {
        int result = dialog.Run();
        if (result == KEY_F1) {
            ShowHelp(HelpTopicConfirmations);
            continue;
        }
        if (result != KEY_ENTER) {
            return;
        }
        break;
    }
    uint32_t bits = 0;
    for (int i = 0; i < ConfirmationCount; i++) {
        if (!ticked[i]) {
            bits |= 1u << i;
        }
    }
    Config.Confirmations = bits;
}
