// CArchive: an archive file opened so that a panel can browse inside it as
// if it were a directory. A panel owns the innermost open archive and,
// through the parent links, the archives that contain it.
//
// The archive readers are still to come: until they are, no reader accepts a
// file, so opening reports failure in `status` and a panel never enters one.
#pragma once

#include "base/io/Entry.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

class CArchive {
public:
    // Opens the file as an archive; `parent` is the archive the file was taken
    // from (owned by the new object from then on), or null.
    CArchive(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent = Westring());
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    CArchive* parent;       // the archive that holds this one, or null
    Westring filePath;      // the archive file on disk
    Westring pathInParent;  // for a nested archive: its path inside the parent
    int status;             // non-zero when no archive reader accepted the file
};

// The path a panel shows for the archive: the outermost archive file's path,
// then "\" and the path of each nested archive inside its parent.
Westring GetArchiveDisplayPath(const CArchive* archive);
// Starts listing a directory inside the archive: 0 and the first entry (a
// separately allocated record, null `out` only tests that the directory
// exists), else a non-zero code.
DWORD ArchiveFindFirst(CArchive* archive, const Westring& directory, entry** out);
// The next entry of the listing: 0 while entries remain.
DWORD ArchiveFindNext(CArchive* archive, entry** out);
