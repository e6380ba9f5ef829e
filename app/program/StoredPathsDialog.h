// The " Stored Paths " dialog: the ten slots in a list; a digit or Enter
// sends the panel to a slot's path, Ins stores the panel's directory in the
// current slot and Del empties it (both at once, not on leaving).
#pragma once

class CPanel;

// 1 when the panel was sent to a stored path (whether or not that worked),
// 0 when the dialog was left with Esc.
int StoredPathsDialog(CPanel* panel);
