// The scroll-back buffer and its viewer: screen lines that the output of
// programs run from the command line pushed off the screen are kept (when
// "ConsoleScrollback" is on), so that the user can look back over them
// together with the current screen.
#pragma once

#include "base/strings/CellString.h"
#include "ui/Win.h"

#include <cstddef>
#include <string>
#include <vector>

// Saved screen rows, oldest first, each a whole row with its attributes. A
// long output leaves many rows here, most of them far narrower than the
// screen: a row is kept as its characters up to the last one that is not a
// blank, in UTF-8, and its attributes as runs, all rows back to back in one
// block, and is made whole again when it is read.
class CScrollBackBuffer {
public:
    int Count() const { return static_cast<int>(starts.size()); }
    void Add(const TCell* cells, int n);
    // Row `index` as it was added, every cell of it.
    void Line(int index, CellString& cells) const;
    void RemoveLast();
    void FreeAll();

private:
    std::string records;
    std::vector<size_t> starts;
};

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
    CellString line;
    int width;
    int height;
    int top;
};

// The viewer command: the current screen (all but its last two rows) is
// added after the saved lines for the viewing and taken away again after it.
void ShowScrollBack();
