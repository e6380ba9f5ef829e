#include "fileops/CopyDialog.h"

#include "app/panels/DirectoryTree.h"
#include "app/panels/Panel.h"
#include "app/settings/Colours.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"

Westring (*PickDirectoryHistoryHook)() = nullptr;

namespace {

const int DialogWidth = 76;
const int FieldWidth = 72;
const int FieldLength = 512;
const int DirectoryHistoryKind = 10;
const DWORD ReparseAttribute = 0x400;
const int KeyDirectoryHistory = KEY_ALT_BACKSLASH;
const int KeyTree = KEY_F10;
const int NameKeys[] = {KeyAltLetter('d'), KEY_F5, KEY_F6};

bool CursorIsLink(CPanel* panel) {
    entry* item = panel != nullptr ? panel->CursorEntry() : nullptr;
    return item != nullptr && (item->attributes & ReparseAttribute) != 0;
}

}  // namespace

int CopyDialogHeight(bool copyOptions, bool isMove, bool cursorIsLink) {
    if (copyOptions) {
        return isMove ? 10 : 11;
    }
    return !isMove && cursorIsLink ? 9 : 7;
}

Westring ToggleDestinationName(const Westring& text, const Westring& otherDirectory) {
    int slash = text.FindLast('\\');
    if (slash < 0) {
        return AddTrailingBackslash(otherDirectory) + text;
    }
    return text.Mid(slash + 1, 0);
}

CCopyDlg::CCopyDlg(CPanel* sourcePanel, CPanel* otherPanel, const Westring& title, const Westring& text,
                   bool copyOptions, bool nameKeys, bool isMove)
    : Dialog(-1, -4, DialogWidth, CopyDialogHeight(copyOptions, isMove, CursorIsLink(sourcePanel)),
             ColourOf(ColourMessages)),
      destination(text), overwriteMode(0), dereference(0), skipOnError(0), source(sourcePanel), other(otherPanel),
      field(-1) {
    uint8_t colour = ColourOf(ColourMessages);
    WriteWide(1, 0, title, colour);
    field = AddStringField(1, 2, 1, destination, FieldWidth, FieldLength, DirectoryHistoryKind);
    int row = 4;
    if (copyOptions) {
        AddStaticText(1, row, "Overwrite", colour);
        AddRadioButton(11, row, 2, &overwriteMode, 0, "As_k");
        AddRadioButton(22, row, 0, &overwriteMode, 1, "_Always");
        AddRadioButton(33, row, 0, &overwriteMode, 2, "N_ever");
        AddRadioButton(44, row, 0, &overwriteMode, 3, "If O_lder");
        row++;
    }
    if (!isMove && (copyOptions || CursorIsLink(sourcePanel))) {
        AddCheckBox(1, row, 1, &dereference, "_Dereference Symbolic Links", 1);
        row++;
    }
    if (copyOptions) {
        AddCheckBox(1, row, 1, &skipOnError, "_Skip On Error", 1);
    }
    static const TButtonDef buttons[] = {{13, "OK"},
                                         {27, "Cancel"},
                                         {static_cast<uint32_t>(KeyTree), "F10-_Tree"},
                                         {static_cast<uint32_t>(KeyDirectoryHistory), "Dir _Hist"},
                                         {0, nullptr}};
    AddButtonRow(-1, -1, 1, buttons);
    AddExitKey(KeyTree);
    if (nameKeys) {
        for (int key : NameKeys) {
            AddExitKey(key);
        }
    }
    SetFocus(field);
}

int CCopyDlg::Run() {
    for (;;) {
        int key = Dialog::Run();
        if (key == 13 || key == 27) {
            return key;
        }
        if (key == KeyDirectoryHistory) {
            Westring chosen = PickDirectoryHistoryHook != nullptr ? PickDirectoryHistoryHook() : Westring();
            if (!chosen.IsEmpty()) {
                destination = AddTrailingBackslash(chosen);
            }
        } else if (key == KeyTree) {
            Westring chosen = destination;
            if (DirectoryTreeDialog(source, chosen, TreeChooserPicker) == 0 && !chosen.IsEmpty()) {
                destination = chosen;
            }
        } else {
            destination = ToggleDestinationName(destination, Westring(other->path));
        }
        DrawElement(field);
    }
}
