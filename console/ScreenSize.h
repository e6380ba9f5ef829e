// The screen-size rule: what the start-up, the configuration dialog and the
// main loop call to change the number of columns and rows. A separate thing
// from CConsole::SetScreenSize, which only asks the host.
#pragma once

// The screen size the main program lays its windows out by; follows every
// size the host accepted.
extern int ScreenColumns;
extern int ScreenRows;

// What a new size means to the main program's own windows. Null hooks do
// nothing; the main program fills them.
struct TScreenSizeHooks {
    // Before the host is asked: delete the function-key bar, recompute the
    // panel height.
    void (*beforeChange)();
    // After the answer: recompute the panel height, set the configured cursor
    // size, build a new function-key bar.
    void (*afterChange)();
};
extern TScreenSizeHooks ScreenSizeHooks;

// The size the rule asks the host for: at least 80 x 25; on the old Windows
// family 80 columns and 25, 43 or 50 rows; elsewhere 251 rows or more fall
// back to 25.
void ApplyScreenSizeLimits(bool ntBased, int& rows, int& columns);
// Asks the console for the size; true when the host accepted it, in which case
// ScreenColumns and ScreenRows follow (the screen is cleared when it grew).
bool SetScreenSize(int rows, int columns);
// After the host reported a screen of the size: the same rule, but the layout
// takes the size even where the host keeps a screen below the minimum (it
// shows what fits). False only for a size no screen can have.
bool FollowHostScreenSize(int rows, int columns);
