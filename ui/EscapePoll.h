// The check for Escape that long operations (copy, delete, find, compare,
// tree scans, editor searches) make in their loops.
#pragma once

// The shift state of the last key event the poll took.
extern int EscapePollShiftState;

// True when the next waiting input event is Escape (pressed or released).
// Looks at most every 0.1 s; a waiting event that is not Escape is taken
// and dropped.
bool PollEscapeKey();
