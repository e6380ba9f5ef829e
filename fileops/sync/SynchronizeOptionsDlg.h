// The options dialog of the synchroniser: the two directories, the six
// switches and the two filters, over one options record.
#pragma once

#include "fileops/sync/SyncOptions.h"
#include "ui/Dialog.h"

class CSynchronizer::CSynchronizeOptionsDlg : public Dialog {
public:
    explicit CSynchronizeOptionsDlg(TSyncOptions& options);
    // 0 for Esc; 1 for Enter once both filters parse (an error is shown and
    // the dialog stays open).
    int Run();

private:
    TSyncOptions& options;
};
