// The archive side's part in the directory trees. The panels stand below the
// archive readers, so the archive layer installs these at start-up; until it
// does, an archive has no folder tree and its folders add nothing to a size.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

class CArchive;
class CPanel;
class CTree;
class Win;

// A new private tree of the archive's folders, its root named after the
// archive's display path; null when there is none.
using TArchiveFolderTreeBuilder = CTree* (*)(CArchive* archive);
extern TArchiveFolderTreeBuilder ArchiveFolderTreeBuilder;

// Adds the files below a folder of the archive the panel shows to the
// directory-size counters (DirectorySizes.h) and the folders it meets to the
// tree; the total bytes, or -1 when the user stopped it.
using TArchiveSubtreeScanner = int64_t (*)(CPanel* panel, const Westring& folder, Win* box, CTree* tree);
extern TArchiveSubtreeScanner ArchiveSubtreeScanner;

// Through the installed hooks; null and 0 while none is installed.
CTree* BuildArchiveFolderTree(CArchive* archive);
int64_t ScanArchiveSubtree(CPanel* panel, const Westring& folder, Win* box, CTree* tree);
