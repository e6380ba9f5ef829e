#include "viewedit/ViewerEditor.h"

#include "ui/NotAvailable.h"

void ViewFile(const Westring&, int) {
    ReportNotAvailable("The internal viewer");
}

void ViewPanelFiles(CPanel*) {
    ReportNotAvailable("The internal viewer");
}

void EditFile(const Westring&, int, int) {
    ReportNotAvailable("The internal editor");
}
