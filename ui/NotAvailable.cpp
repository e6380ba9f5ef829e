#include "ui/NotAvailable.h"

#include "ui/MessageBox.h"
#include "base/strings/Westring.h"

void ReportNotAvailable(const char* what) {
    ShowMessageBox(Westring(what) + Westring(" is not available yet."), Westring(), 16);
}
