// The command dispatch: every key code the main loop reads, and every command
// code the menu bar returns, selects one command. The special cases are tried
// in a fixed order, then the key bindings of the command table are looked up.
#pragma once

#include "app/program/CommandTable.h"
#include "app/program/MainLoop.h"
#include "console/InputEvent.h"

class CPanel;

// What a command works on: the key, the event's shift state and the panels.
struct TCommand {
    TMainLoopState& state;
    int key;
    int shiftState;  // 1 Alt, 2 Ctrl, 4 Shift
    const TInputEvent& event;
    int side;  // the active side
    CPanel* active;
    CPanel* other;

    bool Alt() const { return (shiftState & SHIFT_ALT) != 0; }
    bool Ctrl() const { return (shiftState & SHIFT_CTRL) != 0; }
    bool Shift() const { return (shiftState & SHIFT_SHIFT) != 0; }
    // Both panels are off.
    bool PanelsHidden() const;
    // The active panel is on and shows files.
    bool ActiveFileList() const;
    bool InArchive() const;
    bool InTreeView() const;
};

// Dispatches one key or menu command code.
void DispatchCommand(TMainLoopState& state, int key, const TInputEvent& event);
