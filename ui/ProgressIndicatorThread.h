// Progress windows of long operations that run on the main thread (reading a
// directory, reading or saving a file, the synchroniser's scans). A thread of
// their own draws them, so an operation that ends within a second never shows
// a window and a longer one is refreshed four times a second without drawing
// anything itself.
//
// The operation keeps counting in variables of its own that the thread only
// reads; they are atomic, since two threads touch them. While an indicator
// lives the main thread does not draw: it deletes the indicator (which stops
// the thread and puts the screen back) before it draws or shows a message.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/os/CEvent.h"
#include "base/os/CWinHandle.h"
#include "base/strings/Estring.h"
#include "base/strings/Westring.h"
#include "ui/Dialog.h"

// What operations count in for their indicator.
typedef std::atomic<uint32_t> TProgressCount;
typedef std::atomic<int64_t> TProgressBytes;

class ProgressIndicatorThread {
public:
    // Milliseconds before the first update, and between updates.
    static const DWORD FirstUpdateDelay = 1000;
    static const DWORD UpdateInterval = 250;

    virtual ~ProgressIndicatorThread();
    ProgressIndicatorThread(const ProgressIndicatorThread&) = delete;
    ProgressIndicatorThread& operator=(const ProgressIndicatorThread&) = delete;

    // Ends the thread (waiting for it) when it runs; the window stays until
    // the indicator is deleted.
    void Stop();

protected:
    ProgressIndicatorThread();
    // Starts the thread. Subclass constructors call it last, once the fields
    // that Update reads are set.
    void Start();
    // Called on the thread: builds the window on the first call, then draws.
    virtual void Update() = 0;

    Dialog* window;  // owned; none until the first update

private:
    static unsigned __stdcall ThreadMain(void* self);
    void Run();

    CEvent stopEvent;
    CWinHandle thread;
};

// A spinner and the running count of entries read.
class DirReadProgress : public ProgressIndicatorThread {
public:
    explicit DirReadProgress(const TProgressCount* counter);
    DirReadProgress(const TProgressCount* counter, const Westring& title);
    ~DirReadProgress() override;

protected:
    void Update() override;

private:
    const TProgressCount* counter;
    int spinner;
    Westring title;
};

// A bar of done against total bytes under a centred title.
class FileReadProgress : public ProgressIndicatorThread {
public:
    FileReadProgress(const TProgressBytes* done, const TProgressBytes* total, const Estring& title);
    ~FileReadProgress() override;

protected:
    void Update() override;

private:
    const TProgressBytes* done;
    const TProgressBytes* total;
    float ratio;
    Estring title;
};
