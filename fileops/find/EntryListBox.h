// EntryListBox: the result list of the File Find window, one found entry a
// row: size (or the directory mark), date, time, hidden mark and full path.
#pragma once

#include "base/io/Entry.h"
#include "base/os/CMutex.h"
#include "base/strings/Westring.h"
#include "fileops/find/FFEntryStore.h"
#include "ui/ListBox.h"

// The row text of one found entry for a screen of that many columns. A file
// that could not be opened for the content test reads "Error opening" and its
// path.
Westring FormatFoundEntry(const entry* item, int screenColumns);

class EntryListBox : public ListBoxBase {
public:
    // listLock guards the store while another thread appends to it; each row
    // is read under it.
    EntryListBox(Dialog& owner, int x, int y, int width, int rows, FFEntryStore& store, CMutex& listLock,
                 int32_t* selection, int exitSetting);
    void DrawItem(int row, int item, uint8_t attribute) override;
    // A count event (TDialogEvent::KindListCount) whose x is 0 or more also
    // puts the cursor on that entry: the search's follow mode moves the
    // cursor from the worker thread, under the dialog's lock. Only the rows
    // that changed are drawn.
    bool HandleEvent(TDialogEvent& event) override;

private:
    FFEntryStore& store;
    CMutex& listLock;
};
