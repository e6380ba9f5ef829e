#include "console/ScreenSize.h"

#include "console/Console.h"
#include "console/InputEvent.h"

int ScreenColumns = 80;
int ScreenRows = 25;
TScreenSizeHooks ScreenSizeHooks = {nullptr, nullptr};

void ApplyScreenSizeLimits(bool ntBased, int& rows, int& columns) {
    if (columns < 80) {
        columns = 80;
    }
    if (rows < 25) {
        rows = 25;
    }
    if (!ntBased) {
        // The old console knows three heights and one width.
        columns = 80;
        rows = rows >= 50 ? 50 : rows >= 43 ? 43 : 25;
    } else if (rows > 250) {
        rows = 25;
    }
}

namespace {

bool ChangeScreenSize(int rows, int columns, bool followHost) {
    if (ScreenSizeHooks.beforeChange != nullptr) {
        ScreenSizeHooks.beforeChange();
    }
    ApplyScreenSizeLimits(IsNtBasedSystem, rows, columns);
    bool accepted = false;
    if (Console != nullptr) {
        accepted = followHost ? Console->FollowScreenSize(columns, rows) : Console->SetScreenSize(columns, rows);
    }
    if (accepted) {
        if (rows > ScreenRows) {
            Console->ClearScreen();
        }
        ScreenRows = rows;
        ScreenColumns = columns;
    }
    if (ScreenSizeHooks.afterChange != nullptr) {
        ScreenSizeHooks.afterChange();
    }
    return accepted;
}

}  // namespace

bool SetScreenSize(int rows, int columns) {
    return ChangeScreenSize(rows, columns, false);
}

bool FollowHostScreenSize(int rows, int columns) {
    return ChangeScreenSize(rows, columns, true);
}
