// CSynchronizer::TSyncOptions: what one synchroniser run does, filled from
// the "Sync" settings for the interactive command or by a script.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"
#include "fileops/sync/Synchronizer.h"

struct CSynchronizer::TSyncOptions {
    Westring source;
    Westring target;
    Westring fileFilter;       // file-mask expression for files
    Westring directoryFilter;  // file-mask expression for directories
    uint8_t copyMissing;       // copy files and make directories the target lacks
    uint8_t updateOld;         // replace target files older than their source
    uint8_t revertNew;         // replace target files newer than their source
    uint8_t deleteExtra;       // delete what the source does not have
    uint8_t updateSmaller;     // replace target files smaller than their source
    uint8_t updateLarger;      // replace target files larger than their source

    TSyncOptions();
    // The six switches and the two filters from and into the settings.
    void FromConfig();
    void ToConfig() const;
};
