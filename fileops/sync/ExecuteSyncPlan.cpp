// Carrying out a confirmed plan in its order.
#include "base/io/StdFile.h"
#include "base/os/FilePrimitives.h"
#include "fileops/CopyEngine.h"
#include "fileops/CopyProgressWindow.h"
#include "fileops/DeleteWorkers.h"
#include "fileops/FileErrors.h"
#include "fileops/FileOpAnswers.h"
#include "fileops/sync/SyncOperationList.h"
#include "fileops/sync/SyncOptions.h"
#include "ui/ConsoleControl.h"
#include "ui/EscapePoll.h"

namespace {

typedef CSynchronizer::TSyncOperation TOp;

// Makes a directory; a failure is reported with Retry, Skip and Cancel.
// 1 made, 0 given up, -1 cancel.
int MakeTargetDirectory(const Westring& path) {
    for (;;) {
        int code = static_cast<int>(MakeDirectory(path));
        if (code == 0) {
            return 1;
        }
        int stop = 0;
        ReportFileError(code, stop, path.Data(), nullptr, 0);
        if (code < 0) {
            return -1;
        }
        if (stop != 0) {
            return 0;
        }
    }
}

}  // namespace

int CSynchronizer::ExecuteSyncPlan(CSyncOperationList& plan, const TSyncOptions& options) {
    CUserAbortScope abortScope(UserAbortPolling);
    // The target is to equal the source: no name lower-cased and no
    // attribute dropped, whatever an earlier copy command set for its source.
    const bool clearsReadOnly = CopyClearsReadOnly;
    const bool lowerCasesNames = CopyLowerCasesNames;
    CopyClearsReadOnly = false;
    CopyLowerCasesNames = false;
    CCopyProgressWindow progress;
    progress.bytesTotal = static_cast<int64_t>(plan.totalBytes);
    progress.StartTiming();
    ResetFileOpAnswers();
    StdFile noDescriptions;
    const int n = plan.Count();
    bool everyOneDone = true;
    bool stopped = false;
    for (int k = 0; k < n && !stopped; k++) {
        const TSyncOperation* op = plan.At(k);
        Westring from = AddTrailingBackslash(options.source) + op->path;
        Westring to = AddTrailingBackslash(options.target) + op->targetPath;
        int r = 0;
        bool done = false;
        switch (op->kind) {
        case TOp::Delete:
            r = DeleteOneFile(to, DeleteQuietly, &progress);
            done = r == 1;
            break;
        case TOp::DelDir:
            r = DeleteOneDirectory(to, &progress);
            done = r == 1;
            break;
        case TOp::MkDir:
            r = MakeTargetDirectory(to);
            done = r == 1;
            break;
        default:
            r = CopyOneFile(from, to, k + 1, n, &progress, noDescriptions, 0);
            done = r == 0;
            break;
        }
        everyOneDone = everyOneDone && done;
        stopped = r < 0 || UserAbortState == UserAbortRequested || PollEscapeKey();
    }
    progress.Stop();
    DeleteCopyingWindow();
    CopyClearsReadOnly = clearsReadOnly;
    CopyLowerCasesNames = lowerCasesNames;
    // Success is every operation done, not just the last one: a skipped copy
    // earlier in the plan leaves the trees apart.
    return !stopped && everyOneDone ? 1 : 0;
}
