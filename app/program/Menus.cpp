#include "app/program/Menus.h"

#include "ui/NotAvailable.h"

int RunMenuBar(int, bool) {
    ReportNotAvailable("The pull-down menus");
    return 0;
}

bool PanelFilterDialog(CPanel*) {
    ReportNotAvailable("The panel filter");
    return false;
}

void ToggleFullScreen() {
    ReportNotAvailable("Full screen");
}

void ConfirmationsDialog() {
    ReportNotAvailable("The confirmations dialog");
}
