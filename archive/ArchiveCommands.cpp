#include "archive/ArchiveCommands.h"

#include "ui/NotAvailable.h"

void CopyToFromArchive(CPanel*, int, int mode) {
    ReportNotAvailable(mode == 1 ? "Moving files to or from an archive" : "Copying files to or from an archive");
}

void MakeArchive(CPanel*) {
    ReportNotAvailable("Making an archive");
}

void ReloadPanelArchive(CPanel*) {
    ReportNotAvailable("Re-opening an archive");
}
