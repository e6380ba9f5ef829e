// The screen saver draws straight through the console client: it saves the
// whole screen, as a frameless window without shadow would, and puts it back.
#include "console/InputEvent.h"

#include <cstdlib>
#include <ctime>

namespace {

const int StarCount = 50;
const DWORD StepMilliseconds = 200;

struct TStar {
    int x;
    int y;
};

TStar RandomCell(int columns, int rows) {
    return TStar{std::rand() % columns, std::rand() % rows};
}

}  // namespace

void ScreenSaver(uint8_t attribute) {
    if (Console == nullptr) {
        return;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const int cursorSize = Console->GetCursorShape();
    Console->SetCursorShape(0);
    int columns = 0, rows = 0;
    Console->GetScreenSize(columns, rows);
    TCell* beneath = Console->SaveRect(0, 0, columns, rows);
    Console->FillRect(0, 0, columns, rows, attribute);

    TStar ring[StarCount];
    int placed = 0, index = 0;
    for (;;) {
        if (placed < StarCount) {
            ring[placed] = RandomCell(columns, rows);
            Console->WriteText(ring[placed].x, ring[placed].y, ".", attribute);
            ++placed;
        } else if (std::rand() % 20 != 0) {
            // The oldest star goes out and a new one appears elsewhere.
            Console->WriteText(ring[index].x, ring[index].y, " ", attribute);
            ring[index] = RandomCell(columns, rows);
            Console->WriteText(ring[index].x, ring[index].y, ".", attribute);
            index = (index + 1) % StarCount;
        } else {
            Console->WriteText(ring[index].x, ring[index].y, "*", attribute);
        }
        Sleep(StepMilliseconds);
        if (IsInputPending()) {
            Console->FlushEvents();
            break;
        }
    }
    Console->SetCursorShape(cursorSize);
    Console->PutCellRect(0, 0, columns, rows, beneath);
    delete[] beneath;
}
