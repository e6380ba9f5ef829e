#include "app/NotAvailable.h"

#include "app/MessageBox.h"
#include "base/strings/Westring.h"

void ReportNotAvailable(const char* what) {
    ShowMessageBox(Westring(what) + Westring(" is not available yet."), Westring(), 16);
}
