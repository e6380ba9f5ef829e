#include "script/ScriptRunner.h"

#include "ui/NotAvailable.h"

void RunScriptByName(const Westring&, const WestringStore&) {
    ReportNotAvailable("Running scripts");
}
