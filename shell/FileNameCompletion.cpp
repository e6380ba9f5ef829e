#include "shell/FileNameCompletion.h"

#include "ui/NotAvailable.h"

bool CFileNameCompletion::Complete(const Westring&, Westring&) {
    ReportNotAvailable("File-name completion");
    return false;
}

bool CFileNameCompletion::CompleteFromDirectory(const Westring&, Westring&) {
    ReportNotAvailable("File-name completion");
    return false;
}
