// IFileFinderUI: what the file find walk tells the one who watches it.
//
// The walk calls these from the thread it runs on. The File Find window shows
// the directory being read and the found files as they come, and guards its
// result list with a lock; the walk without a window (DummyUI) does nothing.
#pragma once

#include "base/strings/Westring.h"

class IFileFinderUI {
public:
    virtual ~IFileFinderUI() = default;
    // A directory is about to be read.
    virtual void EnterDirectory(const Westring& directory) = 0;
    // One directory entry was read, before it is tested.
    virtual void Tick() = 0;
    // Around the append of one found entry to the store.
    virtual void LockResults() = 0;
    virtual void UnlockResults() = 0;
    // Once, when the walk ends; stopped when it ended before its end.
    virtual void SearchDone(bool stopped) = 0;
};

// The user interface of a walk nobody watches.
class DummyUI : public IFileFinderUI {
public:
    void EnterDirectory(const Westring&) override {}
    void Tick() override {}
    void LockResults() override {}
    void UnlockResults() override {}
    void SearchDone(bool) override {}
};
