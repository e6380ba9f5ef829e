// The scroll-back buffer and its viewer: screen lines that the output of
// programs run from the command line pushed off the screen are kept (when
// "ConsoleScrollback" is on), so that the user can look back over them
// together with the current screen.
#pragma once

#include "base/containers/ObjectStore.h"
#include "base/strings/CellString.h"
#include "ui/Win.h"

// Saved screen rows, oldest first, each a whole row with its attributes.
class CScrollBackBuffer : public TObjectStore<CellString> {};

// The one buffer of the run.
extern CScrollBackBuffer ScrollBackBuffer;

// Copies one screen row, all columns, from the console's shadow to the end of
// the buffer.
void AppendScreenRowToScrollBack(int row);

// What the main program does around a viewing: hide the panel windows and
// close the clock so that the user screen beneath shows. Null does nothing.
struct TScrollBackHooks {
    void (*hideScreen)();
};
extern TScrollBackHooks ScrollBackHooks;

// The whole-screen viewer over the buffer: Up, Down, Page Up, Page Down, Home
// and End move through it; Esc (or a closed input) leaves it.
class CScrollBackViewer : public Win {
public:
    explicit CScrollBackViewer(const CScrollBackBuffer& buffer);

    void Draw();
    void Run();
    int Top() const { return top; }

private:
    void DrawRow(int row);

    const CScrollBackBuffer& buffer;
    int width;
    int height;
    int top;
};

// The viewer command: the current screen (all but its last two rows) is
// added after the saved lines for the viewing and taken away again after it.
void ShowScrollBack();
