// FileFinder: the File Find window, which is both the search form and the
// result list, and the user interface of the find engine while a search runs.
//
// Three threads meet here. The window's thread runs the dialog and the keys
// on the results; a worker walks the directories and appends to the found
// list; a progress thread blinks "Searching:". Two locks: the display lock
// around every write to the window from another thread (the worker and the
// progress thread only try it, so the walk never waits for the screen), and
// the list lock around the found list's items and count. Where both are
// held the display lock comes first, and nobody holds the list lock while
// handing the list box an event: the list box reads its rows under the
// dialog's lock and then takes the list lock itself.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/os/CEvent.h"
#include "base/os/CMutex.h"
#include "base/os/CWinHandle.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"
#include "fileops/find/FileFindJob.h"
#include "fileops/find/FileFinderUI.h"

class CPanel;
class Dialog;

class FileFinder : public IFileFinderUI {
public:
    // Opens the window over the panel's directory; with reopen and a found
    // list that is not empty, on the previous results.
    FileFinder(CPanel* panel, bool reopen);
    ~FileFinder() override;
    FileFinder(const FileFinder&) = delete;
    FileFinder& operator=(const FileFinder&) = delete;

    // The keys on the window until it closes.
    void RunResultLoop();

    void EnterDirectory(const Westring& directory) override;
    void Tick() override;
    void LockResults() override;
    void UnlockResults() override;
    void SearchDone(bool stopped) override;

    bool Searching() const { return running; }
    // The summary line on the status row, from the found list as it stands.
    void ShowSummary();
    // Tells the list box a new count; target >= 0 also puts its cursor there.
    void SendCount(int count, int target);
    // Shows the found entries not listed yet, with the follow mode's cursor,
    // when the display lock is free at once; false when it was busy.
    bool ShowNewResults();

    CPanel* panel;
    Dialog* window;
    int32_t cursor;
    int listIndex;
    int masksIndex;
    int innerHeight;
    int width;
    int statusRow;
    std::atomic<bool> follow;
    CMutex displayLock;
    CMutex listLock;
    CEvent stopEvent;
    CWinHandle worker;
    int32_t savedSaver;
    std::atomic<int32_t> shownCount;
    Westring masks;
    Westring text;
    Westring codePage;
    Westring driveList;
    CWinHandle progress;
    TFileFindJob job;
    Westring startDirectory;

private:
    void Build(bool reopen);
    void StartSearch();
    // Writes on the status row of the window at the column.
    void WriteStatus(int x, const Westring& text);
    // The keys of the result loop; false when the window is to close.
    bool GoTo();
    void ViewOrEdit(int key);
    void CopyOrMoveFound(int key);
    void DeleteCurrent();
    void DeleteAll();
    void Sort(int mode);
    void CopyToClipboard(int key);

    std::atomic<bool> running;
    ULONGLONG lastDirectoryShown;  // worker thread only
    ULONGLONG lastListShown;       // worker thread only
    bool lastStopped;
};

// Stops a running search: sets the job's stop, waits for the worker and
// clears the user-abort state. Nothing when no worker was started.
void StopFileFind(FileFinder& finder);
// Takes the entry at the index out of the found list (the file stays); with
// refresh the list box shows the new count. The summary line is rewritten.
void RemoveFoundEntry(FileFinder& finder, int index, bool refresh);
// Where the cursor of the result list stood when the window last closed.
extern int32_t FoundListCursor;
