// The two workers that remove files and directories for every operation that
// deletes: the delete commands, a move (its source), the copy engine (a
// replaced target), the synchroniser, found files and scripts. They show the
// "Deleting the file" window, ask about read-only items and non-empty
// directories, remember the answers for the operation, and take the items'
// description lines with them.
#pragma once

#include "base/strings/Westring.h"

class CCopyProgressWindow;

// Modes of DeleteOneFile.
enum {
    DeleteShowAndClose = 0,  // show the path, delete, close the window
    DeleteShowAndKeep = 1,   // as 0, the window stays for the next call
    DeleteCloseWindow = 2,   // only close the window
    DeleteQuietly = 3,       // no new window (an open one is updated)
    DeleteForced = 4         // as 3; a read-only file goes without a question,
                             // and a file already gone is no error
};

// 1 deleted, 0 not deleted (skipped or gone), -1 cancel.
int DeleteOneFile(const Westring& path, int mode, CCopyProgressWindow* progress);
// 1 removed, 0 not removed, -1 cancel. A non-empty directory goes through
// ConfirmAndDeleteTree.
int DeleteOneDirectory(const Westring& path, CCopyProgressWindow* progress);
// Asks before a non-empty directory goes (unless switched off or answered
// All), then deletes its contents and itself. 1 done, -1 cancelled or
// failed, 0 inside a running tree deletion (nothing asked, nothing done).
int ConfirmAndDeleteTree(const Westring& path);
// Deletes everything in the directory, then the directory. 0 done, 1 stopped.
// A directory on another device than its parent (a mount point) is not
// entered; removing it fails and is reported.
int DeleteDirectoryContents(const Westring& path);

// The read-only question ("File is Read Only, Delete anyway?") with the
// operation's remembered answer: 1 go on, 0 skip, -1 cancel. The copy engine
// asks it before a read-only destination is replaced.
int ConfirmReadOnlyFile(const Westring& path);

// What DeleteOneDirectory calls after a directory went, so that the panels'
// directory trees forget it; null does nothing.
extern void (*DirectoryRemovedHook)(const Westring& path);
