#include "fileops/DeleteWorkers.h"

#include <vector>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "base/os/FileAttributes.h"
#include "base/os/FileIdentity.h"
#include "base/os/FilePrimitives.h"
#include "base/os/PathDisplay.h"
#include "base/os/PathNormalizer.h"
#include "console/ScreenSize.h"
#include "fileops/CopyProgressWindow.h"
#include "fileops/Descriptions.h"
#include "fileops/DirectoryListing.h"
#include "fileops/FileErrors.h"
#include "fileops/FileOpAnswers.h"
#include "ui/Dialog.h"
#include "ui/EscapePoll.h"
#include "ui/MessageBox.h"

void (*DirectoryRemovedHook)(const Westring& path) = nullptr;

namespace {

const DWORD ReadOnlyAttribute = 0x1;
const DWORD DirectoryAttribute = 0x10;
const DWORD ReparseAttribute = 0x400;
const int DirectoryNotEmpty = 145;
const int DirectoryInUse = 16;
// Bits of the "Confirmations" setting; a set bit switches a question off.
const uint32_t ConfirmNonEmptyDirectoryOff = 1u << 2;
const uint32_t ConfirmTypeYesOff = 1u << 4;

// The "Deleting the file" window, kept across calls of one command.
Win* DeletingWindow = nullptr;
int DeletingWidth = 0;

void CloseDeletingWindow() {
    delete DeletingWindow;
    DeletingWindow = nullptr;
}

void ShowDeletingPath(const Westring& path, int mode) {
    Westring shown = ShortenedPathForDisplay(path, ScreenColumns - 10);
    if (shown.Length() > DeletingWidth) {
        CloseDeletingWindow();
        DeletingWidth = shown.Length() < 18 ? 18 : shown.Length();
    }
    bool quiet = mode == DeleteQuietly || mode == DeleteForced;
    if (DeletingWindow == nullptr && !quiet) {
        uint8_t colour = ColourOf(ColourMessages);
        DeletingWindow = new Win(-1, -4, DeletingWidth + (DeletingWidth & 1) + 4, 4, colour, colour, 0);
        DeletingWindow->WriteCentred(0, "Deleting the file", colour);
    }
    if (DeletingWindow != nullptr) {
        DeletingWindow->GotoXY(0, 1);
        DeletingWindow->ClearToEolDefault();
        DeletingWindow->WriteWideCentred(1, shown, DeletingWindow->Attribute());
    }
}

// The read-only question of files and directories: 1 go on, 0 skip, -1
// cancel; the answers All and None are remembered.
int AskReadOnly(const char* question, const Westring& path) {
    if (FileOpAnswers.readOnly == AnswerNone) {
        return 0;
    }
    if (FileOpAnswers.readOnly == AnswerAll) {
        return 1;
    }
    for (;;) {
        unsigned key = ShowMessageBox(Westring(question), path, MessageBoxOkCancelSkipAll);
        switch (key) {
        case 'a': FileOpAnswers.readOnly = AnswerAll; return 1;
        case 'e': FileOpAnswers.readOnly = AnswerNone; return 0;
        case 'y': return 1;
        case 27: return -1;
        case 's':
        case 'n': return 0;
        default: break;
        }
    }
}

bool IsDescriptionFileName(const Westring& path) {
    return ExtractFileName(path).EqualsNoCase(Westring("descript.ion"));
}

void ForgetRemovedDirectory(const Westring& path) {
    RemoveDescription(path);
    if (DirectoryRemovedHook != nullptr) {
        DirectoryRemovedHook(path);
    }
}

// The dialog before a non-empty directory goes: true to go on.
bool ConfirmTree(const Westring& path) {
    Westring name = ShortenedPathForDisplay(path, ScreenColumns - 10);
    int width = name.Length() > 27 ? name.Length() : 27;
    width += (width & 1) + 4;
    uint8_t colour = ColourOf(ColourErrors);
    Dialog dialog(-1, -4, width, 7, colour);
    dialog.WriteCentred(0, "Directory", colour);
    dialog.WriteWideCentred(1, name, colour);
    dialog.WriteCentred(2, "is not empty", colour);
    dialog.WriteCentred(3, "Delete tree?", colour);
    int centre = dialog.ClientWidth() / 2;
    if ((Config.Confirmations & ConfirmTypeYesOff) != 0) {
        dialog.AddPushButton(centre - 14, 4, 1, 'y', "OK");
        dialog.AddPushButton(centre - 6, 4, 0, 'n', "Cancel");
        dialog.AddPushButton(centre + 6, 4, 0, 'a', "All");
        dialog.SetHotKeys("yna", 3);
        int key = dialog.Run();
        if (key == 13 || key == 'y') {
            return true;
        }
        if (key == 'a') {
            FileOpAnswers.treeAll = true;
            return true;
        }
        return false;
    }
    Westring typed;
    dialog.AddStaticText(centre - 8, 4, "Type \"YES\"", colour);
    dialog.AddStringField(centre + 5, 4, 1, typed, 4, 4, 14);
    int key = dialog.Run();
    return key == 13 && typed.Trim().EqualsNoCase(Westring("YES"));
}

}  // namespace

int ConfirmReadOnlyFile(const Westring& path) {
    return AskReadOnly("File is Read Only, Delete anyway?", path);
}

int DeleteOneFile(const Westring& path, int mode, CCopyProgressWindow* progress) {
    if (mode == DeleteCloseWindow) {
        CloseDeletingWindow();
        DeletingWidth = 0;
        return 0;
    }
    // Forced deletion passes read-only files for this call only: the answer
    // the user gave (or will give) for the rest of the operation stays his.
    bool forced = mode == DeleteForced;
    ShowDeletingPath(path, mode);
    int result = 0;
    for (;;) {
        DWORD error = DeleteFileOrLink(path);
        if (error == 0) {
            RemoveDescription(path);
            result = 1;
            break;
        }
        if (progress != nullptr) {
            progress->Stop();
        }
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            if (forced || IsDescriptionFileName(path)) {
                result = 0;
                break;
            }
        }
        DWORD attributes = 0;
        if (error == ERROR_ACCESS_DENIED && ReadFileAttributes(path, attributes) == 0 &&
            (attributes & ReadOnlyAttribute) != 0 && (attributes & DirectoryAttribute) == 0) {
            int answer = forced ? 1 : AskReadOnly("File is Read Only, Delete anyway?", path);
            if (answer <= 0) {
                result = answer;
                break;
            }
            if (WriteFileAttributes(path, attributes & ~ReadOnlyAttribute) != 0) {
                ShowMessageBox(Westring("Unable to clear Read Only flag"), path, MessageBoxOk);
                result = -1;
                break;
            }
            continue;
        }
        int code = static_cast<int>(error);
        int stop = 0;
        Westring shown = path;
        ReportFileError(code, stop, shown.Data(), nullptr, 0);
        if (stop != 0) {
            result = code == -1 ? -1 : 0;
            break;
        }
    }
    if (mode == DeleteShowAndClose) {
        CloseDeletingWindow();
    }
    return result;
}

int DeleteOneDirectory(const Westring& path, CCopyProgressWindow* progress) {
    if (path.EqualsExact(Westring(".."))) {
        return 0;
    }
    for (;;) {
        Westring full = path;
        int code = 0;
        if (NormalizePath(full, nullptr) != 0) {
            code = ERROR_PATH_NOT_FOUND;
        } else {
            std::vector<TListedItem> items;
            DWORD error = ListDirectoryItems(full, items);
            if (error != 0) {
                code = static_cast<int>(error);
            } else if (!items.empty()) {
                code = DirectoryNotEmpty;
            } else {
                code = static_cast<int>(RemoveEmptyDirectory(full));
            }
        }
        if (code == 0) {
            ForgetRemovedDirectory(full);
            return 1;
        }
        if (progress != nullptr) {
            progress->Stop();
        }
        if (code == ERROR_PATH_NOT_FOUND || code == ERROR_FILE_NOT_FOUND) {
            ShowMessageBox(Westring("Directory does not exist, cannot delete"), path, MessageBoxOk);
            ForgetRemovedDirectory(full);
            return 0;
        }
        DWORD attributes = 0;
        if (code == ERROR_ACCESS_DENIED && ReadFileAttributes(full, attributes) == 0 &&
            (attributes & ReadOnlyAttribute) != 0) {
            int answer = AskReadOnly("Directory is Read Only, Delete anyway?", path);
            if (answer <= 0) {
                return answer;
            }
            if (WriteFileAttributes(full, attributes & ~ReadOnlyAttribute) != 0) {
                ShowMessageBox(Westring("Unable to clear Read Only flag"), path, MessageBoxOk);
                return -1;
            }
            continue;
        }
        if (code == DirectoryInUse) {
            unsigned key = ShowMessageBox(Westring("Directory in use, cannot delete"), path, MessageBoxRetrySkipCancel);
            if (key == 'r') {
                continue;
            }
            return key == 27 ? -1 : 0;
        }
        if (code == DirectoryNotEmpty) {
            return ConfirmAndDeleteTree(full);
        }
        int stop = 0;
        ReportFileError(code, stop, full.Data(), nullptr, 0);
        if (stop != 0) {
            return code == -1 ? -1 : 0;
        }
    }
}

int ConfirmAndDeleteTree(const Westring& path) {
    if (FileOpAnswers.treeDepth > 0) {
        return 0;
    }
    if ((Config.Confirmations & ConfirmNonEmptyDirectoryOff) == 0 && !FileOpAnswers.treeAll) {
        if (!ConfirmTree(path)) {
            return -1;
        }
    }
    FileOpAnswers.treeDepth++;
    int stopped = DeleteDirectoryContents(path);
    DeleteOneFile(Westring(), DeleteCloseWindow, nullptr);
    FileOpAnswers.treeDepth--;
    return stopped == 0 ? 1 : -1;
}

int DeleteDirectoryContents(const Westring& path) {
    std::vector<TListedItem> items;
    ListDirectoryItems(path, items);
    TFileIdentity parent;
    bool parentKnown = GetFileIdentity(path, parent) == 0;
    Westring directory = AddTrailingBackslash(path);
    for (const TListedItem& item : items) {
        if (PollEscapeKey()) {
            return 1;
        }
        Westring child = directory + item.name;
        if ((item.attributes & (DirectoryAttribute | ReparseAttribute)) == DirectoryAttribute) {
            TFileIdentity identity;
            if (parentKnown && GetFileIdentity(child, identity) == 0 && identity.volume != parent.volume) {
                // Another file system is mounted here: its contents are not
                // ours to delete, so only the (failing) removal is tried.
                int code = static_cast<int>(RemoveEmptyDirectory(child));
                if (code != 0) {
                    int stop = 0;
                    ReportFileError(code, stop, child.Data(), nullptr, 0);
                    if (code == -1) {
                        return 1;
                    }
                }
                continue;
            }
            if (DeleteDirectoryContents(child) != 0) {
                return 1;
            }
            continue;
        }
        if (DeleteOneFile(child, DeleteShowAndKeep, nullptr) == -1) {
            return 1;
        }
    }
    return DeleteOneDirectory(path, nullptr) == -1 ? 1 : 0;
}
