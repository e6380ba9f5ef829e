// The configuration dialog of the Options menu: the most used settings in
// one dialog over the live configuration record. Cancel puts the record back
// as it was; OK applies it to the running program.
#pragma once

#include "ui/Dialog.h"

class CConfigDlg : public Dialog {
public:
    CConfigDlg();

    // 13 for OK, 27 for Esc or Cancel. F1 shows help, F4 edits the path list
    // of the "Path Extension" or "Script Path" field in the path editor.
    int Run();

    // The elements in element order, which is also the order of their hot
    // letters.
    static const int ElementCount = 27;

protected:
    // Shows " F4=Edit " on the bottom frame line while the focus is on the
    // "Path Extension" field; always allows the move.
    bool OnFocusChanging(int oldIndex, int& newIndex) override;

private:
    void ShowEditHint(bool shown);

    int pathExtensionIndex = -1;
    int scriptPathIndex = -1;
};

// The command: runs the dialog and applies or undoes what it changed.
void ConfigurationCommand();
