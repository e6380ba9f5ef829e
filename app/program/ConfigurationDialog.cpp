#include "app/program/ConfigurationDialog.h"

#include "ui/NotAvailable.h"

void ConfigurationCommand() {
    ReportNotAvailable("The configuration dialog");
}
