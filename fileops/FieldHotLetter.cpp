#include "fileops/FieldHotLetter.h"

#include "ui/Dialog.h"

void SetFieldHotLetter(Dialog& dialog, int field, char letter) {
    char letters[Dialog::MaxElements];
    for (int i = 0; i < dialog.Count(); i++) {
        letters[i] = i == field ? letter : dialog.HotLetter(i);
    }
    dialog.SetHotKeys(letters, dialog.Count());
}
