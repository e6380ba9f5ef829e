// A panel's window: setting a panel up from the configuration at start-up,
// opening its framed window at its side, closing it, and drawing the top
// frame line with the path title.
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// Takes the side's settings (sort, style, type, filter, width, showing),
// reads the directory once as a full-style file list and opens the window
// when the panel is showing (a tree view of files opens later).
void InitPanelFromConfig(CPanel* panel, int side);
// Takes the side's sort and filter for a panel that is never shown (a script
// run on its own) and marks it to be read when it is first used.
void InitHiddenPanelFromConfig(CPanel* panel, int side);
// (Re)opens the panel's window at its side, reads the directory when a read is
// pending, and redraws the panel.
void OpenPanelWindow(CPanel* panel, int side);
// Hides the window of a showing panel and switches the panel off.
void ClosePanelWindow(CPanel* panel);
// The top frame line with the title (the path, "?" when a filter is set) in
// the active or inactive colour, leaving room for the clock when asked.
void DrawPanelFrame(const Westring& title, bool active, bool clock, CPanel* panel);
