// The archive side's part in the directory trees. The panels stand below the
// archive commands, so the archive layer installs this at start-up; until it
// does, an archive has no folder tree.
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

// Through the installed hook; null while none is installed.
CTree* BuildArchiveFolderTree(CArchive* archive);
