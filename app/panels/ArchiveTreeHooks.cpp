#include "app/panels/ArchiveTreeHooks.h"

TArchiveFolderTreeBuilder ArchiveFolderTreeBuilder = nullptr;
TArchiveSubtreeScanner ArchiveSubtreeScanner = nullptr;

CTree* BuildArchiveFolderTree(CArchive* archive)
{
    return ArchiveFolderTreeBuilder ? ArchiveFolderTreeBuilder(archive) : nullptr;
}

int64_t ScanArchiveSubtree(CPanel* panel, const Westring& folder, Win* box, CTree* tree)
{
    return ArchiveSubtreeScanner ? ArchiveSubtreeScanner(panel, folder, box, tree) : 0;
}
