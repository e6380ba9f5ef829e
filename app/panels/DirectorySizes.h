// The directory-size command: adds up the files below the tagged directories
// (or the one under the cursor) with a box whose counters a display thread
// refreshes, and keeps the totals in the panel and in the tree.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

class CPanel;
class Win;

// What a size scan has counted so far. The scan (main thread) writes them;
// the display thread reads them, the text under `textLock`.
struct TDirScanCounters {
    volatile uint32_t directories;
    volatile uint32_t files;
    volatile int64_t bytes;
};
extern TDirScanCounters DirScanCounters;
// The directory being read, shortened and padded to 50 cells.
void SetDirScanText(const Westring& text);
Westring GetDirScanText();

// Sizes of the tagged directories, or of the one under the cursor; false
// when the user stopped it (Esc), true otherwise (also when there was
// nothing to do). `quiet` leaves out the pause on the totals.
bool ComputeDirectorySizes(CPanel* panel, bool quiet);
// Total bytes of the files below a directory of the panel; -1 when stopped.
int64_t ScanDirectorySizes(CPanel* panel, const Westring& name, Win* box);
// The thread that redraws the counters every 100 ms until told to stop.
unsigned __stdcall DirScanDisplayThread(void* parameter);
