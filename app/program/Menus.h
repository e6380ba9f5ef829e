// The pull-down menu bar over the top row, the panel filter dialog, the full
// screen switch and the confirmations dialog.
#pragma once

class CPanel;

// Runs the menu bar starting on the menu of `side` (reopen: where it was last
// left); the key or menu command code chosen, 0 for none.
int RunMenuBar(int side, bool reopen);
// The filter dialog of a panel; true when the filter changed.
bool PanelFilterDialog(CPanel* panel);
void ToggleFullScreen();
void ConfirmationsDialog();
