#include "app/panels/PanelArchive.h"

#include "base/strings/Utf16String.h"

TArchiveOpener ArchiveOpener = nullptr;

CArchive::CArchive(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent)
    : parent(parent), filePath(archiveFilePath), pathInParent(pathInParent), status(1)
{
}

CArchive::~CArchive()
{
    delete parent;
}

DWORD CArchive::FindFirst(const Westring&, entry** out)
{
    if (out)
        *out = nullptr;
    return ERROR_PATH_NOT_FOUND;
}

DWORD CArchive::FindNext(entry** out)
{
    if (out)
        *out = nullptr;
    return ERROR_NO_MORE_FILES;
}

Westring GetArchiveDisplayPath(const CArchive* archive)
{
    if (!archive->parent)
        return archive->filePath;
    return GetArchiveDisplayPath(archive->parent) + Westring(U"\\") + archive->pathInParent;
}

void GetArchiveTotals(CArchive* archive, int64_t& unpacked, int64_t& packed)
{
    // The archive readers keep no totals yet: the page shows the file's own
    // size as the packed total and no unpacked one.
    unpacked = -1;
    packed = 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(Utf16String(archive->filePath).Data(), GetFileExInfoStandard, &data))
        packed = (int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Estring GetArchiveTypeName(CArchive*)
{
    return Estring();
}

DWORD ArchiveFindFirst(CArchive* archive, const Westring& directory, entry** out)
{
    return archive->FindFirst(directory, out);
}

DWORD ArchiveFindNext(CArchive* archive, entry** out)
{
    return archive->FindNext(out);
}

CArchive* OpenArchive(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent)
{
    if (ArchiveOpener)
        return ArchiveOpener(archiveFilePath, parent, pathInParent);
    return new CArchive(archiveFilePath, parent, pathInParent);
}
