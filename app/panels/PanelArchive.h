// CArchive: an archive file opened so that a panel can browse inside it as if
// it were a directory tree. Every member is a TArchiveEntry in one table
// sorted by directory path and name; directories inside the archive need no
// members of their own, they are derived from the members' directory paths.
// A panel owns the innermost open archive and, through the parent links, the
// archives that contain it.
//
// The panels stand below the archive readers: the constructor tries the
// readers of the table the archive layer installs at start-up
// (ArchiveHandlers); with none installed no file is an archive.
#pragma once

#include <cstdint>

#include "app/panels/ArchiveEntry.h"
#include "base/containers/MemoryPool.h"
#include "base/io/Entry.h"
#include "base/io/RandomFile.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"
#include "ui/ProgressIndicatorThread.h"

class CArchive;
class CTree;
class Win;

// What a reader answers: 0 when it recognised the file and filled the table,
// ArchiveNotRecognised otherwise.
const DWORD ArchiveNotRecognised = 0xFFFFFFFF;

// One row of the readers' table: the reader and the archiver it stands for.
struct TArchiveHandler {
    DWORD (*read)(CArchive& archive);
    int archiverIndex;
};

// The readers in the order they are tried; installed by the archive layer.
extern const TArchiveHandler* ArchiveHandlers;
extern int ArchiveHandlerCount;

// The archive's own find record holds a name of at most this many units,
// terminator included.
const int ArchiveFindRecordNameUnits = 260;

class CArchive {
public:
    // Opens the file and tries every reader; `status` tells whether one took
    // it. `parent` is the archive the file was taken from, or null; it is
    // owned by the new object from then on.
    CArchive(const Westring& archiveFilePath, CArchive* parent);
    // Puts a changed extracted member back and removes the temporary folder
    // (ArchiveMemberHooks), then frees the parent: whoever keeps the outer
    // archive detaches it first.
    virtual ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    // The name in the archive's own find record.
    const char32_t* FindRecordName() const { return OwnRecord()->name; }

    uint8_t findDotted;       // dotted flag of the last record produced
    uint8_t allocateRecords;  // 1: each record asked for is a new malloc'd entry
    ArchiveEntryStore entries;
    MemoryPool pool;
    int archiverIndex;  // the row of the archiver definitions
    Westring filePath;  // the archive file, full and normalised
    CArchive* parent;   // the archive holding this one, or null
    TTimestamp archiveTime;
    uint64_t archiveSize;
    Westring currentDirectory;  // what find-first was last given
    Westring lastSubdirectory;  // the subdirectory find-next reported last
    Westring temporaryFolder;   // where a member was extracted to; empty when none
    Westring lastExtracted;     // the member last extracted there
    TTimestamp extractedTime;   // the extracted copy's time right after extraction
    int findPosition;
    int status;                  // -1 until a reader recognised the file, then 0
    CRandomFile* file;           // open only while the readers run
    unsigned char header[8192];  // the readers' header buffer
    DirReadProgress* progress;   // shown while the readers run
    TProgressCount memberCount;  // what the progress shows
    int64_t packedTotal;         // cached totals, -1 until computed
    int64_t unpackedTotal;

    entry* OwnRecord() { return reinterpret_cast<entry*>(ownRecord); }
    const entry* OwnRecord() const { return reinterpret_cast<const entry*>(ownRecord); }

private:
    alignas(entry) unsigned char ownRecord[offsetof(entry, name) + sizeof(char32_t) * ArchiveFindRecordNameUnits];
};

// The sort order of the table: directory paths unit by unit, a backslash
// ordering right after the end of a path, then names without regard to case.
int CompareArchiveEntries(const TArchiveEntry* a, const TArchiveEntry* b);

// Listing a directory inside the archive ("" the root, no leading
// backslash). 0 and a record, or all ones; the first record is always "..".
// Without `out` the record goes to the archive's own find record.
DWORD ArchiveFindFirst(CArchive* archive, const Westring& directory, entry** out);
DWORD ArchiveFindNext(CArchive* archive, entry** out);
// The member with that directory path and name (an exact spelling first),
// or null.
TArchiveEntry* ArchiveFindEntry(CArchive* archive, const Westring& directory, const Westring& name);
// The member at a path inside the archive (directory and name in one).
TArchiveEntry* ArchiveFindEntry(CArchive* archive, const Westring& path);

// The counters the directory-size scan shares with ScanArchiveSubtree.
struct TArchiveScanCounters {
    int64_t directories;
    int64_t files;
    int64_t bytes;
};
// Totals of the subtree at the relative path below the current directory:
// counts into the counters, shows the folder scanned in the window (row 4)
// when one is given, and returns the bytes of its files; -1 when the user
// stopped it.
int64_t ScanArchiveSubtree(CArchive* archive, const Westring& relativePath, Win* window, CTree* tree,
                           TArchiveScanCounters& counters);

// Sums of the members' sizes (directories left out), cached on first use;
// for tar over a compressor the packed total is the archive file's size.
void GetArchiveTotals(CArchive* archive, int64_t& unpacked, int64_t& packed);
// "ZIP" ... "TAR/XZ".
Estring GetArchiveTypeName(const CArchive* archive);
// The path a panel shows: the archive file's path, or for a nested archive
// the parent's display path, its current directory and the file's name.
Westring GetArchiveDisplayPath(const CArchive* archive);

// Services of the readers.
TArchiveEntry* NewArchiveEntry(CArchive* archive);
// 8-bit text in the console output code page, copied into the pool.
const char32_t* StoreArchiveName(CArchive* archive, const char* text);
const char32_t* StoreArchiveWideName(CArchive* archive, const char32_t* text);
// Removes a leading ".\" or a lone "." from the directory path, keeping the
// fact in the dotted flag.
void NormalizeArchiveEntryPath(CArchive* archive, TArchiveEntry* entry);
// Stops the progress indicator and shows the message with the archive path
// under it; the answer of the box.
unsigned ReportArchiveError(CArchive* archive, const Westring& message, const Westring& path, uint32_t flags);

// Where archive errors go: the message box, unless a test or a fuzz target
// puts its own reporter in.
using TArchiveErrorReporter = unsigned (*)(const Westring& message, const Westring& path, uint32_t flags);
extern TArchiveErrorReporter ArchiveErrorReporter;

// What the archive commands install at start-up, since the panels stand below
// them: `release` puts a changed extracted member back and removes the
// archive's temporary folder when the archive closes; `entryFile` takes the
// member at a path inside the archive out to a local file (empty when it could
// not), from which a nested archive is read. Null members do nothing.
struct TArchiveMemberHooks {
    void (*release)(CArchive* archive);
    Westring (*entryFile)(CArchive* archive, const Westring& pathInside);
};
extern TArchiveMemberHooks ArchiveMemberHooks;

// Opens a file as an archive; the caller checks `status`.
CArchive* OpenArchive(const Westring& archiveFilePath, CArchive* parent);
