#include "archive/Archive.h"

CArchive::CArchive(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent)
    : parent(parent), filePath(archiveFilePath), pathInParent(pathInParent), status(1)
{
}

CArchive::~CArchive()
{
    delete parent;
}

Westring GetArchiveDisplayPath(const CArchive* archive)
{
    if (!archive->parent)
        return archive->filePath;
    return GetArchiveDisplayPath(archive->parent) + Westring(U"\\") + archive->pathInParent;
}

DWORD ArchiveFindFirst(CArchive*, const Westring&, entry** out)
{
    if (out)
        *out = nullptr;
    return ERROR_PATH_NOT_FOUND;
}

DWORD ArchiveFindNext(CArchive*, entry** out)
{
    if (out)
        *out = nullptr;
    return ERROR_NO_MORE_FILES;
}
