// Opening archive files for the panels: each reader looks at the file and the
// first that accepts it makes the CArchive the panel browses.
#pragma once

#include "app/panels/PanelArchive.h"

// The archive the readers make of the file; with no reader accepting it, a
// record whose non-zero status says so.
CArchive* OpenArchiveFile(const Westring& archiveFilePath, CArchive* parent, const Westring& pathInParent);
// Makes OpenArchiveFile the panels' ArchiveOpener.
void InstallArchiveOpener();
