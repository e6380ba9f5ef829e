#include "fileops/FileCommands.h"

#include "ui/NotAvailable.h"

void MakeDirectoryCommand(int) {
    ReportNotAvailable("Making a directory");
}

void DeleteFilesCommand(CPanel*) {
    ReportNotAvailable("Deleting files");
}

void DeleteTypedFile(CPanel*) {
    ReportNotAvailable("Deleting a typed file");
}

void FileAttributesDialog(CPanel*) {
    ReportNotAvailable("Changing file attributes");
}

void ChangeCaseDialog(CPanel*) {
    ReportNotAvailable("Changing the case of names");
}

void ChangeDateDialog(CPanel*) {
    ReportNotAvailable("Changing file dates");
}

void ShowFileInformation(const Westring&) {
    ReportNotAvailable("File information");
}

void MakeObjectsCommand(CPanel*) {
    ReportNotAvailable("Making shortcuts");
}

void MakeSymbolicLinksCommand(CPanel*, const Westring&) {
    ReportNotAvailable("Making symbolic links");
}
