// CArchive: an archive file opened so that a panel can browse inside it as
// if it were a directory. A panel owns the innermost open archive and,
// through the parent links, the archives that contain it.
//
// The panels stand below the archive readers: they open an archive through
// ArchiveOpener, which the archive layer installs at start-up, and list it
// through the virtual functions its readers override.
#pragma once

#include <cstdint>

#include "base/io/Entry.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

class CArchive {
public:
    // `parent` is the archive the file was taken from (owned by the new
    // object from then on), or null. The record starts with a non-zero status:
    // a reader that accepts the file sets it to 0.
    CArchive(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent = Westring());
    virtual ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    // Starts listing a directory inside the archive: 0 and the first entry (a
    // separately allocated record, null `out` only tests that the directory
    // exists), else a non-zero code. The record itself lists nothing.
    virtual DWORD FindFirst(const Westring& directory, entry** out);
    // The next entry of the listing: 0 while entries remain.
    virtual DWORD FindNext(entry** out);

    CArchive* parent;       // the archive that holds this one, or null
    Westring filePath;      // the archive file on disk
    Westring pathInParent;  // for a nested archive: its path inside the parent
    int status;             // non-zero when no archive reader accepted the file
};

// The path a panel shows for the archive: the outermost archive file's path,
// then "\" and the path of each nested archive inside its parent.
Westring GetArchiveDisplayPath(const CArchive* archive);
// The unpacked and packed sizes of the archive's files, summed (the unpacked
// sum can come out negative, or is -1 when the archive cannot tell).
void GetArchiveTotals(CArchive* archive, int64_t& unpacked, int64_t& packed);
// The name of the archiver that reads the archive.
Estring GetArchiveTypeName(CArchive* archive);
DWORD ArchiveFindFirst(CArchive* archive, const Westring& directory, entry** out);
DWORD ArchiveFindNext(CArchive* archive, entry** out);

// Opens a file as an archive, as the installed readers see it; the caller
// checks `status`. Null opener: no reader, every file gives a non-zero status.
using TArchiveOpener = CArchive* (*)(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent);
extern TArchiveOpener ArchiveOpener;
CArchive* OpenArchive(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent = Westring());
