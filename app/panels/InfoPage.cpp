#include "app/panels/InfoPage.h"

#include "ui/NotAvailable.h"

void ToggleInfoPage(int) {
    ReportNotAvailable("The information page");
}

void ChangeDiskLabel(CPanel*) {
    ReportNotAvailable("Changing the disk label");
}
