// Changing a panel to a drive's current directory, or to the network root,
// with the prompt that lets the user retry, pick another drive or give up
// when the drive cannot be read.
#pragma once

class CPanel;

// The code that stands for the network instead of a drive number.
const int NetworkDrive = '\\';

// Changes panel `side` to drive 1 (A) to 26 (Z), or to the network. Mode 0 or
// 1 re-reads the panel in place; mode 0 also switches a panel that is off on.
// 0, or -1 when the user gave up at the retry prompt.
int ChangePanelDrive(int side, int drive, int mode);
// The same for a panel of the pair: non-zero when the change failed.
int ChangePanelDrive(CPanel* panel, int drive, int mode);

// The retry prompt for a drive that cannot be read: the drive number to try
// next (the same one for Enter, NetworkDrive for "\"), or -1 for Esc.
int DriveRetryPrompt(int drive);
