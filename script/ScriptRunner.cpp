#include "script/ScriptRunner.h"

#include "app/NotAvailable.h"

void RunScriptByName(const Westring&, const WestringStore&) {
    ReportNotAvailable("Running scripts");
}
