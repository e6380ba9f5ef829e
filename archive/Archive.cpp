#include "archive/Archive.h"

CArchive* OpenArchiveFile(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent)
{
    // No reader is registered, so none accepts the file.
    return new CArchive(archiveFilePath, parent, pathInParent);
}

void InstallArchiveOpener()
{
    ArchiveOpener = OpenArchiveFile;
}
