#include "app/ConfigurationDialog.h"

#include "app/NotAvailable.h"

void ConfigurationCommand() {
    ReportNotAvailable("The configuration dialog");
}
