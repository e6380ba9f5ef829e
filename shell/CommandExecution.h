// Running what the user typed on the command line, or what Enter means for the
// entry under the cursor; hiding the panels around an external program and
// bringing them back; the user menu; expanding %NAME% references.
#pragma once

#include "base/strings/Westring.h"
#include "shell/CommandMacros.h"
#include "shell/TempFiles.h"

class CPanel;

// Runs a command line, first adding it to the command history; with an empty
// line acts on the cursor entry of panels[side] (a directory is entered).
// flag: 1 for Shift+Enter.
void ExecuteCommandOrEntry(CPanel* panels, int side, const char32_t* command, int flag);
// Runs an expanded command line in the panel's directory; 0 on success.
int ExecuteCommandLine(const Westring& command, int side, int flag);
// false: hides the panel windows and the key bar before an external program.
// true (every main-loop pass): shows them again, redrawing a panel read since
// it was last drawn; the clock window goes first, so that the loop draws it
// anew with the current time.
void HideOrRestorePanels(bool restore);
// Shows the user menu and runs the chosen entry.
void UserMenuCommand(int side, bool mainMenu);
