// IDirectorySource: where a panel's listing comes from. Every panel read goes
// through one: the disk, the network view, the directory inside an open
// archive (listed by the readers the archive layer installs), and whatever a
// higher layer adds at start-up (a list of found files), so a new kind of
// listing needs no change to the panel code.
#pragma once

#include "base/io/Entry.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

class CPanel;

class IDirectorySource {
public:
    virtual ~IDirectorySource() = default;
    // The first entry of the listing (a record the caller owns and frees with
    // entry::Free), or the error; ERROR_FILE_NOT_FOUND and ERROR_NO_MORE_FILES
    // mean an empty listing.
    virtual DWORD First(entry** item) = 0;
    // The next entry; non-zero at the end.
    virtual DWORD Next(entry** item) = 0;
    // True when the entries are shown as delivered, sort classes set by the
    // source: no filter or hidden rule applies and no ".." is added.
    virtual bool Complete() const { return false; }
};

// Opens the listing of a panel's directory: a new source; or null with `error`
// 0 when this kind of source does not serve the directory; or null with the
// error that made the listing fail.
typedef IDirectorySource* (*TDirectorySourceOpener)(CPanel* panel, DWORD& error);

// Puts an opener before those known so far (asked first). Called at start-up;
// adding one twice keeps one.
void AddDirectorySource(TDirectorySourceOpener opener);
// The source of the panel's directory: the first opener added that serves
// it, then the open archive, the network view, and the disk, which serves
// every other. Null and the
// error when the listing failed.
IDirectorySource* OpenDirectorySource(CPanel* panel, DWORD& error);

// Lets the next disk read of exactly `path` (one no opener and no archive or
// network view serves) take a listing that is read ahead from now on, on a
// thread of its own. One at a time: a new one drops an earlier one not taken.
void PrefetchDiskDirectory(const Westring& path);
// Drops a listing read ahead and not taken (its thread stopped, its entries
// freed).
void DropDiskPrefetch();
