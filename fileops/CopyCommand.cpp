#include "fileops/CopyCommand.h"

#include <cstdio>

#include "app/panels/DirectorySizes.h"
#include "app/panels/DirectoryTree.h"
#include "app/panels/PanelTree.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelTags.h"
#include "app/settings/Config.h"
#include "base/io/StdFile.h"
#include "base/os/FileAttributes.h"
#include "base/os/FileIdentity.h"
#include "base/os/FilePrimitives.h"
#include "base/os/PathDisplay.h"
#include "base/os/PathNormalizer.h"
#include "fileops/CaseFilter.h"
#include "fileops/CopyDialog.h"
#include "fileops/CopyEngine.h"
#include "fileops/CopyFailures.h"
#include "fileops/CopyProgressWindow.h"
#include "fileops/Descriptions.h"
#include "fileops/FileCommands.h"
#include "fileops/FileErrors.h"
#include "fileops/FileOpAnswers.h"
#include "ui/ConsoleControl.h"
#include "ui/EscapePoll.h"
#include "ui/MessageBox.h"

namespace {

const DWORD AttrDirectory = 0x10;
const int MaxMaskedName = 2048;

bool HasWildcard(const Westring& text) {
    return text.Find('*') >= 0 || text.Find('?') >= 0;
}

Westring LastComponent(const Westring& path) {
    int slash = path.FindLast('\\');
    return slash < 0 ? path : path.Mid(slash + 1, 0);
}

bool IsParentName(const Westring& name) {
    return name.EqualsExact(Westring(".."));
}

// The volume (device) of a directory by its identity; false when unknown.
bool DirectoryVolume(const Westring& path, DWORD& volume) {
    TFileIdentity identity;
    if (GetFileIdentity(path, identity) != 0) {
        return false;
    }
    volume = identity.volume;
    return true;
}

bool OnOneDevice(const Westring& from, const Westring& to) {
    DWORD a = 0;
    DWORD b = 0;
    return DirectoryVolume(from, a) && DirectoryVolume(to, b) && a == b;
}

Westring DialogTitle(bool move, int tagged, const Westring& name) {
    char text[64];
    if (tagged > 0) {
        snprintf(text, sizeof text, "%s %d file%c to", move ? "Move" : "Copy", tagged, tagged == 1 ? ' ' : 's');
        return Westring(text);
    }
    return Westring(move ? "Move/Rename" : "Copy") + Westring(" \"") + ShortenedPathForDisplay(name, 55) +
           Westring("\" to");
}

// Only directories have sizes to work out before the copy.
bool TagsDirectory(const CPanel* panel) {
    for (int i = 0; i < panel->entryCount; i++) {
        if (panel->entries[i]->tagged && (panel->entries[i]->attributes & AttrDirectory) != 0) {
            return true;
        }
    }
    return false;
}

void Untag(CPanel* panel, entry* item) {
    PanelSetEntryTag(panel, item, -1);
    item->processed = 1;
}

// A directory moved or renamed keeps its place in the source panel's tree,
// so the tree view and the chooser show it where it went. True when the
// panel has a tree to save.
bool MoveDirectoryInTree(CPanel* panel, const Westring& from, const Westring& to) {
    if (panel->tree == nullptr)
        return false;
    RenameTreeNode(from, to, PanelSide(panel));
    return true;
}

}  // namespace

void BuildDestinationName(const Westring& sourceName, const Westring& destination, Westring& out) {
    Westring target = destination;
    bool trailing = false;
    if (target.Length() > 0 && (target[target.Length() - 1] == '\\' || target[target.Length() - 1] == '/')) {
        target = target.Left(target.Length() - 1);
        trailing = true;
    }
    Westring name = LastComponent(sourceName);
    Westring last = LastComponent(target);
    if (!HasWildcard(last)) {
        if (trailing) {
            out = target + Westring("\\") + name;
            return;
        }
        DWORD attributes = 0;
        bool directory = ReadFileAttributes(target, attributes) == 0 && (attributes & AttrDirectory) != 0;
        // The destination names the source itself (a new spelling of its
        // own name) when it equals it exactly; names that differ in case are
        // other files here.
        bool sameName = sourceName.EqualsExact(target) || name.EqualsExact(last);
        out = directory && !sameName ? target + Westring("\\") + name : target;
        return;
    }
    Westring masked;
    ApplyRenameMask(name, last, masked);
    if (masked.Length() > MaxMaskedName) {
        masked = masked.Left(MaxMaskedName);
    }
    out = target.Left(target.Length() - last.Length()) + masked;
}

bool CopyMoveFiles(CPanel* source, CPanel* destinationPanel, int flags, const Westring* given) {
    bool move = (flags & CopyCommandMove) != 0;
    CCopyProgressWindow progress;
    Westring fileSystem(source->fileSystemName);
    CopyClearsReadOnly = fileSystem.EqualsNoCase(Westring("CDFS")) || fileSystem.EqualsNoCase(Westring("UDF"));
    CopyLowerCasesNames = FileSystemInCaseFilter(fileSystem);
    if (source->entryCount == 0) {
        return false;
    }
    Westring sourceDirectory = GetPanelDirectory(source);
    entry* cursor = source->CursorEntry();
    Westring cursorName;
    if (source->viewStyle == VIEW_TREE) {
        cursorName = GetTreeLinePath(source, source->CursorIndex());
    } else if (cursor != nullptr) {
        cursorName = Westring(cursor->name);
    }
    if (cursorName.IsEmpty()) {
        return false;
    }
    int tagged = source->taggedCount;
    Westring proposed;
    bool otherShowsFiles = destinationPanel->isOn && destinationPanel->panelType == PANEL_FILES;
    if (otherShowsFiles && (flags & CopyCommandSameDirectory) == 0) {
        Westring other = destinationPanel->viewStyle == VIEW_TREE
                             ? GetTreeLinePath(destinationPanel, destinationPanel->CursorIndex())
                             : GetPanelDirectory(destinationPanel);
        proposed = AddTrailingBackslash(other) + (tagged == 0 ? LastComponent(cursorName) : Westring());
    } else {
        if (tagged == 0 && IsParentName(cursorName)) {
            return false;
        }
        proposed = tagged == 0 ? LastComponent(cursorName) : Westring();
    }
    if (tagged == 0 && IsParentName(LastComponent(cursorName))) {
        return false;
    }

    uint32_t options = (flags & CopyCommandDereference) ? CopyOptionDereference : 0;
    Westring destination;
    if (given == nullptr) {
        CCopyDlg dialog(source, destinationPanel, DialogTitle(move, tagged, LastComponent(cursorName)), proposed, true,
                        tagged == 0, move);
        if (dialog.Run() == 27) {
            return false;
        }
        destination = dialog.destination.Trim();
        FileOpAnswers.overwrite = dialog.overwriteMode;
        options = (dialog.dereference ? CopyOptionDereference : 0) | (dialog.skipOnError ? CopyOptionSkipOnError : 0);
    } else {
        destination = *given;
    }
    if (destination.IsEmpty()) {
        return false;
    }

    CUserAbortScope abortScope(UserAbortPolling);
    StdFile descriptions;
    bool allDone = true;
    bool treeMoved = false;
    Westring cursorTarget;
    int64_t total = 0;
    if (tagged > 0) {
        bool asDirectory = destination[destination.Length() - 1] == '\\' || destination.EqualsExact(Westring(".."));
        Westring target = destination;
        if (NormalizePath(target, sourceDirectory.Data()) != 0) {
            ShowMessageBox(Westring("Invalid path"), destination, MessageBoxOk);
            return false;
        }
        Westring targetDirectory = target;
        if (!IsCharacterDevice(target)) {
            if (HasWildcard(LastComponent(target))) {
                targetDirectory = target.Left(target.FindLast('\\'));
                if (targetDirectory.Length() == 2) {
                    targetDirectory.AppendChar('\\');
                }
            } else {
                DWORD attributes = 0;
                if (ReadFileAttributes(target, attributes) != 0 || (attributes & AttrDirectory) == 0) {
                    ShowMessageBox(
                        Westring(asDirectory ? "Directory does not exist" : "Destination must be a valid directory"),
                        destination, MessageBoxOk);
                    return false;
                }
                target = AddTrailingBackslash(target);
            }
        }
        // A panel without a directory (the found files of File Find) names
        // each entry by its full path: the device is asked for per item,
        // and there is no one description file to carry lines from.
        const bool byFullPath = sourceDirectory.IsEmpty();
        bool renameFirst = move && !byFullPath && OnOneDevice(sourceDirectory, targetDirectory);
        if ((!move || !renameFirst) && !byFullPath && TagsDirectory(source)) {
            // Esc in the size scan gives up the whole command.
            if (!ComputeDirectorySizes(source, false)) {
                return false;
            }
        }
        for (int i = 0; i < source->entryCount; i++) {
            if (source->entries[i]->tagged) {
                total += static_cast<int64_t>(source->entries[i]->size);
            }
        }
        progress.bytesTotal = total;
        progress.StartTiming();
        if (!byFullPath)
            OpenDescriptionFile(AddTrailingBackslash(sourceDirectory) + Westring("*"), nullptr, descriptions, false,
                                false);
        CHeldDescriptionFile held(descriptions);
        for (int i = 0; i < source->entryCount; i++) {
            source->entries[i]->processed = 0;
        }
        int index = 0;
        for (int i = 0; i < source->entryCount; i++) {
            entry* item = source->entries[i];
            if (!item->tagged) {
                continue;
            }
            index++;
            Westring name(item->name);
            Westring itemTarget;
            BuildDestinationName(name, target, itemTarget);
            Westring from = byFullPath ? name : AddTrailingBackslash(sourceDirectory) + name;
            const bool renameItem =
                byFullPath ? move && OnOneDevice(ExtractDirectory(from), targetDirectory) : renameFirst;
            int r = move ? MoveOneFile(from, itemTarget, index, tagged, &progress, descriptions, renameItem)
                         : CopyOneFile(from, itemTarget, index, tagged, &progress, descriptions, options);
            if (r == 0) {
                if (move && (item->attributes & AttrDirectory) != 0)
                    treeMoved = MoveDirectoryInTree(source, from, itemTarget) || treeMoved;
                Untag(source, item);
            } else {
                allDone = false;
            }
            if (r < 0 || UserAbortState == UserAbortRequested || PollEscapeKey()) {
                break;
            }
        }
    } else {
        bool asDirectory = destination[destination.Length() - 1] == '\\' || destination.EqualsExact(Westring(".."));
        Westring target = destination;
        // Without a directory part the target lies in the source panel's
        // directory, whatever the process's current directory is.
        int slash = target.FindLast('\\');
        Westring directoryPart = slash < 0 ? Westring() : target.Left(slash + 1);
        Westring namePart = slash < 0 ? target : target.Mid(slash + 1, 0);
        if (asDirectory) {
            directoryPart = target;
            namePart.Clear();
        }
        if (directoryPart.IsEmpty()) {
            directoryPart = sourceDirectory;
        }
        if (NormalizePath(directoryPart, sourceDirectory.Data()) != 0) {
            ShowMessageBox(Westring("Invalid path"), destination, MessageBoxOk);
            return false;
        }
        Westring itemName = LastComponent(cursorName);
        Westring from = cursorName.Find('\\') >= 0 ? cursorName : AddTrailingBackslash(sourceDirectory) + itemName;
        Westring full = namePart.IsEmpty() ? AddTrailingBackslash(directoryPart) + itemName
                                           : AddTrailingBackslash(directoryPart) + namePart;
        if (!asDirectory && !namePart.IsEmpty()) {
            BuildDestinationName(itemName, AddTrailingBackslash(directoryPart) + namePart, full);
        }
        bool renameFirst = move && OnOneDevice(ExtractDirectory(from), ExtractDirectory(full));
        DWORD fromAttributes = 0;
        const bool fromIsDirectory =
            ReadFileAttributes(from, fromAttributes) == 0 && (fromAttributes & AttrDirectory) != 0;
        if ((!move || !renameFirst) && fromIsDirectory) {
            // Esc in the size scan gives up the whole command.
            if (!ComputeDirectorySizes(source, false)) {
                return false;
            }
        }
        OpenDescriptionFile(from, nullptr, descriptions, false, false);
        CHeldDescriptionFile held(descriptions);
        entry* item = source->CursorEntry();
        progress.bytesTotal = item != nullptr ? static_cast<int64_t>(item->size) : 0;
        progress.StartTiming();
        int r = move ? MoveOneFile(from, full, 1, 1, &progress, descriptions, renameFirst)
                     : CopyOneFile(from, full, 1, 1, &progress, descriptions, options);
        allDone = r == 0;
        if (r == 0 && move && fromIsDirectory)
            treeMoved = MoveDirectoryInTree(source, from, full);
        if (r == 0 && ExtractDirectory(full).EqualsExact(ExtractDirectory(from))) {
            cursorTarget = LastComponent(full);
        }
    }

    descriptions.Close();
    if (treeMoved)
        SavePanelTree(source);
    progress.Stop();
    DeleteCopyingWindow();
    if (SkippedCopies().Count() > 0) {
        ShowCopyFailures();
    }
    if (destinationPanel->driveError != 0 && destination.Length() >= 2 && destination[1] == ':' &&
        Westring(destinationPanel->path).Length() > 0 &&
        Westring(destination.Left(1)).EqualsNoCase(Westring(destinationPanel->path).Left(1))) {
        destinationPanel->driveError = 0;
    }
    RereadBothPanels();
    if (!cursorTarget.IsEmpty()) {
        SetPanelCursorToName(source, cursorTarget);
    }
    RedrawPanel(source);
    return allDone;
}

void CopyOrMovePanelFiles(CPanel* panels, int side, int mode, const Westring* destination) {
    ResetFileOpAnswers();
    CopyMoveFiles(&panels[side], &panels[1 - side], mode, destination);
}
