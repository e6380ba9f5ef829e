#include "app/panels/Panel.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/settings/Config.h"
#include "ui/ConsoleControl.h"
#include "app/panels/DirectorySource.h"
#include "app/panels/InfoPage.h"
#include "app/panels/EntryStore.h"
#include "ui/MessageBox.h"
#include "app/panels/NetworkBrowsing.h"
#include "app/panels/PanelDraw.h"
#include "app/panels/PanelNavigation.h"
#include "app/panels/PanelSort.h"
#include "app/panels/PanelArchive.h"
#include "base/mask/MaskExpression.h"
#include "base/os/SystemError.h"
#include "base/strings/CaseTable.h"
#include "base/strings/Str32.h"
#include "base/strings/StringStore.h"
#include "base/strings/Utf16String.h"
#include "console/Console.h"
#include "console/ScreenSize.h"
#include "base/os/PathNormalizer.h"
#include "app/panels/PanelDirectoryChange.h"
#include "ui/ProgressIndicatorThread.h"
#include "ui/Win.h"
#include "app/panels/PanelTree.h"
#include "app/panels/TreeSet.h"
#include "app/panels/ArchiveTreeHooks.h"

CPanel* Panels = nullptr;
int ActiveSide = 0;

namespace {

const uint16_t HiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The reads of the program's start-up: the panel read last leaves its listing
// (the order it was read in) for the other panel, and Ctrl-C stops every read
// of the start-up, not only the one it came in.
struct TStartupReads {
    bool active = false;
    bool aborted = false;
    const CPanel* donor = nullptr;
    std::vector<entry*> readOrder;  // the donor's entries, owned by the donor
} StartupReads;

// The window that counts the entries of a long read. It goes (and gives the
// screen back) before any message is shown; without a console there is none.
class CReadProgress {
public:
    CReadProgress() : indicator(Console ? new DirReadProgress(&count) : nullptr) {}
    ~CReadProgress() { Stop(); }
    void Stop() {
        delete indicator;
        indicator = nullptr;
    }
    void SetCount(int n) { count = uint32_t(n); }

private:
    TProgressCount count{0};
    DirReadProgress* indicator;
};

bool IsDotName(const char32_t* name) {
    return name[0] == '.' && name[1] == 0;
}

bool IsParentName(const char32_t* name) {
    return name[0] == '.' && name[1] == '.' && name[2] == 0;
}

char SortClassOf(const entry* item) {
    if (IsParentName(item->name))
        return SORTCLASS_PARENT;
    if (item->attributes & FILE_ATTRIBUTE_DIRECTORY)
        return SORTCLASS_DIRECTORY;
    if (item->attributes & FILE_ATTRIBUTE_HIDDEN)
        return SORTCLASS_HIDDEN;
    return SORTCLASS_FILE;
}

// Leaves the archive levels that no longer hold the panel's path or whose
// archive file has gone, innermost first.
void LeaveStaleArchives(CPanel* panel) {
    while (panel->archive) {
        Westring display = GetArchiveDisplayPath(panel->archive);
        bool inside = Str32CompareNoCaseN(panel->path, display.Data(), display.Length()) == 0;
        if (inside && GetFileAttributesW(Utf16String(panel->archive->filePath).Data()) != INVALID_FILE_ATTRIBUTES)
            return;
        CArchive* outer = panel->archive->parent;
        panel->archive->parent = nullptr;
        delete panel->archive;
        panel->archive = outer;
    }
}

// Label, serial number and file-system name of the panel's drive; 0 or the
// error that made the drive unreadable.
DWORD CheckPanelVolume(CPanel* panel) {
    panel->fileSystemName[0] = 0;
    panel->volumeLabel[0] = 0;
    uint32_t oldSerial = panel->volumeSerial;
    panel->volumeSerial = 0;
    const char32_t* path = panel->path;
    if (panel->archive || path[0] == 0 || path[1] != ':')
        return 0;
    if (panel->driveError)
        return DWORD(panel->driveError);
    bool letterOrDigit =
        (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z') || (path[0] >= '0' && path[0] <= '9');
    if (!letterOrDigit)
        return 0;
    WCHAR root[4] = {WCHAR(path[0]), ':', '\\', 0};
    WCHAR label[CPanel::VolumeLabelUnits];
    WCHAR fileSystem[CPanel::FileSystemNameUnits];
    DWORD serial = 0;
    DWORD error = 0;
    if (GetVolumeInformationW(root, label, CPanel::VolumeLabelUnits, &serial, nullptr, nullptr, fileSystem,
                              CPanel::FileSystemNameUnits)) {
        CopyPanelText(panel->volumeLabel, Westring(label));
        CopyPanelText(panel->fileSystemName, Westring(fileSystem));
        panel->volumeSerial = serial;
    } else {
        error = GetLastError();
        if (error == 0)
            error = ERROR_NOT_READY;
        if (error == ERROR_NOT_READY)
            panel->driveError = ERROR_NOT_READY;
    }
    char rootA[4] = {char(path[0]), ':', '\\', 0};
    if (GetDriveTypeA(rootA) == DRIVE_REMOTE)
        panel->volumeSerial = 0;
    // Another disk in the drive: the old cursor means nothing there.
    if (panel->volumeSerial != oldSerial) {
        panel->cursorRow = 0;
        panel->topIndex = 0;
    }
    return error;
}

// The tagged and processed entries of a re-read, parked until the new entries
// are in; every other old entry is freed.
void ParkOldEntries(CPanel* panel, bool reread, EntryStore& kept) {
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (reread && (item->tagged || item->processed))
            kept.Add(item);
        else
            entry::Free(item);
    }
    panel->entriesGeneration++;
    panel->entryCount = 0;
    panel->taggedCount = 0;
    panel->taggedBytes = 0;
    panel->subdirectoryNames.FreeAll();
    panel->linkTargets.FreeAll();
}

// Gives the parked entries' tags to the new entries of the same name.
void RestoreTags(CPanel* panel, EntryStore& kept) {
    if (kept.Count() == 0 || panel->entryCount == 0)
        return;
    entry** byName = new entry*[size_t(panel->entryCount)];
    for (int i = 0; i < panel->entryCount; i++)
        byName[i] = panel->entries[i];
    qsort(byName, size_t(panel->entryCount), sizeof(entry*), [](const void* a, const void* b) {
        return CompareEntryNames(*static_cast<entry* const*>(a), *static_cast<entry* const*>(b));
    });
    for (int k = 0; k < kept.Count(); k++) {
        const entry* old = kept.At(k);
        int low = 0, high = panel->entryCount - 1;
        while (low <= high) {
            int middle = (low + high) / 2;
            int order = CompareEntryNames(old, byName[middle]);
            if (order == 0) {
                entry* found = byName[middle];
                found->tagged = old->tagged;
                found->processed = old->processed;
                if (found->tagged) {
                    panel->taggedCount++;
                    panel->taggedBytes += int64_t(found->size);
                }
                break;
            }
            if (order < 0)
                high = middle - 1;
            else
                low = middle + 1;
        }
    }
    delete[] byName;
}

// What a failed listing means; true when the read goes on as an empty
// directory, false when it ends here.
bool HandleReadError(CPanel* panel, DWORD error, bool fromRememberedDriveError, CReadProgress& progress) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES)
        return true;
    if (fromRememberedDriveError)
        return false;
    if (error == ERROR_NOT_READY) {
        panel->driveError = ERROR_NOT_READY;
        return false;
    }
    Westring path(panel->path);
    progress.Stop();
    bool missing = error == ERROR_PATH_NOT_FOUND || error == ERROR_FILENAME_EXCED_RANGE || error == ERROR_ACCESS_DENIED;
    if (missing && !IsRootPath(path)) {
        ShowMessageBox(FormatSystemError(error), path, 0);
        PanelGoToParent(panel);
        return false;
    }
    ShowMessageBox(FormatSystemError(error), path, 0);
    panel->driveError = int32_t(error);
    return false;
}

// The per-entry rules of a directory listing: which entries the panel keeps,
// and what it learns from the ones it drops.
struct TListingRules {
    CPanel* panel;
    bool root;
    bool showHidden;
    bool foldCase;
    bool filtering;
    Westring directory;
    MaskExpression mask;
    bool sawParent;
    uint64_t directoryTotal;

    explicit TListingRules(CPanel* panel) : panel(panel), sawParent(false), directoryTotal(0) {
        Westring path(panel->path);
        root = IsRootPath(path);
        showHidden = Config.Hidden != 0;
        directory = path;
        // Names on file systems that keep no case of their own are shown the
        // old way: directories in upper case, files in lower case.
        Config.CaseFilter = Config.CaseFilter.ToUpper();
        Westring fileSystem(panel->fileSystemName);
        foldCase = !panel->archive && !fileSystem.IsEmpty() && Config.CaseFilter.FindNoCase(fileSystem) >= 0;
        filtering = !panel->filter.IsEmpty() && !(panel->filter.Length() == 1 && panel->filter[0] == '*');
    }

    // True when the entry is kept (it is then ready for the array).
    bool Keep(entry* item) {
        if (IsDotName(item->name))
            return false;
        bool directoryEntry = (item->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (IsParentName(item->name)) {
            if (root)
                return false;
            sawParent = true;
            item->sortClass = SORTCLASS_PARENT;
            return true;
        }
        if (directoryEntry)
            panel->subdirectoryNames.InsertCopy(Westring(item->name));
        else if (!(item->attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            directoryTotal += item->size;
        if (!showHidden && (item->attributes & HiddenOrSystem))
            return false;
        // A mask with an error hides nothing.
        if (!directoryEntry && filtering && mask.Match(panel->filter, directory, item) == 0)
            return false;
        item->sortClass = SortClassOf(item);
        if (foldCase) {
            if (directoryEntry)
                Str32UpperInPlace(item->name);
            else
                Str32LowerInPlace(item->name);
        }
        return true;
    }
};

// Reads the directory entries into the panel until the listing ends or the
// user breaks off. A complete source's entries are taken as they come.
void ReadListing(CPanel* panel, IDirectorySource* source, entry* first, TListingRules& rules, CReadProgress& progress) {
    CUserAbortScope polling(UserAbortPolling);
    bool complete = source && source->Complete();
    entry* item = first;
    while (item) {
        bool keep = complete || rules.Keep(item);
        if (complete && (item->attributes & FILE_ATTRIBUTE_DIRECTORY) && !IsParentName(item->name))
            panel->subdirectoryNames.InsertCopy(Westring(item->name));
        if (keep) {
            if (!AppendEntry(panel, item))
                break;
            progress.SetCount(panel->entryCount);
        } else {
            entry::Free(item);
        }
        if (UserAbortState == UserAbortRequested) {
            StartupReads.aborted = StartupReads.active;
            break;
        }
        item = nullptr;
        if (!source || source->Next(&item))
            item = nullptr;
    }
}

// Takes the listing the other panel has just read of the same directory in
// this start-up (its entries copied); false when there is none to take. With
// the same sort mode the copy is taken in the donor's sorted order, which is
// the order a sort of the copy would give (ties fall to the read order in
// both), and `sorted` says so; else in the order they were read.
bool TakeStartupListing(CPanel* panel, TListingRules& rules, bool& sorted) {
    if (!StartupReads.active || StartupReads.donor == nullptr || StartupReads.donor == panel)
        return false;
    const CPanel* donor = StartupReads.donor;
    bool same = Str32Compare(donor->path, panel->path) == 0 && donor->filter == panel->filter && !donor->archive &&
                !panel->archive && !donor->driveError && !panel->driveError &&
                Str32Compare(donor->fileSystemName, panel->fileSystemName) == 0 &&
                StartupReads.readOrder.size() == size_t(donor->entryCount);
    if (!same)
        return false;
    sorted = donor->sortMode == panel->sortMode;
    entry* const* from = sorted ? donor->entries : StartupReads.readOrder.data();
    for (entry* const* at = from; at != from + donor->entryCount; ++at) {
        const entry* original = *at;
        size_t bytes = entry::EntryBytes(Str32Length(original->name));
        entry* copy = static_cast<entry*>(malloc(bytes));
        if (!copy)
            break;
        memcpy(copy, original, bytes);
        copy->tagged = 0;
        copy->processed = 0;
        if (!AppendEntry(panel, copy))
            break;
    }
    for (int i = 0; i < donor->subdirectoryNames.Count(); i++)
        panel->subdirectoryNames.InsertCopy(*donor->subdirectoryNames.At(i));
    rules.sawParent = true;  // the donor's ".." (or its absence at a root) came along
    return true;
}

// After a read: the tree's children of the directory follow what was read
// (a tree view of that tree shows the change), and a directory whose size the
// tree knows gets the new total of its files and subdirectories.
void KeepTreeInLine(CPanel* panel, uint64_t directoryTotal) {
    if (SyncTreeWithPanel(panel))
        RefillTreeViews(panel->tree);
    if (!panel->tree)
        return;
    TREENODE* node = panel->tree->FindNode(Westring(panel->path), true);
    if (!node || node->size < 0)
        return;
    int64_t total = int64_t(directoryTotal);
    for (TREENODE* child = node->firstChild; child; child = child->nextSibling)
        if (child->size > 0)
            total += child->size;
    node->size = total;
}

// With "RetainCount" on, a directory whose size the attached tree knows
// (from the directory sizes, Ctrl-Q) shows that size instead of SUBDIR. The
// children of the directory's node are sorted once and every directory entry
// is looked up among them: a name that matches exactly first, else one that
// differs only in case.
void TakeDirectorySizesFromTree(CPanel* panel) {
    if (!Config.RetainCount || !panel->tree)
        return;
    const TREENODE* node = panel->tree->FindNode(Westring(panel->path), true);
    if (!node)
        return;
    std::vector<const TREENODE*> known;
    for (const TREENODE* child = node->firstChild; child; child = child->nextSibling)
        if (child->size >= 0)
            known.push_back(child);
    if (known.empty())
        return;
    auto noCaseLess = [](const TREENODE* a, const TREENODE* b) {
        return Str32CompareNoCase(a->name.Data(), b->name.Data()) < 0;
    };
    std::sort(known.begin(), known.end(), noCaseLess);
    for (int i = 0; i < panel->entryCount; i++) {
        entry* item = panel->entries[i];
        if (!(item->attributes & FILE_ATTRIBUTE_DIRECTORY) || IsParentName(item->name))
            continue;
        auto first = std::lower_bound(known.begin(), known.end(), item->name, [](const TREENODE* a, const char32_t* name) {
            return Str32CompareNoCase(a->name.Data(), name) < 0;
        });
        const TREENODE* found = nullptr;
        for (auto at = first; at != known.end() && Str32CompareNoCase((*at)->name.Data(), item->name) == 0; ++at) {
            if (!found || Str32Compare((*at)->name.Data(), item->name) == 0)
                found = *at;
        }
        if (found) {
            item->size = uint64_t(found->size);
            item->sizeFromTree = 1;
        }
    }
}

// Puts the cursor back on the entry it stood on before a re-read.
void RestoreCursor(CPanel* panel, const Westring& cursorName, bool haveName) {
    if (!haveName) {
        panel->cursorRow = 0;
        panel->topIndex = 0;
        return;
    }
    if (panel->topIndex >= panel->entryCount)
        panel->topIndex = 0;
    if (panel->entryCount == 0)
        panel->cursorRow = 0;
    else if (panel->topIndex + panel->cursorRow >= panel->entryCount)
        panel->cursorRow = panel->entryCount - panel->topIndex - 1;
    SetPanelCursorToName(panel, cursorName);
}

}  // namespace

bool AppendEntry(CPanel* panel, entry* item) {
    if (panel->entryCount >= panel->entryCapacity)
        GrowEntryArray(panel);
    if (panel->entryCount >= panel->entryCapacity) {
        entry::Free(item);
        return false;
    }
    panel->entries[panel->entryCount++] = item;
    return true;
}

entry* MakeEntry(const char32_t* name, uint16_t attributes, uint64_t size) {
    int length = Str32Length(name);
    entry* item = entry::Allocate(length);
    if (!item)
        return nullptr;
    item->size = size;
    item->attributes = attributes;
    item->matchOffset = -1;
    Mem32Copy(item->name, name, length + 1);
    return item;
}

CPanel::CPanel()
    : cursorRow(0), topIndex(0), shownTopIndex(0), shownCursorRow(0), previousTopIndex(0), previousCursorRow(0),
      isOn(0), needsReread(0), readDone(0), startHidden(0), window(nullptr), entries(new entry*[InitialEntryCapacity]),
      entryCapacity(InitialEntryCapacity), entriesGeneration(0), entryCount(0), taggedCount(0), taggedBytes(0),
      sortMode(SORT_NAME), panelType(PANEL_FILES), viewStyle(VIEW_FULL), widthKind(WIDTH_HALF), linesInView(0),
      volumeSerial(0), driveError(0), tree(nullptr), treeRescan(0), archive(nullptr), nameScrollOffset(0),
      dirInfoRow(0) {
    path[0] = shownPath[0] = previousPath[0] = searchText[0] = 0;
    fileSystemName[0] = volumeLabel[0] = 0;
    InitPanelTree(&tree);
    // Names that differ only in case are two directories here.
    subdirectoryNames.allowDuplicates = true;
}

CPanel::~CPanel() {
    FreeEntries();
    delete[] entries;
    delete window;
    SetPanelTree(&tree, nullptr);
    delete archive;
}

entry* CPanel::CursorEntry() const {
    int index = CursorIndex();
    return index >= 0 && index < entryCount ? entries[index] : nullptr;
}

void CPanel::FreeEntries() {
    for (int i = 0; i < entryCount; i++)
        entry::Free(entries[i]);
    entriesGeneration++;
    entryCount = 0;
    taggedCount = 0;
    taggedBytes = 0;
}

bool CopyPanelText(char32_t* buffer, int units, const Westring& text) {
    if (text.Length() >= units)
        return false;
    Mem32Copy(buffer, text.Data(), text.Length() + 1);
    return true;
}

bool SetPanelPath(CPanel* panel, const Westring& path) {
    if (CopyPanelText(panel->path, path))
        return true;
    ShowMessageBox(FormatSystemError(ERROR_FILENAME_EXCED_RANGE), path, 0);
    return false;
}

void GrowEntryArray(CPanel* panel) {
    int capacity = panel->entryCapacity * 2;
    entry** grown = new entry*[size_t(capacity)];
    for (int i = 0; i < panel->entryCount; i++)
        grown[i] = panel->entries[i];
    delete[] panel->entries;
    panel->entries = grown;
    panel->entryCapacity = capacity;
}

namespace {

void ReadPanelEntries(CPanel* panel);

}  // namespace

void ReadPanelDirectory(CPanel* panel) {
    if (!panel->isOn || panel->panelType == PANEL_INFO) {
        panel->needsReread = 1;
        return;
    }
    ReadPanelEntries(panel);
    // The other panel's information page describes this one. A panel read on
    // its own (not one of the pair) has no other panel.
    if (Panels != nullptr && (panel == &Panels[0] || panel == &Panels[1]) && OtherPanel(panel)->panelType == PANEL_INFO)
        FillInfoPanel(1 - PanelSide(panel));
}

namespace {

void ReadPanelEntries(CPanel* panel) {
    panel->needsReread = 0;
    panel->readDone = 1;
    LeaveStaleArchives(panel);
    bool rememberedDriveError = panel->driveError != 0;
    DWORD volumeError = CheckPanelVolume(panel);
    if (panel->panelType == PANEL_FILES && panel->viewStyle == VIEW_TREE) {
        ShowPanelTree(panel);  // the tree view's lines come from the tree
        return;
    }

    Westring path(panel->path);
    bool reread = path.EqualsNoCase(Westring(panel->shownPath));
    Westring cursorName;
    bool haveCursorName = false;
    if (reread && panel->entryCount > 0) {
        if (entry* current = panel->CursorEntry()) {
            cursorName = Westring(current->name);
            haveCursorName = true;
        }
    }
    EntryStore kept;
    ParkOldEntries(panel, reread, kept);

    CReadProgress progress;
    TListingRules rules(panel);
    IDirectorySource* source = nullptr;
    entry* first = nullptr;
    bool taken = false;
    bool takenSorted = false;
    if (volumeError) {
        if (!HandleReadError(panel, volumeError, rememberedDriveError, progress))
            return;
    } else if (StartupReads.aborted) {
        // Ctrl-C in an earlier read of the start-up stopped this one too.
    } else if (TakeStartupListing(panel, rules, takenSorted)) {
        taken = true;
    } else {
        DWORD error = 0;
        source = OpenDirectorySource(panel, error);
        if (source) {
            error = source->First(&first);
            if (error)
                first = nullptr;
        }
        if (error && !HandleReadError(panel, error, false, progress)) {
            delete source;
            return;
        }
    }
    bool complete = source && source->Complete();
    if (!complete)
        RefreshPanelTree(panel);
    if (panel->driveError) {
        entry::Free(first);
        first = nullptr;
    }
    if (!taken)
        ReadListing(panel, source, first, rules, progress);
    delete source;

    if (!complete && !rules.sawParent && !rules.root) {
        if (entry* parent = MakeEntry(U"..", FILE_ATTRIBUTE_DIRECTORY, 0)) {
            parent->sortClass = SORTCLASS_PARENT;
            if (panel->entryCount >= panel->entryCapacity)
                GrowEntryArray(panel);
            for (int i = panel->entryCount; i > 0; i--)
                panel->entries[i] = panel->entries[i - 1];
            panel->entries[0] = parent;
            panel->entryCount++;
        }
    }
    TakeDirectorySizesFromTree(panel);
    if (StartupReads.active && !taken) {
        StartupReads.donor = panel;
        StartupReads.readOrder.assign(panel->entries, panel->entries + panel->entryCount);
    }
    if (!takenSorted)
        SortPanel(panel);
    if (complete)
        progress.Stop();
    RestoreTags(panel, kept);
    progress.Stop();
    if (!panel->archive)
        KeepTreeInLine(panel, rules.directoryTotal);
    RestoreCursor(panel, cursorName, haveCursorName);
}

}  // namespace

void BeginStartupReads(const CPanel* first, const CPanel* second) {
    StartupReads.active = true;
    StartupReads.aborted = false;
    StartupReads.donor = nullptr;
    // Only a plain drive directory: a share may take long to answer or ask for
    // credentials, and an archive is opened by the panel itself.
    if (first && second) {
        const char32_t* path = second->path;
        bool drivePath = path[0] && path[1] == ':' && path[2] == '\\';
        if (drivePath && Str32Compare(first->path, path) != 0)
            PrefetchDiskDirectory(Westring(path));
    }
}

void EndStartupReads() {
    StartupReads.active = false;
    StartupReads.aborted = false;
    StartupReads.donor = nullptr;
    std::vector<entry*>().swap(StartupReads.readOrder);
    DropDiskPrefetch();
}

void RereadBothPanels() {
    CPanel* left = &Panels[0];
    CPanel* right = &Panels[1];
    if (left->isOn && left->panelType == PANEL_INFO) {
        if (right->panelType != PANEL_INFO)
            ReadPanelDirectory(right);
        return;
    }
    ReadPanelDirectory(left);
    ReadPanelDirectory(right);
}

void RefreshPanelTree(CPanel* panel) {
    CTree* wanted = nullptr;
    if (panel->archive) {
        wanted = panel->tree;
        Westring display = GetArchiveDisplayPath(panel->archive);
        if (!wanted || !wanted->root || !wanted->root->name.EqualsNoCase(display))
            wanted = BuildArchiveFolderTree(panel->archive);
    } else if (panel->path[0] != 0) {
        CTree* held = panel->tree;
        bool fits = held && !held->isPrivate && held->VolumeSerial() == panel->volumeSerial &&
                    held->DriveLetter() == char(panel->path[0]);
        // A tree whose rescan was stopped has no root until it is loaded again.
        if (fits && !held->root)
            held->Load();
        wanted = fits ? held : TreeSet.GetPanelTree(panel);
    }
    if (wanted == panel->tree)
        return;
    SetPanelTree(&panel->tree, wanted);
    if (CPanel* other = OppositeTreeView(panel)) {
        ShowPanelTree(other);
        if (IsPanelVisible(other))
            RedrawPanel(other);
    }
}

Westring GetPanelDirectory(const CPanel* panel) {
    Westring directory(panel->path);
    if (panel->archive) {
        const CArchive* outer = panel->archive;
        while (outer->parent)
            outer = outer->parent;
        directory = ExtractDirectory(outer->filePath);
    }
    if (directory.Length() == 2 && directory[1] == ':')
        directory += '\\';
    return directory;
}

bool SavePanelTree(CPanel* panel) {
    if (!panel->tree)
        return true;
    return panel->tree->Save() != 0;
}

int GetPanelWidth(const CPanel* panel) {
    return panel->widthKind == WIDTH_FULL ? ScreenColumns : ScreenColumns / 2;
}

bool IsPanelVisible(const CPanel* panel) {
    return panel->isOn && panel->window && !panel->window->IsHidden();
}

int PanelSide(const CPanel* panel) {
    return panel == &Panels[1] ? 1 : 0;
}
