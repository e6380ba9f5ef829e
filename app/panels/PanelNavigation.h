// Moving through the panels: the cursor with its scrolling, finding an entry
// by name, the position remembered per directory, resolving a typed path
// (which may run into archive files) into a panel directory, switching panels
// on and off with their width kinds, making a side active, and swapping the
// two panels.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"

class CPanel;
class CPosStack;

// Moves the cursor by a signed number of entry slots, clamped to the entries,
// scrolling the view by one drawn row or redrawing the panel for larger jumps.
// The caller redraws the old and the new cursor line.
void MovePanelCursor(CPanel* panel, int lines);
// MovePanelCursor with the cursor bar taken off the old entry and put on the
// new one, for callers that only want the cursor moved.
void MovePanelCursorAndShow(CPanel* panel, int lines);
// Puts the cursor on the entry of that name (without regard to case) when it
// exists; otherwise the cursor keeps its row. Either way the cursor ends
// inside the view.
void SetPanelCursorToName(CPanel* panel, const Westring& name);
// Stores or replaces the record of a directory.
void RememberPanelPosition(CPosStack& positions, const Westring& directory, uint32_t topIndex,
                           const Westring& cursorName);
// Makes a typed path the panel's path, opening archives met on the way: 1 on
// success, 0 when the path cannot be reached (the panel's path unchanged).
// The caller reads the panel.
int ResolvePanelPath(CPanel* panel, const Westring& typedPath);
// Switches a panel off, or on (opening its window, which reads it when a read
// is pending), adjusting the other panel's width kind.
void TogglePanel(int side);
// Makes a side active: frames redrawn, the checked panel's drive re-read when
// its disk changed, the process's current directory and "StartupSide" set.
// Acts only when the side differs from the last one made active.
void SwitchActivePanel(CPanel* panels, int side);
// Exchanges the complete state of the two panels and reopens their windows.
void SwapPanels(CPanel* panels);
// Forgets the last active side, so that the next SwitchActivePanel acts.
void ResetActivePanelMemory();
