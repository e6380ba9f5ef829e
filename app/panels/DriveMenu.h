// The drive menu: a small window over one panel with a cell per drive and one
// for the network, from which the user picks what the panel shows.
//
// A line under the cells names the selected drive's network share or volume
// label. It is looked up by a short-lived watch thread per selection, so that
// a slow or empty drive never holds up the menu; the thread writes into the
// menu window only under the menu's lock, and only while the window is there
// and its drive is still the selected one. The drive list is rebuilt every
// second, so drives that come or go while the menu is open show at once.
#pragma once

#include "base/strings/CellString.h"
#include "base/strings/Westring.h"

// The drives of the menu: "\" (the network) followed by the letter of each
// drive present, A to Z, and the width of one cell.
struct TDriveList {
    Westring letters;
    int cellWidth = 3;
};

// Rebuilds the list for a menu of the available width; true when the letters
// changed. The cells take 3 columns, or 2, or 1, whichever first leaves room.
bool BuildDriveList(TDriveList& list, int availableWidth);
// The cells of the drive row, the selected cell in "Highlight", the others in
// "Messages".
CellString FormatDriveCells(const TDriveList& list, int selected);

// Runs the drive menu for the left (0) or right (1) panel and changes the
// panel to the chosen drive or to the network.
void DriveMenu(int side);

// The watch thread's routine; its argument is the menu's shared state.
unsigned __stdcall DriveWatchThread(void* state);
