#include "fileops/FileAttributesCommand.h"

#include "app/panels/Panel.h"
#include "app/settings/Colours.h"
#include "base/os/FileAttributes.h"
#include "base/os/PathDisplay.h"
#include "base/os/SystemError.h"
#include "console/KeyCodes.h"
#include "fileops/CursorEntryPath.h"
#include "fileops/FileCommands.h"
#include "fileops/FileErrors.h"
#include "ui/Dialog.h"
#include "ui/HelpViewer.h"
#include "ui/MessageBox.h"

const TAttributeBox AttributeBoxes[5] = {
    {"_Read Only", 0x1}, {"_Archive", 0x20}, {"_Hidden", 0x2}, {"_System", 0x4}, {"_Compressed", 0x800},
};

namespace {

const uint32_t CompressedAttribute = 0x800;
const uint32_t DirectoryAttribute = 0x10;
const uint32_t NormalAttribute = 0x80;
// What the system keeps itself and a write of attributes must not carry.
const uint32_t SystemKeptAttributes = 0x10 | 0x200 | 0x400 | 0x800 | 0x4000;
const int AttributesHelpTopic = 8;
const int BoxColumn = 7;
const int BoxCount = 5;

// Runs the dialog until OK or Cancel; Help shows its page and goes on.
int RunWithHelp(Dialog& dialog) {
    static const TButtonDef buttons[] = {
        {13, "OK"}, {27, "Cancel"}, {static_cast<uint32_t>(KEY_F1), "Help"}, {0, nullptr}};
    dialog.AddButtonRow(-1, -1, 1, buttons);
    dialog.AddExitKey(KEY_F1);
    dialog.SetFocus(0);
    for (;;) {
        int key = dialog.Run();
        if (key == KEY_F1) {
            ShowHelp(AttributesHelpTopic);
            continue;
        }
        return key;
    }
}

// Writes what changed for one path; false when the user stopped there.
bool ChangeAttributes(const Westring& path, const Westring& name, uint32_t old, uint32_t wanted) {
    const uint32_t notWritten = SystemKeptAttributes | NormalAttribute;
    uint32_t settable = wanted & ~notWritten;
    if (settable != (old & ~notWritten)) {
        // No attribute at all is said with the "normal" bit alone.
        if (SetAttributesWithRetry(path, settable != 0 ? settable : NormalAttribute) < 0) {
            return false;
        }
    }
    if ((wanted & CompressedAttribute) != (old & CompressedAttribute)) {
        DWORD error = SetCompression(path, (wanted & CompressedAttribute) != 0, (old & DirectoryAttribute) != 0);
        if (error != 0) {
            return ShowMessageBox(FormatSystemError(error), name, MessageBoxOkCancel) != 27;
        }
    }
    return true;
}

void ChangeTaggedAttributes(CPanel* panel) {
    uint8_t colour = ColourOf(ColourMessages);
    uint8_t boxes[BoxCount] = {1, 1, 1, 1, 1};
    {
        Dialog dialog(-1, -3, 34, 11, colour);
        dialog.WriteCentred(-1, " File  Attributes ", colour);
        for (int i = 0; i < BoxCount; i++) {
            dialog.AddCheckBox3S(BoxColumn, 2 + i, i == 0 ? 1 : 0, &boxes[i], AttributeBoxes[i].label, 1);
        }
        if (RunWithHelp(dialog) != 13) {
            return;
        }
    }
    Westring directory = AddTrailingBackslash(GetPanelDirectory(panel));
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (!item->tagged) {
            continue;
        }
        Westring name(item->name);
        Westring path = directory + name;
        DWORD old = item->attributes;
        ReadFileAttributes(path, old);
        if (!ChangeAttributes(path, name, old, ApplyAttributeBoxes(old, boxes))) {
            break;
        }
    }
}

void ChangeOneEntryAttributes(CPanel* panel) {
    Westring path = CursorEntryPath(panel);
    if (path.IsEmpty()) {
        return;
    }
    DWORD old = 0;
    if (ReadFileAttributes(path, old) != 0) {
        ShowMessageBox(Westring("Unable to retrieve attributes for"), path, MessageBoxOk);
        return;
    }
    uint8_t colour = ColourOf(ColourMessages);
    uint8_t boxes[BoxCount];
    for (int i = 0; i < BoxCount; i++) {
        boxes[i] = (old & AttributeBoxes[i].bit) != 0 ? 1 : 0;
    }
    Westring name = ExtractFileName(path);
    {
        Dialog dialog(-1, -3, 32, 11, colour);
        dialog.WriteCentred(-1, " File  Attributes ", colour);
        dialog.WriteWideCentred(0, ShortenedPathForDisplay(name, 26), colour);
        for (int i = 0; i < BoxCount; i++) {
            dialog.AddCheckBox(BoxColumn, 2 + i, i == 0 ? 1 : 0, &boxes[i], AttributeBoxes[i].label, 1);
        }
        if (RunWithHelp(dialog) != 13) {
            return;
        }
    }
    uint32_t wanted = old;
    for (int i = 0; i < BoxCount; i++) {
        wanted = boxes[i] != 0 ? wanted | AttributeBoxes[i].bit : wanted & ~AttributeBoxes[i].bit;
    }
    ChangeAttributes(path, name, old, wanted);
}

}  // namespace

int SetAttributesWithRetry(const Westring& path, uint32_t attributes) {
    for (;;) {
        DWORD error = WriteFileAttributes(path, attributes);
        if (error == 0) {
            return 0;
        }
        int code = static_cast<int>(error);
        int stop = 0;
        ReportFileError(code, stop, path.Data(), nullptr, 0);
        if (stop != 0) {
            return code;
        }
    }
}

uint32_t ApplyAttributeBoxes(uint32_t old, const uint8_t* boxes) {
    uint32_t result = old;
    for (int i = 0; i < BoxCount; i++) {
        if (boxes[i] == 2) {
            result |= AttributeBoxes[i].bit;
        } else if (boxes[i] == 0) {
            result &= ~AttributeBoxes[i].bit;
        }
    }
    return result;
}

void FileAttributesDialog(CPanel* panel) {
    if (panel->panelType == PANEL_INFO || panel->entryCount == 0) {
        return;
    }
    if (panel->taggedCount > 0 && panel->viewStyle != VIEW_TREE) {
        ChangeTaggedAttributes(panel);
    } else {
        ChangeOneEntryAttributes(panel);
    }
    RereadBothPanels();
}
