// The history pickers: the command history (" History ") with search, removal
// and running, and the directory history (" Directory History ").
#pragma once

#include "base/strings/Westring.h"

class CPanel;

// 0 nothing chosen; 1 the chosen command was put into the command line for
// editing (its length into the cursor); 2 it was run for the panel side.
int ShowCommandHistory(int side, Westring& commandLine, int& cursor);
// The same for the active panel.
int ShowCommandHistory(Westring& commandLine, int& cursor);
// The chosen directory, or an empty text.
Westring PickDirectoryHistory();
// Sends the panel to a directory chosen from the directory history.
void GoToDirectoryHistory(CPanel* panel);
