#include "fileops/FileCommands.h"

#include "ui/NotAvailable.h"

void MakeObjectsCommand(CPanel*) {
    ReportNotAvailable("Making shortcuts");
}
