// The entry points of the synchroniser: the interactive command between the
// two panels' directories and the run a script starts, with the refusal of
// trees that overlap and the compare-confirm-execute sequence they share.
#include "app/panels/Panel.h"
#include "base/os/FileIdentity.h"
#include "base/strings/PathParts.h"
#include "fileops/FileCommands.h"
#include "fileops/sync/OpListConfirmDlg.h"
#include "fileops/sync/SyncOperationList.h"
#include "fileops/sync/SyncOptions.h"
#include "fileops/sync/SynchronizeOptionsDlg.h"
#include "ui/ConsoleControl.h"
#include "ui/MessageBox.h"

namespace {

// True (after the message) when the trees overlap.
bool RefuseOverlap(const CSynchronizer::TSyncOptions& options) {
    if (!CSynchronizer::TreesOverlap(options.source, options.target)) {
        return false;
    }
    ShowMessageBox(Westring("Directory cannot be synchronized into itself"), options.source, MessageBoxOk);
    return true;
}

}  // namespace

bool CSynchronizer::TreesOverlap(const Westring& source, const Westring& target) {
    CPathParts a(source);
    CPathParts b(target);
    int shorter = a.Count() < b.Count() ? a.Count() : b.Count();
    if (a.CommonPrefixLength(b, false) == shorter) {
        return true;
    }
    TFileIdentity identity;
    if (GetFileIdentity(source, identity) == 0 && PathLiesInside(identity, target)) {
        return true;
    }
    return GetFileIdentity(target, identity) == 0 && PathLiesInside(identity, source);
}

int CSynchronizer::CompareConfirmExecute(CSyncOperationList& plan, const TSyncOptions& options, bool* executed) {
    {
        CUserAbortScope abortScope(UserAbortPolling);
        if (!CompareTrees(plan, options)) {
            return 0;
        }
    }
    {
        COpListConfirmDlg confirm(options.source, options.target, plan);
        if (confirm.Run() != 1) {
            return 0;
        }
    }
    if (executed != nullptr) {
        *executed = true;
    }
    return ExecuteSyncPlan(plan, options);
}

int SynchronizeDirectories(CSynchronizer::TSyncOptions& options) {
    if (RefuseOverlap(options)) {
        return 0;
    }
    CSynchronizer::CSyncOperationList plan;
    return CSynchronizer::CompareConfirmExecute(plan, options);
}

void SynchronizeCommand(const Westring& source, const Westring& destination) {
    CSynchronizer::TSyncOptions options;
    options.source = source;
    options.target = destination;
    options.FromConfig();
    if (RefuseOverlap(options)) {
        return;
    }
    bool executed = false;
    for (;;) {
        {
            CSynchronizer::CSynchronizeOptionsDlg dialog(options);
            if (dialog.Run() == 0) {
                break;
            }
        }
        options.ToConfig();
        CSynchronizer::CSyncOperationList plan;
        if (CSynchronizer::CompareConfirmExecute(plan, options, &executed) != 0) {
            break;
        }
    }
    // Whatever ran changed the trees, also when the run was cut short.
    if (executed) {
        RereadBothPanels();
    }
}
