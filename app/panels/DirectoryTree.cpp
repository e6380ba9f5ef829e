#include "app/panels/DirectoryTree.h"

#include "ui/NotAvailable.h"
#include "app/panels/Panel.h"

int DirectoryTreeDialog(CPanel*, Westring&) {
    ReportNotAvailable("The directory tree");
    return -1;
}

void ComputeDirectorySizes(CPanel*) {
    ReportNotAvailable("Directory sizes");
}

void ShowPanelTree(CPanel*) {
    ReportNotAvailable("The tree view");
}

void ExpandTreeBranch(CPanel*, bool, bool) {
    ReportNotAvailable("The tree view");
}

Westring TreeCursorDirectory(CPanel* panel) {
    return GetPanelDirectory(panel);
}
