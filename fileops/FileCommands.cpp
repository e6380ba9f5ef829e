#include "fileops/FileCommands.h"

#include "ui/NotAvailable.h"

void ShowFileInformation(const Westring&) {
    ReportNotAvailable("File information");
}

void CompareDirectories() {
    ReportNotAvailable("Comparing directories");
}

void FileFindCommand(CPanel*, bool) {
    ReportNotAvailable("Finding files");
}

void MakeObjectsCommand(CPanel*) {
    ReportNotAvailable("Making shortcuts");
}

void MakeSymbolicLinksCommand(CPanel*, const Westring&) {
    ReportNotAvailable("Making symbolic links");
}

void SynchronizeCommand(const Westring&, const Westring&) {
    ReportNotAvailable("Synchronising directories");
}
