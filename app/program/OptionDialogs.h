// Three small commands of the menus: the filter of a panel, the full-screen
// switch and the confirmations dialog.
#pragma once

#include "app/settings/Config.h"

// The labels of the confirmations, by bit of TCONFIG::Confirmations.
extern const char* const ConfirmationNames[ConfirmationCount];

// The filter dialog of the panel of `side`; true when the user confirmed a
// valid expression (the panel's filter is then that text). The caller reads
// the panel again.
bool PanelFilterDialog(int side);
// Switches between panels over the whole screen and panels that leave the
// "HalfScreenConsoleLines" rows free.
void ToggleFullScreen();
// Switches the confirmations on and off; Esc keeps them.
void ConfirmationsDialog();
