#include "app/DirectoryTree.h"

#include "app/NotAvailable.h"
#include "app/Panel.h"

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
