#include "fileops/NameCase.h"

#include <cstdio>
#include <vector>

#include "app/panels/Panel.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/os/FileAttributes.h"
#include "base/os/FilePrimitives.h"
#include "base/os/PathDisplay.h"
#include "base/strings/MixedCase.h"
#include "fileops/CursorEntryPath.h"
#include "fileops/DirectoryListing.h"
#include "fileops/FileCommands.h"
#include "fileops/FileErrors.h"
#include "ui/Dialog.h"
#include "ui/EscapePoll.h"
#include "ui/Win.h"

namespace {

const DWORD DirectoryAttribute = 0x10;
const DWORD ReparseAttribute = 0x400;
// The modes in the order of the dialog's radio buttons.
const char CaseModes[] = {'l', 'u', 'm', 'n'};

int ModeIndex(char mode) {
    for (int i = 0; i < 4; i++) {
        if (CaseModes[i] == mode) {
            return i;
        }
    }
    return 0;
}

Westring FileCountText(int count) {
    char text[40];
    snprintf(text, sizeof text, "%d file%s", count, count == 1 ? "" : "s");
    return Westring(text);
}

}  // namespace

Westring ConvertNameCase(const Westring& text, char mode) {
    switch (mode) {
    case 'l': return text.ToLower();
    case 'u': return text.ToUpper();
    case 'm': {
        Westring mixed = text;
        ToMixedCase(mixed);
        return mixed;
    }
    default: return text;
    }
}

Westring ConvertFileNameCase(const Westring& name, char nameMode, char extensionMode) {
    int dot = name.FindLast('.');
    if (dot < 0) {
        return ConvertNameCase(name, nameMode);
    }
    return ConvertNameCase(name.Left(dot), nameMode) + ConvertNameCase(name.Mid(dot, 0), extensionMode);
}

int ChangeCaseOfEntry(const Westring& directory, const Westring& name, DWORD attributes, char nameMode,
                      char extensionMode) {
    bool isDirectory = (attributes & DirectoryAttribute) != 0;
    Westring current = name;
    if (isDirectory ? Config.CaseModDirs != 0 : Config.CaseModFiles != 0) {
        Westring renamed = ConvertFileNameCase(name, nameMode, extensionMode);
        if (!renamed.EqualsExact(name)) {
            Westring base = AddTrailingBackslash(directory);
            for (;;) {
                DWORD error = RenameFile(base + name, base + renamed);
                if (error == 0) {
                    current = renamed;
                    break;
                }
                int code = static_cast<int>(error);
                int stop = 0;
                Westring from = base + name;
                Westring to = base + renamed;
                ReportFileError(code, stop, from.Data(), to.Data(), 0);
                if (code == -1) {
                    return -1;
                }
                if (stop != 0) {
                    break;
                }
            }
        }
    }
    // A link to a directory may lead back above itself: it is renamed,
    // never walked through.
    if (Config.CaseModRecurse == 0 || (attributes & (DirectoryAttribute | ReparseAttribute)) != DirectoryAttribute) {
        return 0;
    }
    Westring inside = AddTrailingBackslash(directory) + current;
    uint8_t colour = ColourOf(ColourMessages);
    Win window(-1, -2, 60, 5, colour, colour, 0);
    window.WriteCentred(-1, " Changing file case ", colour);
    window.WriteText(1, 1, "Processing files in ", colour);
    window.WriteWideAtCursor(ShortenedPathForDisplay(inside, 36), colour);
    std::vector<TListedItem> names;
    ListDirectoryItems(inside, names);
    int done = 0;
    for (const TListedItem& item : names) {
        int result = ChangeCaseOfEntry(inside, item.name, item.attributes, nameMode, extensionMode);
        if (result != 0) {
            return result;
        }
        done++;
        char count[32];
        snprintf(count, sizeof count, "%d", done);
        window.WriteText(1, 2, count, colour);
        if (PollEscapeKey()) {
            return 1;
        }
    }
    return 0;
}

void ChangeCaseDialog(CPanel* panel) {
    if (panel->entryCount == 0 || panel->panelType == PANEL_INFO) {
        return;
    }
    int tagged = panel->viewStyle == VIEW_TREE ? 0 : panel->taggedCount;
    Westring path = tagged == 0 ? CursorEntryPath(panel) : Westring();
    Westring name = ExtractFileName(path);
    if (tagged == 0 && (name.IsEmpty() || name.EqualsExact(Westring("..")))) {
        return;
    }
    int32_t nameMode = ModeIndex(Config.CaseMod.Length() > 0 ? Config.CaseMod[0] : 'l');
    int32_t extensionMode = ModeIndex(Config.CaseMod.Length() > 1 ? Config.CaseMod[1] : 'l');
    uint8_t recurse = Config.CaseModRecurse;
    uint8_t directories = Config.CaseModDirs;
    uint8_t files = Config.CaseModFiles;
    {
        uint8_t colour = ColourOf(ColourMessages);
        Dialog dialog(-1, -4, 36, 17, colour);
        dialog.WriteText(1, 0, "Change case of", colour);
        dialog.WriteWide(1, 1, tagged > 0 ? FileCountText(tagged) : ShortenedPathForDisplay(name, 32), colour);
        dialog.WriteText(2, 3, "Name", colour);
        dialog.WriteText(15, 3, "Extension", colour);
        static const char* const nameLabels[] = {"_Lower", "_Upper", "_Mixed", "_None"};
        static const char* const extensionLabels[] = {"Lo_wer", "Up_per", "M_ixed", "Non_e"};
        for (int i = 0; i < 4; i++) {
            dialog.AddRadioButton(2, 5 + i, i == 0 ? 2 : 0, &nameMode, i, nameLabels[i]);
        }
        for (int i = 0; i < 4; i++) {
            dialog.AddRadioButton(15, 5 + i, i == 0 ? 2 : 0, &extensionMode, i, extensionLabels[i]);
        }
        dialog.AddCheckBox(2, 10, 1, &recurse, "_Recurse into directories", 1);
        dialog.AddCheckBox(2, 11, 1, &directories, "Change _directories", 1);
        dialog.AddCheckBox(2, 12, 1, &files, "Change _files", 1);
        int ok = dialog.AddPushButton(8, 14, 1, 13, "OK");
        dialog.AddPushButton(16, 14, 0, 27, "Cancel");
        dialog.SetFocus(ok);
        if (dialog.Run() != 13) {
            return;
        }
    }
    char modes[3] = {CaseModes[nameMode & 3], CaseModes[extensionMode & 3], 0};
    Config.CaseMod = modes;
    Config.CaseModRecurse = recurse;
    Config.CaseModDirs = directories;
    Config.CaseModFiles = files;

    if (tagged == 0) {
        DWORD attributes = 0;
        if (ReadFileAttributes(path, attributes) == 0) {
            ChangeCaseOfEntry(ExtractDirectory(path), name, attributes, modes[0], modes[1]);
        }
    } else {
        Westring directory = GetPanelDirectory(panel);
        uint8_t colour = ColourOf(ColourMessages);
        Dialog window(-1, -4, 60, 5, colour);
        window.WriteCentred(-1, " Changing file case ", colour);
        float ratio = 0;
        int bar = window.AddProgressIndicator(1, 2, 56, &ratio);
        int done = 0;
        for (int i = 0; i < panel->entryCount; i++) {
            entry* item = panel->entries[i];
            if (!item->tagged) {
                continue;
            }
            Westring name(item->name);
            window.GotoXY(0, 0);
            window.ClearToEolDefault();
            window.WriteWide(1, 0, ShortenedPathForDisplay(name, 56), colour);
            int result = ChangeCaseOfEntry(directory, name, item->attributes, modes[0], modes[1]);
            done++;
            ratio = static_cast<float>(done) / static_cast<float>(tagged);
            window.DrawElement(bar);
            // Esc inside a tree stops the whole command, not only that tree.
            if (result != 0 || PollEscapeKey()) {
                break;
            }
        }
    }
    RereadBothPanels();
}
