// The command dispatch: every key code the main loop reads, and every command
// code the menu bar returns, selects one command. The special cases are tried
// in a fixed order, then one table of codes is walked.
#pragma once

#include "app/program/MainLoop.h"
#include "console/InputEvent.h"

class CPanel;

// What a command works on: the key, the event's shift state and the panels.
struct TCommand {
    TMainLoopState& state;
    int key;
    int shiftState;  // 1 Alt, 2 Ctrl, 4 Shift
    const TInputEvent& event;
    int side;        // the active side
    CPanel* active;
    CPanel* other;

    bool Alt() const { return (shiftState & 1) != 0; }
    bool Ctrl() const { return (shiftState & 2) != 0; }
    bool Shift() const { return (shiftState & 4) != 0; }
    // Both panels are off.
    bool PanelsHidden() const;
    // The active panel is on and shows files.
    bool ActiveFileList() const;
    bool InArchive() const;
    bool InTreeView() const;
};

// A command returns the redraw level it needs.
using TCommandHandler = int (*)(TCommand& command);

// One row of the table: the codes that select the command (ended by 0).
struct TCommandRow {
    int codes[12];
    TCommandHandler handler;
};

extern const TCommandRow CommandTable[];
extern const int CommandTableSize;

// Dispatches one key or menu command code.
void DispatchCommand(TMainLoopState& state, int key, const TInputEvent& event);
