#include "fileops/links/SymbolicLinks.h"

#include <cstdio>

#include "app/panels/DirectoryTree.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelTags.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/os/FileAttributes.h"
#include "base/os/Links.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/PathParts.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "fileops/CopyDialog.h"
#include "fileops/FileCommands.h"
#include "fileops/FileErrors.h"
#include "ui/Dialog.h"
#include "ui/MessageBox.h"

namespace {

const DWORD DirectoryAttribute = 0x10;
const int DialogWidth = 76;
const int DialogHeight = 9;
const int FieldWidth = 72;
const int FieldLength = 512;
const int DirectoryHistoryKind = 10;
const int KeyDirectoryHistory = KEY_ALT_BACKSLASH;
const int KeyTree = KEY_F10;
const int FormKeys[] = {KEY_F5, KEY_F6, KeyAltLetter('d')};

// Components that make a path's root: the drive ("C:"), or for a UNC path
// the empty first component, the server and the share.
int RootComponents(const CPathParts& parts) {
    return parts.Count() > 0 && parts.At(0)->IsEmpty() ? 3 : 1;
}

// The prompt of the dialog's first row.
Westring PromptText(int tagged, const Westring& name) {
    if (tagged > 0) {
        char text[80];
        const char* s = tagged == 1 ? "" : "s";
        snprintf(text, sizeof text, "Make symbolic link%s to %d file%s in", s, tagged, s);
        return Westring(text);
    }
    Westring shown = name.Length() > 45 ? name.Left(45) : name;
    return Westring("Make symbolic link to \"") + shown + Westring("\" as");
}

bool IsDirectoryPath(const Westring& path) {
    DWORD attributes = 0;
    return ReadFileAttributes(path, attributes) == 0 && (attributes & DirectoryAttribute) != 0;
}

// The dialog; true with the field's text when the user confirmed it.
bool AskDestination(CPanel* panel, const Westring& destination, int tagged, const Westring& name, Westring& field) {
    uint8_t colour = ColourOf(ColourMessages);
    Dialog dialog(-1, -4, DialogWidth, DialogHeight, colour);
    dialog.WriteWide(1, 0, PromptText(tagged, name), colour);
    field = AddTrailingBackslash(destination) + (tagged > 0 ? Westring() : name);
    int input = dialog.AddStringField(1, 2, 1, field, FieldWidth, FieldLength, DirectoryHistoryKind);
    dialog.AddCheckBox(1, 4, 1, &Config.RelativeLinks, "_Relative Link", 1);
    static const TButtonDef buttons[] = {{13, "OK"},
                                         {27, "Cancel"},
                                         {static_cast<uint32_t>(KeyTree), "F10-_Tree"},
                                         {static_cast<uint32_t>(KeyDirectoryHistory), "Dir _Hist"},
                                         {0, nullptr}};
    dialog.AddButtonRow(-1, -1, 1, buttons);
    dialog.AddExitKey(KeyTree);
    for (int key : FormKeys) {
        dialog.AddExitKey(key);
    }
    dialog.SetFocus(input);
    for (;;) {
        int key = dialog.Run();
        if (key == 27) {
            return false;
        }
        if (key == 13) {
            if (tagged == 0) {
                return true;
            }
            Westring directory = RemoveTrailingBackslash(field.Trim());
            Westring full = directory;
            if (!directory.IsEmpty() && NormalizePath(full, GetPanelDirectory(panel).Data()) == 0 &&
                IsDirectoryPath(full)) {
                return true;
            }
            ShowMessageBox(Westring("Destination must be a valid directory"), field, MessageBoxOk);
            continue;
        }
        if (key == KeyDirectoryHistory) {
            Westring chosen = PickDirectoryHistoryHook != nullptr ? PickDirectoryHistoryHook() : Westring();
            if (!chosen.IsEmpty()) {
                field = AddTrailingBackslash(chosen);
            }
        } else if (key == KeyTree) {
            Westring chosen = field;
            if (DirectoryTreeDialog(panel, chosen, TreeChooserPicker) == 0 && !chosen.IsEmpty()) {
                field = chosen;
            }
        } else {
            field = ToggleDestinationName(field, destination);
        }
        dialog.DrawElement(input);
    }
}

}  // namespace

Westring RelativeLinkTarget(const Westring& linkDirectory, const Westring& target) {
    CPathParts from(linkDirectory);
    CPathParts to(target);
    int shared = from.CommonPrefixLength(to, false);
    if (shared < RootComponents(from) || shared < RootComponents(to)) {
        return target;
    }
    Westring relative;
    for (int i = shared; i < from.Count(); i++) {
        relative += relative.IsEmpty() ? Westring("..") : Westring("\\..");
    }
    for (int i = shared; i < to.Count(); i++) {
        if (!relative.IsEmpty()) {
            relative += '\\';
        }
        relative += *to.At(i);
    }
    return relative.IsEmpty() ? Westring(".") : relative;
}

int MakeLink(const Westring& link, const Westring& target, bool relative, bool isDirectory) {
    Westring stored = target;
    if (relative) {
        Westring directory = ExtractDirectory(link);
        if (NormalizePath(directory, nullptr) == 0) {
            stored = RelativeLinkTarget(directory, target);
        }
    }
    for (;;) {
        DWORD error = CreateLink(link, stored, isDirectory);
        if (error == 0) {
            return 1;
        }
        int code = static_cast<int>(error);
        int stop = 0;
        ReportFileError(code, stop, target.Data(), link.Data(), 0);
        if (code < 0) {
            return 0;
        }
        if (stop != 0) {
            return 1;
        }
    }
}

void MakeSymbolicLinksCommand(CPanel* panel, const Westring& destination) {
    if (panel->entryCount == 0 || panel->panelType == PANEL_INFO) {
        return;
    }
    int tagged = panel->taggedCount;
    entry* cursor = panel->CursorEntry();
    if (tagged == 0 && (cursor == nullptr || Westring(cursor->name).EqualsExact(Westring("..")))) {
        return;
    }
    Westring name = tagged > 0 ? Westring() : Westring(cursor->name);
    Westring field;
    if (!AskDestination(panel, destination, tagged, name, field)) {
        return;
    }
    Westring directory = AddTrailingBackslash(GetPanelDirectory(panel));
    bool relative = Config.RelativeLinks != 0;
    if (tagged == 0) {
        Westring link = field.Trim();
        if (NormalizePath(link, directory.Data()) != 0) {
            ShowMessageBox(Westring("Invalid path"), field, MessageBoxOk);
            return;
        }
        MakeLink(link, directory + name, relative, (cursor->attributes & DirectoryAttribute) != 0);
    } else {
        Westring into = RemoveTrailingBackslash(field.Trim());
        NormalizePath(into, directory.Data());
        into = AddTrailingBackslash(into);
        for (int i = 0; i < panel->entryCount; i++) {
            entry* item = panel->entries[i];
            if (!item->tagged) {
                continue;
            }
            Westring itemName(item->name);
            if (MakeLink(into + itemName, directory + itemName, relative,
                         (item->attributes & DirectoryAttribute) != 0) == 0) {
                break;
            }
            PanelSetEntryTag(panel, item, -1);
            item->processed = 1;
        }
    }
    RereadBothPanels();
}
