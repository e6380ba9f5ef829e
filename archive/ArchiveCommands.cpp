#include "archive/ArchiveCommands.h"

#include "app/panels/Panel.h"
#include "app/panels/PanelArchive.h"
#include "ui/NotAvailable.h"

void CopyToFromArchive(CPanel*, int, int mode) {
    ReportNotAvailable(mode == 1 ? "Moving files to or from an archive" : "Copying files to or from an archive");
}

void MakeArchive(CPanel*) {
    ReportNotAvailable("Making an archive");
}

int ReloadPanelArchive(CPanel* panel) {
    CArchive* old = panel->archive;
    if (!old)
        return -1;
    const Westring path = old->filePath;
    CArchive* parent = old->parent;
    old->parent = nullptr;  // the new archive takes it over
    delete old;
    CArchive* fresh = new CArchive(path, parent);
    if (fresh->status != 0) {
        delete fresh;
        panel->archive = nullptr;
        return -1;
    }
    panel->archive = fresh;
    return 0;
}
