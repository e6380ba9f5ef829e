// The main loop: each pass brings the screen up to date (panels, command
// line, key bar, clock), waits for one input event, handles screen-size
// changes and the mouse itself, and hands keys to the command dispatch.
#pragma once

#include "app/program/CommandLine.h"
#include "base/strings/Westring.h"
#include "console/InputEvent.h"

// What the next pass redraws.
enum ERedrawLevel {
    RedrawNothing = 0,
    RedrawPanels = 1,  // panels and command line
    RedrawAll = 2,     // also the key bar labels and the console title
};

struct TMainLoopState {
    TCommandLine commandLine;
    int redrawLevel = RedrawAll;
    bool cursorMoved = true;   // redraw the cursor bar and the other status line
    int shiftState = 0;        // of the last event
    int keyBarShiftState = 0;  // the key bar labels were drawn for
    int pendingKey = 0;        // a key a quick search ended with
    TInputEvent pendingEvent = {};
    int pressedBarKey = 0;     // key of the bar slot a button went down on
    int dragTagState = 0;      // tag state a right-button drag gives
    int dragIndex = -1;        // where that drag began
    int nameScrollIndex = -1;  // the entry whose displayed name is scrolled
    bool quit = false;
};

extern TMainLoopState MainLoop;

// Ten directories Alt+Shift+digit stores and Alt+digit recalls; not saved.
extern Westring StoredDirectorySlots[10];

// Runs until the user quits or the host closes its input.
void RunMainLoop();

// Closes the clock and the panel windows, applies the screen size rule for the
// new size and opens the windows of the panels that are on again. followHost:
// the host reported the size, so the layout takes it even where the host keeps
// a screen below the minimum.
void RelayoutScreen(int columns, int rows, bool followHost = false);
// Alt+F9: between 25 rows and the "Lines" setting (or 50).
void ToggleScreenLines();
// The rows the panels leave free take the teletype output while the loop waits.
void SetIdleOutputRegion();
// The command line's prompt: the active panel's directory (the other's when
// the active one shows the information page or a tree), shortened, and '>'.
Westring CommandLinePrompt();
// Redraws the command line row (prompt and text) and puts the cursor on it.
void DrawCommandLine(TMainLoopState& state);

// The hooks of the screen size rule (the key bar and the panel height follow
// every change) and of the scroll-back viewer (the panels step aside).
void InstallScreenHooks();
// The terminal emulator's reach into the scroll-back, the "ConsoleScrollback"
// setting and the "Command Line" colour; part of InstallScreenHooks.
void InstallTerminalHooks();
