#include "archive/ArchiveCommands.h"

#include "app/panels/ArchiveTreeHooks.h"
#include "app/panels/DirectorySizes.h"
#include "app/panels/DirectoryTree.h"
#include "app/panels/Panel.h"
#include "app/panels/PanelArchive.h"
#include "app/panels/PanelTags.h"
#include "app/panels/PanelTree.h"
#include "app/panels/Tree.h"
#include "app/settings/ArchiverSettings.h"
#include "app/settings/Colours.h"
#include "archive/ArchiveMembers.h"
#include "archive/ArchiverCommandLine.h"
#include "base/io/StdFile.h"
#include "base/os/CurrentDirectory.h"
#include "base/os/FileAttributes.h"
#include "base/os/FilePrimitives.h"
#include "base/os/PathDisplay.h"
#include "base/os/PathNormalizer.h"
#include "base/os/SystemError.h"
#include "console/KeyCodes.h"
#include "console/ScreenSize.h"
#include "fileops/CopyEngine.h"
#include "fileops/DeleteWorkers.h"
#include "fileops/FileCommands.h"
#include "fileops/FileOpAnswers.h"
#include "shell/TempFiles.h"
#include "ui/ConsoleControl.h"
#include "ui/MessageBox.h"

int32_t MakeArchiveIndex = 0;

namespace {

// The archiver names as the dialog's radio buttons show them, the hot
// letter marked.
const char* const ArchiverLabels[ArchiverCount] = {
    "_ZIP", "_RAR",  "_LHARC", "_ARJ", "A_CE",      "_HA",        "_GZIP",
    "_TAR", "_7ZIP", "_BZIP2", "_XZ",  "TAR/GZI_P", "TAR/BZIP_2", "TAR/XZ",
};
const char MakeArchiveHotKeys[] = "nzrlachgt7bxp2";
// The plain compressors hold one file and keep its extension in the name.
bool IsSingleFileArchiver(int index) {
    return index == 6 || index == 9 || index == 10;
}
const char* const ArchiverExtensions[ArchiverCount] = {
    "zip", "rar", "lzh", "arj", "ace", "ha", "gz", "tar", "7z", "bz2", "xz", "tar.gz", "tar.bz2", "tar.xz",
};

const int NameFieldLength = 512;
const int NameHistoryKind = 9;
const int NoHistory = 14;

void Message(const Westring& text, const Westring& path = Westring()) {
    ShowMessageBox(text, path, MessageBoxOk);
}

Westring FormatWithName(const char* format, int archiverIndex) {
    Estring text;
    text.Format(format, GetArchiverName(archiverIndex).Data());
    return Westring(text);
}

bool EndsWithNoCase(const Westring& text, const char* ending) {
    Westring tail(ending);
    return text.Length() >= tail.Length() && text.Right(tail.Length()).EqualsNoCase(tail);
}

// The directory a panel shows, as a destination: its tree line's path in
// the tree view.
Westring PanelShownDirectory(const CPanel* panel) {
    if (panel->viewStyle == VIEW_TREE)
        return GetTreeLinePath(panel, panel->CursorIndex());
    return Westring(panel->path);
}

// Deletes the source panel's tagged entries after a move: members from the
// archive, files and folders from the disk.
void DeleteMovedEntries(CPanel* panel) {
    if (panel->archive != nullptr) {
        DeleteFromArchive(panel);
        return;
    }
    // The disk side of deleting the tagged entries, as the delete command
    // does it without its questions.
    const Westring directory = AddTrailingBackslash(GetPanelDirectory(panel));
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (!item->tagged)
            continue;
        Westring path = directory + Westring(item->name);
        int result =
            (item->attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY
                ? DeleteOneDirectory(path, nullptr)
                : DeleteOneFile(path, DeleteShowAndKeep, nullptr);
        if (result < 0 || UserAbortState == UserAbortRequested)
            break;
    }
    DeleteOneFile(Westring(), DeleteCloseWindow, nullptr);
}

// The copy-to/from-archive dialog: the destination and its tree picker.
class CArchiveCopyDlg : public Dialog {
public:
    CArchiveCopyDlg(const Westring& prompt, Westring& destination)
        : Dialog(-1, -4, 76, 7, ColourOf(ColourMessages)), field(-1) {
        WriteWide(1, 0, prompt, ColourOf(ColourMessages));
        field = AddStringField(1, 2, 1, destination, 72, NameFieldLength, NoHistory);
        static const TButtonDef buttons[] = {
            {13, "_OK"}, {27, "Cancel"}, {static_cast<uint32_t>(KEY_F10), "F10-Tree"}, {0, nullptr}};
        AddButtonRow(-1, -1, 1, buttons);
        AddExitKey(KEY_F10);
        SetFocus(field);
    }
    int field;
};

}  // namespace

void AddOkCancelHelpButtons(Dialog& dialog) {
    static const TButtonDef buttons[] = {
        {13, "_OK"}, {27, "Cancel"}, {static_cast<uint32_t>(KEY_F1), "Help"}, {0, nullptr}};
    dialog.AddButtonRow(-1, -1, 1, buttons);
}

int ReloadPanelArchive(CPanel* panel) {
    CArchive* old = panel->archive;
    if (!old)
        return -1;
    const Westring path = old->filePath;
    CArchive* parent = old->parent;
    old->parent = nullptr;  // the new archive takes it over
    delete old;
    CArchive* fresh = new CArchive(path, parent);
    if (fresh->status != 0) {
        delete fresh;
        panel->archive = nullptr;
        return -1;
    }
    panel->archive = fresh;
    return 0;
}

// ---------------------------------------------------------------------------
// Compress Files

CMakeArchiveDlg::CMakeArchiveDlg(Westring& nameText, int32_t* index)
    : Dialog(-1, -3, 74, 9, ColourOf(ColourMessages)), archiverIndex(index), name(&nameText), shownIndex(*index),
      nameField(-1) {
    const uint8_t colour = ColourOf(ColourMessages);
    WriteCentred(-1, " Compress Files ", colour);
    WriteHotKeyText(1, 0, "Archive Name:", "N", colour);
    nameField = AddStringField(1, 1, 1, nameText, 44, NameFieldLength, NameHistoryKind);
    for (int i = 0; i < ArchiverCount; i++) {
        int column = i < 7 ? 48 : 58;
        AddRadioButton(column, i % 7, i == 0 ? 2 : 0, archiverIndex, i, ArchiverLabels[i]);
    }
    AddOkCancelButtons(12, -1, 1);
    SetHotKeys(MakeArchiveHotKeys, int(sizeof MakeArchiveHotKeys - 1));
    ApplyArchiveExtension(*this);
    DrawElement(-1);
    SetFocus(nameField);
}

CMakeArchiveDlg::~CMakeArchiveDlg() = default;

void CMakeArchiveDlg::OnEventHandled() {
    OnArchiverChanged(*this);
}

void ApplyArchiveExtension(CMakeArchiveDlg& dialog) {
    Westring& name = *dialog.name;
    const Westring file = ExtractFileName(name);
    const Westring directory = name.Left(name.Length() - file.Length());
    dialog.baseName = file;
    int dot = file.FindLast('.');
    if (dot > 0) {
        dialog.savedExtension = file.Mid(dot + 1, 0);
        dialog.baseName = file.Left(dot);
    }
    const int index = *dialog.archiverIndex;
    const Westring extension = Westring(".") + Westring(ArchiverExtensions[index]);
    if (IsSingleFileArchiver(index))
        name = name + extension;
    else
        name = directory + dialog.baseName + extension;
}

void OnArchiverChanged(CMakeArchiveDlg& dialog) {
    const int index = *dialog.archiverIndex;
    if (index == dialog.shownIndex || index < 0 || index >= ArchiverCount)
        return;
    Westring& name = *dialog.name;
    const int previous = dialog.shownIndex;
    Westring oldExtension = Westring(".") + Westring(ArchiverExtensions[previous]);
    if (name.Length() >= oldExtension.Length() && name.Right(oldExtension.Length()).EqualsNoCase(oldExtension)) {
        name = name.DropRight(oldExtension.Length());
        if (!IsSingleFileArchiver(previous) && !dialog.savedExtension.IsEmpty())
            name = name + Westring(".") + dialog.savedExtension;
    }
    ApplyArchiveExtension(dialog);
    dialog.shownIndex = index;
    dialog.DrawElement(-1);
}

int MakeArchive(CPanel* panel) {
    entry* current = panel->CursorEntry();
    if (panel->entryCount == 0 || panel->archive != nullptr || current == nullptr)
        return -1;
    if (panel->taggedCount == 0 && current->sortClass == SORTCLASS_PARENT)
        return -1;
    Westring name = current->sortClass == SORTCLASS_PARENT ? Westring("archive") : Westring(current->name);
    CPanel* other = OtherPanel(panel);
    if (other->isOn && other->panelType == PANEL_FILES && other->archive == nullptr)
        name = AddTrailingBackslash(PanelShownDirectory(other)) + name;
    int key;
    {
        CMakeArchiveDlg dialog(name, &MakeArchiveIndex);
        key = dialog.Run();
    }
    name = name.Trim();
    if (key != 13 || name.IsEmpty())
        return 0;
    const int index = MakeArchiveIndex;
    if (panel->taggedCount > 1 && IsSingleFileArchiver(index)) {
        Message(FormatWithName("%s archives cannot contain multiple files", index));
        return -1;
    }
    struct {
        int index;
        const char* extension;
        const char* other1;
        const char* other2;
    } static const endings[] = {
        {6, ".gz", ".gz", ".tgz"},  {7, ".tar", ".tar", nullptr},       {9, ".bz2", ".bz2", ".tbz"},
        {10, ".xz", ".xz", ".txz"}, {11, ".tar.gz", ".tgz", ".tar.gz"},
    };
    for (const auto& ending : endings) {
        if (ending.index != index)
            continue;
        bool has = EndsWithNoCase(name, ending.other1) || (ending.other2 && EndsWithNoCase(name, ending.other2));
        if (!has)
            name += Westring(ending.extension);
    }
    // The files are named by their bare names: the panel's directory is where
    // the archiver runs.
    const Westring directory = GetPanelDirectory(panel);
    NormalizePath(name, directory.Data());
    if (ChangeDirectory(directory) != 0)
        return -1;
    RunArchiverCommand(ArchiverSettings[index].Compress, name, Westring(), panel, ArchiverSettings[index], 0);
    RereadBothPanels();
    return 0;
}

// ---------------------------------------------------------------------------
// Copy or move between a panel and an archive

void CopyToFromArchive(CPanel* panels, int side, int mode) {
    CPanel* source = &panels[side];
    CPanel* other = &panels[1 - side];
    entry* current = source->CursorEntry();
    if (source->entryCount == 0 || current == nullptr)
        return;
    const bool extracting = source->archive != nullptr;
    CArchive* archive = extracting ? source->archive : other->archive;
    if (archive == nullptr)
        return;
    const bool moving = mode == 1;
    const Westring currentName =
        source->viewStyle == VIEW_TREE ? GetTreeLinePath(source, source->CursorIndex()) : Westring(current->name);
    if (current->sortClass == SORTCLASS_PARENT && source->taggedCount == 0)
        return;

    Westring destination = PanelShownDirectory(other);
    if (extracting) {
        destination = other->archive != nullptr ? GetPanelDirectory(source) : destination;
        destination = AddTrailingBackslash(destination);
    }
    Westring prompt(extracting ? "Extract" : "Compress");
    if (moving)
        prompt += Westring(" and Move");
    if (source->taggedCount > 0) {
        Estring count;
        count.Format(" %d file%c to", source->taggedCount, source->taggedCount >= 2 ? 's' : ' ');
        prompt += Westring(count);
    } else {
        Westring shown = currentName;
        ShortenPathForDisplay(shown, 50);
        prompt += Westring(" \"") + shown + Westring("\" to");
    }
    {
        CArchiveCopyDlg dialog(prompt, destination);
        for (;;) {
            int key = dialog.Run();
            if (key == KEY_F10) {
                Westring chosen = destination;
                CPanel* treePanel = extracting && other->archive == nullptr ? other : source;
                if (DirectoryTreeDialog(treePanel, chosen, TreeChooserPicker) == 0 && !chosen.IsEmpty())
                    destination = chosen;
                dialog.DrawElement(dialog.field);
                continue;
            }
            if (key != 13)
                return;
            break;
        }
    }
    const Westring typed = destination.Trim();
    destination = typed;

    const TArchiverSettings& settings = ArchiverSettings[archive->archiverIndex];
    if (!extracting) {
        const Westring display = GetArchiveDisplayPath(archive);
        if (IsSingleFileArchiver(archive->archiverIndex)) {
            Message(FormatWithName("Cannot add to a %s file", archive->archiverIndex));
            return;
        }
        Westring head = RemoveTrailingBackslash(destination.Left(display.Length() + 1));
        if (!head.EqualsNoCase(display)) {
            // Not the archive: an ordinary copy or move into a directory.
            CopyOrMovePanelFiles(panels, side, mode, &destination);
            return;
        }
        if (RemoveTrailingBackslash(destination).Length() > display.Length()) {
            Message(Westring("Compressing into subdirectories not supported"));
            return;
        }
        if (moving) {
            const Westring directory = AddTrailingBackslash(GetPanelDirectory(source));
            Westring archiveFile = archive->filePath;
            for (const CArchive* outer = archive; outer != nullptr; outer = outer->parent)
                archiveFile = outer->filePath;
            bool itself = false;
            for (int i = 0; i < source->entryCount; i++) {
                entry* item = source->entries[i];
                bool given = source->taggedCount > 0 ? item->tagged != 0 : item == current;
                itself = itself || (given && (directory + Westring(item->name)).EqualsExact(archiveFile));
            }
            if (itself) {
                Message(Westring("Cannot move an archive into itself"));
                return;
            }
        }
    } else {
        Westring full = destination;
        if (NormalizePath(full) != 0) {
            Message(Westring("Invalid path"), destination);
            return;
        }
        DWORD attributes = 0;
        if (ReadFileAttributes(full, attributes) != 0 || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            bool slash = typed.Length() > 0 && typed[typed.Length() - 1] == '\\';
            Message(Westring(slash ? "Directory does not exist" : "Destination must be a valid directory"),
                    destination);
            return;
        }
        destination = IsRootPath(full) ? full : RemoveTrailingBackslash(full);
    }

    if (extracting) {
        // What the archiver would write where nothing can move it on or
        // remove it is not extracted at all.
        const Westring inside =
            archive->currentDirectory.IsEmpty() ? Westring() : archive->currentDirectory + Westring("\\");
        for (int i = 0; i < source->entryCount; i++) {
            entry* item = source->entries[i];
            bool given = source->taggedCount > 0 ? item->tagged != 0 : item == current;
            if (given && !ArchiveMembersWritable(archive, inside + Westring(item->name),
                                                 (item->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
                return;
        }
    }

    CUserAbortScope abortScope(UserAbortPolling);
    for (int i = 0; i < source->entryCount; i++)
        source->entries[i]->processed = 0;
    const Estring& command = extracting
                                 ? settings.Extract
                                 : (settings.CompressUpdate.IsEmpty() ? settings.Compress : settings.CompressUpdate);
    const Westring base =
        extracting && !archive->currentDirectory.IsEmpty() ? archive->currentDirectory + Westring("\\") : Westring();
    Westring temporary;
    if (extracting) {
        if (!MakeTemporaryFolder(temporary, &destination)) {
            Message(Westring("Unable to create temporary directory"), destination);
            return;
        }
        if (ChangeDirectory(temporary) != 0) {
            DWORD error = GetLastError();
            Message(Westring(IsUncPath(temporary) ? "Unable to map a drive to the UNC path"
                                                  : "Unable to create temporary directory"),
                    IsUncPath(temporary) ? FormatSystemError(error) : temporary);
            RemoveTemporaryFolder(temporary);
            return;
        }
    } else if (ChangeDirectory(GetPanelDirectory(source)) != 0) {
        return;
    }
    const bool wasTagged = source->taggedCount > 0;
    int result = RunArchiverCommand(command, archive->filePath, base, source, settings, extracting ? 1 : 0);
    bool allMoved = result == 0;
    if (extracting) {
        if (result == 0) {
            ResetFileOpAnswers();
            StdFile descriptions;
            int count = 0;
            for (int i = 0; i < source->entryCount; i++)
                count += source->entries[i]->processed ? 1 : 0;
            int index = 0;
            for (int i = 0; i < source->entryCount; i++) {
                entry* item = source->entries[i];
                if (wasTagged ? !item->processed : item != current)
                    continue;
                Westring name(item->name);
                Westring from = AddTrailingBackslash(temporary) + base + name;
                Westring to = AddTrailingBackslash(destination) + name;
                int r = MoveOneFile(from, to, ++index, wasTagged ? count : 1, nullptr, descriptions, true);
                if (r != 0) {
                    // What did not arrive stays in the archive.
                    allMoved = false;
                    item->processed = 0;
                }
                if (r < 0) {
                    // Stopped: what was not moved yet stays in the archive.
                    for (int j = i + 1; j < source->entryCount; j++)
                        source->entries[j]->processed = 0;
                    break;
                }
            }
        }
        ChangeDirectory(destination);
        RemoveTemporaryFolder(temporary);
    }
    if (!wasTagged && allMoved)
        current->processed = 1;
    if (moving && result == 0) {
        PanelApplyTagChanges(source);
        if (source->taggedCount > 0)
            DeleteMovedEntries(source);
    }
    if (!extracting)
        ReloadPanelArchive(other);
    RereadBothPanels();
}

// ---------------------------------------------------------------------------
// The folder tree of an archive

void AddArchiveFolderPath(TREENODE* node, const Westring& path) {
    Westring rest = path;
    while (!rest.IsEmpty()) {
        int cut = rest.Find('\\');
        Westring component = cut < 0 ? rest : rest.Left(cut);
        rest = cut < 0 ? Westring() : rest.Mid(cut + 1, 0);
        if (component.IsEmpty())
            continue;
        // The exact spelling first: folders that differ only in case are two.
        TREENODE* found = nullptr;
        for (TREENODE* child = node->firstChild; child != nullptr && found == nullptr; child = child->nextSibling) {
            if (child->name.EqualsExact(component))
                found = child;
        }
        if (found == nullptr) {
            found = new TREENODE();
            found->name = component;
            TREENODE::AddChild(node, found);
        }
        node = found;
    }
}

CTree* BuildArchiveFolderTree(const CArchive* archive) {
    CTree* tree = new CTree();
    tree->isPrivate = 1;
    tree->SetKey(0, 0xFFFFFFFF);
    TREENODE* root = new TREENODE();
    root->name = Westring(".");
    tree->root = root;
    for (int i = 0; i < archive->entries.Count(); i++)
        AddArchiveFolderPath(root, Westring(const_cast<CArchive*>(archive)->entries.At(i)->directory));
    root->name = GetArchiveDisplayPath(archive);
    root->expanded = 1;
    tree->SortAll();
    return tree;
}

void InstallArchiveTreeHooks() {
    ArchiveFolderTreeBuilder = [](CArchive* archive) {
        return BuildArchiveFolderTree(static_cast<const CArchive*>(archive));
    };
}
