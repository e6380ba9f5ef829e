// CCopyDlg: the dialog of the copy and move commands, where the user confirms
// or edits the destination and chooses how existing files are treated.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"
#include "ui/Dialog.h"

class CPanel;

// The directory-history picker of the program, installed at start-up; null
// (or an empty answer) leaves the field as it is.
extern Westring (*PickDirectoryHistoryHook)();

// The dialog's height: with the copy options 11 for a copy and 10 for a move;
// without them 9 for a copy of a link, else 7.
int CopyDialogHeight(bool copyOptions, bool isMove, bool cursorIsLink);

// The name keys' toggle: a bare name gets the other panel's directory in
// front; a text with a backslash keeps only what follows the last one.
Westring ToggleDestinationName(const Westring& text, const Westring& otherDirectory);

class CCopyDlg : public Dialog {
public:
    CCopyDlg(CPanel* source, CPanel* other, const Westring& title, const Westring& destination, bool copyOptions,
             bool nameKeys, bool isMove);
    // 13 or 27.
    int Run();

    Westring destination;
    int32_t overwriteMode;  // 0 Ask, 1 Always, 2 Never, 3 If Older
    uint8_t dereference;
    uint8_t skipOnError;

private:
    CPanel* source;
    CPanel* other;
    int field;
};
