// The file find engine: walks directory trees, keeps every entry whose name
// satisfies a file-mask expression (and, with a search text, every file that
// holds the text) and appends copies of them to an FFEntryStore.
//
// The walk runs on one thread: a worker of the File Find window, or the
// caller's thread in DoFileFind (scripts). It talks to whoever watches only
// through IFileFinderUI. Helpers list the directories ahead of it
// (CFindReadAhead); the results come in the walk's own order all the same.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "app/settings/Config.h"
#include "base/os/FileIdentity.h"
#include "base/strings/StringCollection.h"
#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"
#include "fileops/find/FFEntryStore.h"
#include "fileops/find/FileFinderUI.h"

// The directories waiting to be read, smallest path first. Paths are ordered
// without regard to case, and two paths that differ only in case are both
// kept, next to each other: on a file system that tells Src from src both
// are read, each once.
class CFindDirectorySet : public FnStringCollection {
protected:
    int CompareKeys(const Westring* a, const Westring* b) override;
};

struct TFileFindJob {
    TFileFindJob(IFileFinderUI* ui, const Westring* masks, const Westring* text, const Westring* startDirectory,
                 const TCONFIG* config);

    IFileFinderUI* ui;
    WestringStore roots;        // start directories not yet begun, in the order added
    CFindDirectorySet pending;  // directories waiting to be read
    const Westring* masks;
    const Westring* text;  // empty: no content test
    const Westring* startDirectory;
    const TCONFIG* config;
    // Set by the window's thread to stop the walk, or by the walk itself when
    // a content search was broken off.
    std::atomic<uint8_t> stop;
    Westring startPrefix;  // depth is counted below it; empty when drives are searched
    int32_t prefixLength;  // of the prefix with a trailing backslash; 0 when empty
    // With links followed: every directory entered so far, so that a link
    // back into the tree is not walked again.
    std::vector<TFileIdentity> entered;
    // Threads that list directories ahead of the walk; -1 for as many as
    // the machine has processors to spare, 0 for none.
    int helpers = -1;
};

// Fills the roots, the start prefix and its length from the options;
// pending and roots are emptied first.
void BuildFindRoots(TFileFindJob& job);
// How deep the directory lies below the start prefix: its direct
// subdirectories have depth 1.
int32_t FindDirDepth(const TFileFindJob& job, const Westring& directory);
// The walk itself.
void RunFileFind(TFileFindJob& job, FFEntryStore& store);
// The walk on the calling thread with nothing shown; found entries are
// appended to the store, which is not emptied first.
void DoFileFind(FFEntryStore& store, const Westring& masks, const Westring& text, const Westring& startDirectory,
                const TCONFIG& config);
