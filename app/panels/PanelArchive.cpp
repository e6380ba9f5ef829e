#include "app/panels/PanelArchive.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/panels/Tree.h"
#include "app/settings/ArchiverSettings.h"
#include "base/os/PathDisplay.h"
#include "base/os/PathNormalizer.h"
#include "base/strings/ConsoleCodePage.h"
#include "base/strings/Str32.h"
#include "ui/ConsoleControl.h"
#include "ui/EscapePoll.h"
#include "ui/MessageBox.h"
#include "ui/Win.h"

const TArchiveHandler* ArchiveHandlers = nullptr;
int ArchiveHandlerCount = 0;

TArchiveErrorReporter ArchiveErrorReporter = ShowMessageBox;
TArchiveMemberHooks ArchiveMemberHooks = {nullptr, nullptr};

namespace {

const char32_t EmptyText[1] = {0};

int CompareForSort(const void* a, const void* b) {
    const TArchiveEntry* x = *static_cast<TArchiveEntry* const*>(a);
    const TArchiveEntry* y = *static_cast<TArchiveEntry* const*>(b);
    int result = CompareArchiveEntries(x, y);
    // Names that differ only in case are both kept; the exact order between
    // them makes the sort the same on every run.
    return result != 0 ? result : Str32Compare(x->name, y->name);
}

// Where the key {directory, name} stands in the sorted table: true and the
// index when a member matches, else false and the place it would go.
bool SearchArchiveEntries(CArchive* archive, const char32_t* directory, const char32_t* name, int& position) {
    TArchiveEntry key = {};
    key.directory = directory;
    key.name = name;
    int low = 0;
    int high = archive->entries.Count() - 1;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        const TArchiveEntry* there = archive->entries.At(middle);
        int order = CompareArchiveEntries(&key, there);
        if (order == 0) {
            if (name[0] != 0 || there->name[0] == 0) {
                position = middle;
                return true;
            }
            order = -1;  // the empty name orders before every name
        }
        if (order < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    position = low;
    return false;
}

// Hands the record of a listing to the caller: a new entry of its own size
// when records are allocated, else the archive's own record, whose name is
// cut to what it holds.
DWORD ProduceRecord(CArchive* archive, const entry& head, const char32_t* name, entry** out) {
    int length = Str32Length(name);
    entry* record;
    if (out && archive->allocateRecords) {
        record = entry::Allocate(length);
        if (!record)
            return ArchiveNotRecognised;
    } else {
        record = archive->OwnRecord();
        if (length > ArchiveFindRecordNameUnits - 1)
            length = ArchiveFindRecordNameUnits - 1;
    }
    std::memcpy(static_cast<void*>(record), &head, offsetof(entry, name));
    Mem32Copy(record->name, name, length);
    record->name[length] = 0;
    if (out)
        *out = record;
    return 0;
}

entry EmptyHead() {
    entry head;
    std::memset(static_cast<void*>(&head), 0, sizeof head);
    return head;
}

}  // namespace

CArchive::CArchive(const Westring& archiveFilePath, CArchive* parent)
    : findDotted(0), allocateRecords(1), archiverIndex(0), filePath(archiveFilePath), parent(parent), archiveSize(0),
      findPosition(0), status(-1), file(nullptr), progress(nullptr), memberCount(0), packedTotal(-1),
      unpackedTotal(-1) {
    std::memset(ownRecord, 0, sizeof ownRecord);
    std::memset(header, 0, sizeof header);
    NormalizePath(filePath);
    file = new CRandomFile();
    if (file->Open(filePath, StdFile::ModeRead, StdFile::ShareRead) != 0) {
        delete file;
        file = nullptr;
        return;
    }
    progress = new DirReadProgress(&memberCount, Westring("Reading directory:"));
    int savedAbort = UserAbortState.exchange(UserAbortPolling);
    for (int i = 0; i < ArchiveHandlerCount; i++) {
        file->SetPosition(0);
        DWORD result = ArchiveHandlers[i].read(*this);
        if (UserAbortState == UserAbortRequested)
            break;
        if (result == 0) {
            status = 0;
            archiverIndex = ArchiveHandlers[i].archiverIndex;
            break;
        }
        // A reader that gave up may have left members behind.
        entries.RemoveAll();
        memberCount = 0;
    }
    if (status == 0) {
        std::qsort(entries.Items(), entries.Count(), sizeof(TArchiveEntry*), CompareForSort);
        file->GetModifyTime(archiveTime);
        archiveSize = uint64_t(file->GetSize());
    } else {
        entries.RemoveAll();
    }
    delete progress;
    progress = nullptr;
    UserAbortState = savedAbort;
    delete file;
    file = nullptr;
}

CArchive::~CArchive() {
    if (!temporaryFolder.IsEmpty() && ArchiveMemberHooks.release)
        ArchiveMemberHooks.release(this);
    entries.RemoveAll();
    delete parent;
}

int CompareArchiveEntries(const TArchiveEntry* a, const TArchiveEntry* b) {
    const char32_t* p = a->directory;
    const char32_t* q = b->directory;
    while (*p != 0 && *p == *q) {
        p++;
        q++;
    }
    if (*p != *q) {
        // A backslash sorts right after the end of a path, so that a
        // directory's subtree follows its own members as one run.
        char32_t x = *p == '\\' ? 1 : *p;
        char32_t y = *q == '\\' ? 1 : *q;
        return x < y ? -1 : 1;
    }
    return Str32CompareNoCase(a->name, b->name);
}

DWORD ArchiveFindFirst(CArchive* archive, const Westring& directory, entry** out) {
    if (out)
        *out = nullptr;
    archive->currentDirectory = directory;
    int position = 0;
    SearchArchiveEntries(archive, directory.Data(), EmptyText, position);
    const TArchiveEntry* there = position < archive->entries.Count() ? archive->entries.At(position) : nullptr;
    archive->findDotted = there ? there->dotted : 0;
    archive->findPosition = position - 1;
    archive->lastSubdirectory.Clear();
    if (archive->status != 0)
        return ArchiveNotRecognised;
    if (!directory.IsEmpty() && !(there && IsSameOrSubPath(directory, Westring(there->directory))))
        return ArchiveNotRecognised;
    entry head = EmptyHead();
    head.attributes = FILE_ATTRIBUTE_DIRECTORY;
    head.time = archive->archiveTime;
    return ProduceRecord(archive, head, U"..", out);
}

DWORD ArchiveFindNext(CArchive* archive, entry** out) {
    if (out)
        *out = nullptr;
    const Westring& current = archive->currentDirectory;
    for (;;) {
        archive->findPosition++;
        if (archive->findPosition >= archive->entries.Count() || archive->status != 0)
            return ArchiveNotRecognised;
        const TArchiveEntry* item = archive->entries.At(archive->findPosition);
        entry head = EmptyHead();
        head.matchOffset = -1;
        if (Str32CompareNoCase(item->directory, current.Data()) == 0 && item->name[0] != 0) {
            archive->findDotted = item->dotted;
            head.size = item->unpackedSize;
            head.attributes = item->attributes;
            head.time = item->time;
            return ProduceRecord(archive, head, item->name, out);
        }
        const char32_t* rest = item->directory;
        if (!current.IsEmpty()) {
            // Compared in place: this runs once per member of the subtree.
            const int n = current.Length();
            if (Str32CompareNoCaseN(current.Data(), item->directory, n) != 0 ||
                (item->directory[n] != 0 && item->directory[n] != '\\'))
                return ArchiveNotRecognised;  // the run of the subtree is over
            rest += n;
            if (*rest == '\\')
                rest++;
        }
        const char32_t* cut = Str32FindChar(rest, '\\');
        int n = cut ? int(cut - rest) : Str32Length(rest);
        if (n == 0)
            continue;  // the directory's own member
        Westring component;
        component.Assign(rest, n);
        if (component.EqualsExact(archive->lastSubdirectory))
            continue;
        archive->findDotted = item->dotted;
        archive->lastSubdirectory = component;
        head.attributes = FILE_ATTRIBUTE_DIRECTORY;
        head.time = item->time;
        return ProduceRecord(archive, head, component.Data(), out);
    }
}

TArchiveEntry* ArchiveFindEntry(CArchive* archive, const Westring& directory, const Westring& name) {
    int position = 0;
    if (!SearchArchiveEntries(archive, directory.Data(), name.Data(), position))
        return nullptr;
    if (name.IsEmpty())
        return archive->entries.At(position);
    // The search matched without regard to case: look for the exact spelling
    // among the neighbours that match the same way.
    int first = position;
    while (first > 0 && CompareArchiveEntries(archive->entries.At(first - 1), archive->entries.At(position)) == 0)
        first--;
    for (int i = first; i < archive->entries.Count(); i++) {
        TArchiveEntry* item = archive->entries.At(i);
        if (CompareArchiveEntries(item, archive->entries.At(position)) != 0)
            break;
        if (Str32Compare(item->name, name.Data()) == 0)
            return item;
    }
    return archive->entries.At(position);
}

TArchiveEntry* ArchiveFindEntry(CArchive* archive, const Westring& path) {
    int slash = path.FindLast('\\');
    if (slash < 0)
        return ArchiveFindEntry(archive, Westring(), path);
    return ArchiveFindEntry(archive, path.Left(slash), path.Mid(slash + 1, path.Length()));
}

int64_t ScanArchiveSubtree(CArchive* archive, const Westring& relativePath, Win* window, CTree* tree,
                           TArchiveScanCounters& counters) {
    if (UserAbortState == UserAbortRequested || PollEscapeKey())
        return -1;
    const Westring saved = archive->currentDirectory;
    Westring scanned = saved;
    if (!relativePath.IsEmpty())
        scanned = scanned.IsEmpty() ? relativePath : scanned + U"\\" + relativePath;
    if (window) {
        Westring shown = scanned;
        ShortenPathForDisplay(shown, 50);
        window->WriteWideDefault(1, 4, shown.Pad(50));
    }
    int64_t total = 0;
    std::vector<Westring> names;
    archive->allocateRecords = 0;
    entry* record = nullptr;
    for (DWORD result = ArchiveFindFirst(archive, scanned, &record); result == 0;
         result = ArchiveFindNext(archive, &record)) {
        if (record->attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (Str32Compare(record->name, U"..") != 0)
                names.push_back(Westring(record->name));
        } else {
            counters.files++;
            counters.bytes += int64_t(record->size);
            total += int64_t(record->size);
        }
    }
    archive->allocateRecords = 1;
    archive->currentDirectory = saved;
    for (const Westring& name : names) {
        Westring below = relativePath.IsEmpty() ? name : relativePath + U"\\" + name;
        int64_t sub = ScanArchiveSubtree(archive, below, window, tree, counters);
        if (sub < 0)
            return -1;
        total += sub;
        counters.directories++;
    }
    // A folder tree of the archive keeps the size for the tree view.
    if (tree) {
        Westring path = GetArchiveDisplayPath(archive);
        if (!scanned.IsEmpty())
            path = path + U"\\" + scanned;
        if (TREENODE* node = tree->FindNode(path, false))
            node->size = total;
    }
    return total;
}

void GetArchiveTotals(CArchive* archive, int64_t& unpacked, int64_t& packed) {
    if (archive->packedTotal < 0 || archive->unpackedTotal < 0) {
        int64_t u = 0;
        int64_t p = 0;
        for (int i = 0; i < archive->entries.Count(); i++) {
            const TArchiveEntry* item = archive->entries.At(i);
            if (item->attributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            u += int64_t(item->unpackedSize);
            p += int64_t(item->packedSize);
        }
        if (archive->archiverIndex >= 11 && archive->archiverIndex <= 13)
            p = int64_t(archive->archiveSize);
        archive->unpackedTotal = u;
        archive->packedTotal = p;
    }
    unpacked = archive->unpackedTotal;
    packed = archive->packedTotal;
}

Estring GetArchiveTypeName(const CArchive* archive) {
    return GetArchiverName(archive->archiverIndex);
}

Westring GetArchiveDisplayPath(const CArchive* archive) {
    if (!archive->parent)
        return archive->filePath;
    Westring path = GetArchiveDisplayPath(archive->parent) + U"\\";
    if (!archive->parent->currentDirectory.IsEmpty())
        path += archive->parent->currentDirectory + U"\\";
    return path + ExtractFileName(archive->filePath);
}

TArchiveEntry* NewArchiveEntry(CArchive* archive) {
    TArchiveEntry* item = static_cast<TArchiveEntry*>(archive->pool.Allocate(sizeof(TArchiveEntry)));
    if (!item)
        return nullptr;
    std::memset(static_cast<void*>(item), 0, sizeof *item);
    item->directory = EmptyText;
    item->name = EmptyText;
    return item;
}

const char32_t* StoreArchiveWideName(CArchive* archive, const char32_t* text) {
    int length = Str32Length(text);
    char32_t* copy = static_cast<char32_t*>(archive->pool.Allocate(int(sizeof(char32_t)) * (length + 1)));
    if (!copy)
        return EmptyText;
    Mem32Copy(copy, text, length);
    copy[length] = 0;
    return copy;
}

const char32_t* StoreArchiveName(CArchive* archive, const char* text) {
    Westring wide;
    wide.AssignCodePage(text, ConsoleOutputCodePage);
    return StoreArchiveWideName(archive, wide.Data());
}

void NormalizeArchiveEntryPath(CArchive* archive, TArchiveEntry* item) {
    const char32_t* path = item->directory;
    if (path[0] == '.' && path[1] == '\\') {
        item->directory = StoreArchiveWideName(archive, path + 2);
        item->dotted = 1;
    } else if (path[0] == '.' && path[1] == 0) {
        item->directory = EmptyText;
        item->dotted = 1;
    } else {
        item->dotted = 0;
    }
}

unsigned ReportArchiveError(CArchive* archive, const Westring& message, const Westring& path, uint32_t flags) {
    // The indicator's thread draws; it must be gone before the box is.
    delete archive->progress;
    archive->progress = nullptr;
    return ArchiveErrorReporter(message, path, flags);
}

CArchive* OpenArchive(const Westring& archiveFilePath, CArchive* parent) {
    return new CArchive(archiveFilePath, parent);
}
