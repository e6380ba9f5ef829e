#include "fileops/sync/SyncOptions.h"

#include "app/settings/Config.h"

CSynchronizer::TSyncOptions::TSyncOptions()
    : fileFilter("*"), directoryFilter("*"), copyMissing(0), updateOld(0), revertNew(0), deleteExtra(0),
      updateSmaller(0), updateLarger(0) {}

void CSynchronizer::TSyncOptions::FromConfig() {
    copyMissing = Config.SyncCopyMissing;
    updateOld = Config.SyncUpdateOlder;
    revertNew = Config.SyncRevertNewer;
    deleteExtra = Config.SyncDeleteExtra;
    updateSmaller = Config.SyncUpdateSmaller;
    updateLarger = Config.SyncUpdateLarger;
    fileFilter = Config.SyncFilter;
    directoryFilter = Config.SyncDirFilter;
}

void CSynchronizer::TSyncOptions::ToConfig() const {
    Config.SyncCopyMissing = copyMissing;
    Config.SyncUpdateOlder = updateOld;
    Config.SyncRevertNewer = revertNew;
    Config.SyncDeleteExtra = deleteExtra;
    Config.SyncUpdateSmaller = updateSmaller;
    Config.SyncUpdateLarger = updateLarger;
    Config.SyncFilter = fileFilter;
    Config.SyncDirFilter = directoryFilter;
}
