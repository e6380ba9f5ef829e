#include "app/panels/ArchiveTreeHooks.h"

TArchiveFolderTreeBuilder ArchiveFolderTreeBuilder = nullptr;

CTree* BuildArchiveFolderTree(CArchive* archive) {
    return ArchiveFolderTreeBuilder ? ArchiveFolderTreeBuilder(archive) : nullptr;
}
