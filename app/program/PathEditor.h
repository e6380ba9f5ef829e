// CPathEditor: edits a setting that holds a list of folders separated by ';'
// (the extra program search path, the script path) one folder per line, with
// keys to insert, append, delete, edit and move lines.
#pragma once

#include "base/strings/StringStore.h"
#include "base/strings/Westring.h"
#include "ui/Dialog.h"

class CPathEditor : private Dialog {
public:
    explicit CPathEditor(const char* title);

    // Edits the list in place; true when the user ended with Enter (the list
    // is then its non-empty lines joined by ';'), false with the list as it
    // was.
    bool Edit(Westring& list);
    // The key loop over the lines; the key that ended it (Enter or Esc).
    int RunLoop();

    // The screen cell where the selected line starts and the list's width.
    void SelectedLinePosition(int& x, int& y, int& width) const;

private:
    void Refresh();
    // Inserts an empty line at `at`, selects it and edits it.
    void InsertAndEdit(int at);
    void EditSelected();

    WestringStore lines;
    int32_t selection = 0;
    int list = -1;
};

// Edits one line of the editor in place, in a field over its row; Esc puts
// the old text back and gives false.
bool EditPathEntry(CPathEditor& editor, Westring& entry);
