// The information page a panel can show in place of its files (drive, memory
// and directory facts), and the disk label command it offers.
#pragma once

class CPanel;

// Shows or hides the page in panel `side`.
void ToggleInfoPage(int side);
void ChangeDiskLabel(CPanel* panel);
