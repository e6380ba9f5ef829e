#include "app/InfoPage.h"

#include "app/NotAvailable.h"

void ToggleInfoPage(int) {
    ReportNotAvailable("The information page");
}

void ChangeDiskLabel(CPanel*) {
    ReportNotAvailable("Changing the disk label");
}
