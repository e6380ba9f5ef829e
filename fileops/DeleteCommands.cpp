#include "fileops/DeleteCommands.h"

#include <cstdio>
#include <cstring>

#include "app/panels/Panel.h"
#include "app/panels/PanelTree.h"
#include "app/panels/Tree.h"
#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/os/FileAttributes.h"
#include "base/os/PathDisplay.h"
#include "base/os/PathNormalizer.h"
#include "console/ScreenSize.h"
#include "fileops/CursorEntryPath.h"
#include "fileops/DeleteDialog.h"
#include "fileops/DeleteWorkers.h"
#include "fileops/FileCommands.h"
#include "fileops/FileOpAnswers.h"
#include "ui/ConsoleControl.h"
#include "ui/Dialog.h"
#include "ui/EscapePoll.h"
#include "ui/MessageBox.h"
#include "ui/NotAvailable.h"

void (*DeleteFromArchiveHook)(CPanel* panel) = nullptr;

namespace {

const DWORD DirectoryAttribute = 0x10;
const DWORD ReparseAttribute = 0x400;
const int TypedFieldWidth = 72;
const int TypedFieldLength = 512;
const int NoHistory = 14;

bool IsPlainDirectory(DWORD attributes) {
    return (attributes & (DirectoryAttribute | ReparseAttribute)) == DirectoryAttribute;
}

bool IsParentName(const Westring& name) {
    return name.EqualsExact(Westring(".."));
}

// A drive or share root can never be removed: deleting it as a tree would
// only empty the whole drive before the removal fails.
bool IsDriveOrShareRoot(const Westring& path) {
    Westring full = AddTrailingBackslash(path);
    return IsRootPath(full) || (IsUncPath(full) && AddTrailingBackslash(UncShareRoot(full)).EqualsNoCase(full));
}

// The cursor's path, or empty when nothing there may be deleted.
Westring DeletableCursorPath(CPanel* panel) {
    Westring path = CursorEntryPath(panel);
    if (path.IsEmpty() || IsParentName(ExtractFileName(path)) || IsDriveOrShareRoot(path)) {
        return Westring();
    }
    return path;
}

// The panel whose tree a directory deletion changed: in the tree view the
// tree belongs to the other panel.
void SaveTreeAfterDelete(CPanel* panel) {
    SavePanelTree(panel->viewStyle == VIEW_TREE ? OtherPanel(panel) : panel);
}

// An undelete folder (DELDIR) that lies on the panel's drive makes the
// "No _Undelete" choice worth offering.
bool UndeleteServesPanel(const CPanel* panel) {
    if (panel->archive != nullptr) {
        return false;
    }
    char value[1024];
    DWORD length = GetEnvironmentVariableA("DELDIR", value, sizeof value);
    if (length == 0 || length >= sizeof value) {
        return false;
    }
    Westring directory = GetPanelDirectory(panel);
    if (directory.Length() < 3) {
        return false;
    }
    Estring root(directory.Left(3), CP_ACP);
    return strstr(value, root.Data()) != nullptr;
}

bool Confirmed(uint32_t bit) {
    return (Config.Confirmations & bit) == 0;
}

}  // namespace

void ForgetDirectoryInPanelTrees(const Westring& path) {
    if (Panels == nullptr) {
        return;
    }
    Westring full = RemoveTrailingBackslash(path);
    CTree* done = nullptr;
    for (int side = 0; side < 2; side++) {
        CTree* tree = Panels[side].tree;
        if (tree == nullptr || tree == done || tree->root == nullptr) {
            continue;
        }
        done = tree;
        TREENODE* node = tree->FindNode(full, false);
        if (node == nullptr || node->parent == nullptr) {
            continue;
        }
        node->Unlink();
        delete node;
        tree->changed = 1;
        RefillTreeViews(tree);
    }
}

Westring TaggedDeleteLine(int count) {
    char text[64];
    snprintf(text, sizeof text, "You have selected %d file%s", count, count > 1 ? "s" : "");
    return Westring(text);
}

void DeletePanelEntries(CPanel* panel) {
    if (panel->archive != nullptr) {
        if (DeleteFromArchiveHook != nullptr) {
            DeleteFromArchiveHook(panel);
        } else {
            ReportNotAvailable("Deleting inside archives");
        }
        return;
    }
    if (panel->taggedCount == 0 || panel->viewStyle == VIEW_TREE) {
        Westring path = DeletableCursorPath(panel);
        if (path.IsEmpty()) {
            return;
        }
        DWORD attributes = 0;
        entry* item = panel->CursorEntry();
        if (panel->viewStyle == VIEW_TREE || item == nullptr) {
            ReadFileAttributes(path, attributes);
        } else {
            attributes = item->attributes;
        }
        if (IsPlainDirectory(attributes)) {
            DeleteOneDirectory(path, nullptr);
            SaveTreeAfterDelete(panel);
        } else {
            DeleteOneFile(path, DeleteShowAndClose, nullptr);
        }
        return;
    }
    Westring directory = AddTrailingBackslash(GetPanelDirectory(panel));
    bool directoryGone = false;
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (!item->tagged) {
            continue;
        }
        Westring path = directory + Westring(item->name);
        int result = 0;
        if (IsPlainDirectory(item->attributes)) {
            result = DeleteOneDirectory(path, nullptr);
            directoryGone = directoryGone || result > 0;
        } else {
            result = DeleteOneFile(path, DeleteShowAndKeep, nullptr);
        }
        if (result < 0 || UserAbortState == UserAbortRequested || PollEscapeKey()) {
            break;
        }
    }
    DeleteOneFile(Westring(), DeleteCloseWindow, nullptr);
    if (directoryGone) {
        SavePanelTree(panel);
    }
}

void DeleteFilesCommand(CPanel* panel) {
    if (panel->entryCount == 0) {
        return;
    }
    ResetFileOpAnswers();
    CUserAbortScope abortScope(UserAbortPolling);
    bool undelete = UndeleteServesPanel(panel);
    bool tagged = panel->taggedCount > 0 && panel->viewStyle != VIEW_TREE;
    if (!tagged) {
        Westring path = DeletableCursorPath(panel);
        if (path.IsEmpty()) {
            return;
        }
        if (Confirmed(ConfirmDeleteFileOff)) {
            DWORD attributes = 0;
            entry* item = panel->CursorEntry();
            if (panel->viewStyle == VIEW_TREE || item == nullptr) {
                ReadFileAttributes(path, attributes);
            } else {
                attributes = item->attributes;
            }
            Westring name = panel->viewStyle == VIEW_TREE ? path : ExtractFileName(path);
            CDeleteDlg dialog(Westring("Do you wish to delete"), ShortenedPathForDisplay(name, ScreenColumns - 10),
                              (attributes & DirectoryAttribute) != 0, undelete);
            if (dialog.Run() != 13) {
                return;
            }
            FileOpAnswers.readOnly = dialog.readOnlyAnswer;
            FileOpAnswers.noUndelete = dialog.noUndelete != 0;
        }
    } else {
        if (Confirmed(ConfirmDeleteFileOff)) {
            CDeleteDlg dialog(TaggedDeleteLine(panel->taggedCount), Westring("Delete?"), true, undelete);
            if (dialog.Run() != 13) {
                return;
            }
            FileOpAnswers.readOnly = dialog.readOnlyAnswer;
            FileOpAnswers.noUndelete = dialog.noUndelete != 0;
        }
        if (Confirmed(ConfirmDeleteTaggedOff)) {
            char text[80];
            snprintf(text, sizeof text, "You are deleting %d selected files from", panel->taggedCount);
            Westring line1(text);
            Westring line2 = ShortenedPathForDisplay(GetPanelDirectory(panel), ScreenColumns - 10);
            int width = line1.Length() > line2.Length() ? line1.Length() : line2.Length();
            uint8_t colour = ColourOf(ColourErrors);
            Dialog dialog(-1, -4, width + (width & 1) + 4, 6, colour);
            dialog.WriteWideCentred(0, line1, colour);
            dialog.WriteWideCentred(1, line2, colour);
            dialog.SetFocus(dialog.AddOkCancelButtons(-1, 3, 1));
            if (dialog.Run() != 13) {
                return;
            }
        }
    }
    DeletePanelEntries(panel);
    UserAbortState = UserAbortIdle;
    RereadBothPanels();
}

void DeleteTypedFile(CPanel* panel) {
    FileOpAnswers.readOnly = AnswerAsk;
    FileOpAnswers.treeAll = false;
    Westring text;
    if (panel->entryCount > 0) {
        if (panel->viewStyle == VIEW_TREE) {
            text = GetTreeLinePath(panel, panel->CursorIndex());
        } else if (entry* item = panel->CursorEntry()) {
            text = IsParentName(Westring(item->name)) ? Westring() : Westring(item->name);
        }
    }
    Westring path;
    DWORD attributes = 0;
    for (;;) {
        uint8_t colour = ColourOf(ColourMessages);
        Dialog dialog(-1, -4, 76, 7, colour);
        dialog.WriteText(1, 0, "Delete the file:", colour);
        int field = dialog.AddStringField(1, 2, 1, text, TypedFieldWidth, TypedFieldLength, NoHistory);
        dialog.AddOkCancelButtons(-1, -1, 1);
        dialog.SetFocus(field);
        if (dialog.Run() != 13) {
            return;
        }
        path = text.Trim();
        if (path.IsEmpty()) {
            continue;
        }
        Westring base = GetPanelDirectory(panel);
        if (NormalizePath(path, base.Data()) != 0 || IsDriveOrShareRoot(path)) {
            ShowMessageBox(Westring("Invalid Path"), text, MessageBoxOk);
            continue;
        }
        if (ReadFileAttributes(path, attributes) != 0) {
            ShowMessageBox(Westring("File not found"), path, MessageBoxOk);
            continue;
        }
        break;
    }
    if (Confirmed(ConfirmDeleteFileOff)) {
        CDeleteDlg dialog(Westring("Do you wish to delete"), ShortenedPathForDisplay(path, ScreenColumns - 10), false,
                          false);
        if (dialog.Run() != 13) {
            return;
        }
    }
    {
        CUserAbortScope abortScope(UserAbortPolling);
        if (IsPlainDirectory(attributes)) {
            DeleteOneDirectory(path, nullptr);
            SaveTreeAfterDelete(panel);
        } else {
            DeleteOneFile(path, DeleteShowAndClose, nullptr);
        }
    }
    RereadBothPanels();
}
