#include "fileops/FileCommands.h"

#include "ui/NotAvailable.h"

void CompareDirectories() {
    ReportNotAvailable("Comparing directories");
}

void MakeObjectsCommand(CPanel*) {
    ReportNotAvailable("Making shortcuts");
}

void SynchronizeCommand(const Westring&, const Westring&) {
    ReportNotAvailable("Synchronising directories");
}
